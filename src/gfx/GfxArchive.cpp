// SPDX-License-Identifier: GPL-3.0-or-later
// Unpacking the password-protected asset archives (libzip, AES-256 entries) into the working
// folder, or several at once into folders of their own. Every entry is read to its end and checked before it is moved
// into place, and no archive, however made, can write more than the limits below or over a file the game keeps.
#include <unistd.h>
#include <zip.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <memory>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "gfx/Gfx.h"
#include "gfx/GfxFile.h"
#include "gfx/GfxImpl.h"

namespace {
// The largest asset is well under a megabyte and no picture the game can use decodes to more
// than 64 MB; these keep a small hostile archive from filling the disk at every start.
constexpr zip_uint64_t MaxEntryBytes = 64ull << 20;
constexpr zip_uint64_t MaxArchiveBytes = 256ull << 20;
constexpr zip_int64_t MaxEntries = 4096;

// Files the game keeps beside the unpacked ones; an entry of such a name (or a temporary or
// backup copy of one) would overwrite them or be deleted with them.
constexpr std::array<const char*, 7> ReservedNames{"kwgfx.pak",  "kwlvl.pak",  "kwsfx.pak",      "game.dat",
                                                   "scores.dat", "errors.log", "kindlewisp.lock"};

struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};
using ZipPtr = std::unique_ptr<zip_t, ZipCloser>;

uint32_t Crc32(uint32_t crc, const unsigned char* data, size_t size) {
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    crc = ~crc;
    for (size_t i = 0; i < size; ++i) crc = table[(crc ^ data[i]) & 0xFFu] ^ (crc >> 8);
    return ~crc;
}

std::string Lower(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

// Entry names may only name places below the target folder, and never a file the game keeps.
bool IsSafeName(const std::string& name) {
    if (name.empty() || name[0] == '/' || name[0] == '\\') return false;
    if (name.size() >= 2 && name[1] == ':') return false;
    if (name.find('\0') != std::string::npos) return false;
    size_t start = 0;
    std::string last;
    while (start <= name.size()) {
        size_t end = name.find_first_of("/\\", start);
        if (end == std::string::npos) end = name.size();
        if (name.compare(start, end - start, "..") == 0 && end - start == 2) return false;
        if (end > start) last = Lower(name.substr(start, end - start));
        start = end + 1;
    }
    for (const char* reserved : ReservedNames)
        if (last.rfind(reserved, 0) == 0 &&
            (last.size() == std::strlen(reserved) || last[std::strlen(reserved)] == '.'))
            return false;
    return last.size() < std::strlen(GfxArchive::PartSuffix) || !last.ends_with(GfxArchive::PartSuffix);
}

// 7-Zip writes every AES entry in WinZip's second format, whose CRC field is always 0; libzip
// takes that 0 as the CRC of entries of 20 bytes or more and fails them at their end. Their
// guard is the AES authentication code instead, which libzip checks only on a full read. So the
// entry is read once more from a copy of the archive whose directory holds the CRC the data
// was found to have: a clean read then proves the authentication code, and the data with it.
class SecondFormatCheck final {
public:
    explicit SecondFormatCheck(std::filesystem::path archive) : m_Archive(std::move(archive)) {}

    bool Authentic(zip_uint64_t index, uint32_t crc, const std::string& password) {
        if (!m_Loaded) Load();
        const auto at = CrcOffset(index);
        if (!at) return false;
        // Patched in place for this read only; the buffer source reads the bytes without copying.
        std::string saved = m_Bytes.substr(*at, 4);
        for (size_t i = 0; i < 4; ++i) m_Bytes[*at + i] = static_cast<char>(crc >> (8 * i));
        const bool authentic = ReadsCleanly(index, password);
        m_Bytes.replace(*at, 4, saved);
        return authentic;
    }

private:
    bool ReadsCleanly(zip_uint64_t index, const std::string& password) {
        zip_error_t error;
        zip_error_init(&error);
        zip_source_t* source = zip_source_buffer_create(m_Bytes.data(), m_Bytes.size(), 0, &error);
        ZipPtr patched(source ? zip_open_from_source(source, ZIP_RDONLY, &error) : nullptr);
        if (source && !patched) zip_source_free(source);
        zip_error_fini(&error);
        if (!patched) return false;
        std::unique_ptr<zip_file_t, ZipCloser> in(
            zip_fopen_index_encrypted(patched.get(), index, 0, password.empty() ? nullptr : password.c_str()));
        if (!in) return false;
        std::vector<char> buffer(64 * 1024);
        zip_int64_t n = 0;
        while ((n = zip_fread(in.get(), buffer.data(), buffer.size())) > 0) {
        }
        return n == 0;
    }

    void Load() {
        m_Loaded = true;
        const auto read = GfxFile::ReadBounded(m_Archive, MaxArchiveBytes);
        if (read.status == GfxFile::ReadStatus::Read && !read.truncated) m_Bytes = read.bytes;
    }

    uint32_t Field(size_t at, int bytes) const {
        uint32_t value = 0;
        for (int i = bytes - 1; i >= 0; --i) value = value << 8 | static_cast<unsigned char>(m_Bytes[at + i]);
        return value;
    }

    // Where the central directory keeps the CRC of entry `index` (archives without zip64 only).
    std::optional<size_t> CrcOffset(zip_uint64_t index) const {
        constexpr size_t EndRecord = 22;
        if (m_Bytes.size() < EndRecord) return std::nullopt;
        size_t end = m_Bytes.size() - EndRecord;
        const size_t lowest = end > 0xFFFF ? end - 0xFFFF : 0;
        while (Field(end, 4) != 0x06054b50u) {
            if (end == lowest) return std::nullopt;
            --end;
        }
        size_t at = Field(end + 16, 4);
        for (zip_uint64_t i = 0;; ++i) {
            if (at + 46 > end || Field(at, 4) != 0x02014b50u) return std::nullopt;
            if (i == index) return at + 16;
            at += 46 + Field(at + 28, 2) + Field(at + 30, 2) + Field(at + 32, 2);
        }
    }

    std::filesystem::path m_Archive;
    bool m_Loaded = false;
    std::string m_Bytes;  // the whole archive, once an entry needs it
};

enum class EntryResult { Extracted, Failed, SecondFormat };

// Streams one entry into `temp` with the given password; `crc` receives the data's own CRC.
EntryResult ExtractEntry(zip_t* archive, zip_uint64_t index, const zip_stat_t& st, const std::string& password,
                         const std::filesystem::path& temp, zip_uint64_t allowance, uint32_t& crc, zip_uint64_t& total,
                         int& writeError) {
    crc = 0;
    total = 0;
    std::unique_ptr<zip_file_t, ZipCloser> in(
        zip_fopen_index_encrypted(archive, index, 0, password.empty() ? nullptr : password.c_str()));
    if (!in) return EntryResult::Failed;
    // Never through a link planted at the temporary name, nor into a file left there.
    const int fd = GfxFile::CreateExclusive(temp);
    std::FILE* out = fd >= 0 ? ::fdopen(fd, "wb") : nullptr;
    if (!out) {
        writeError = errno;
        if (fd >= 0) ::close(fd);
        return EntryResult::Failed;
    }
    std::vector<unsigned char> buffer(64 * 1024);
    bool ok = true;
    bool crcOnly = false;  // everything read, and only libzip's CRC comparison failed at the end
    for (;;) {
        const zip_int64_t n = zip_fread(in.get(), buffer.data(), buffer.size());
        if (n < 0) {
            crcOnly = zip_error_code_zip(zip_file_get_error(in.get())) == ZIP_ER_CRC && total == st.size;
            ok = false;
            break;
        }
        if (n == 0) break;
        crc = Crc32(crc, buffer.data(), static_cast<size_t>(n));
        total += static_cast<zip_uint64_t>(n);
        // The declared size may lie: the data itself is held to the limits too.
        if (total > allowance) {
            ok = false;
            break;
        }
        if (std::fwrite(buffer.data(), 1, static_cast<size_t>(n), out) != static_cast<size_t>(n)) {
            writeError = errno;
            ok = false;
            break;
        }
    }
    if (std::fflush(out) != 0) {
        writeError = errno;
        ok = false;
    }
    const bool closed = std::fclose(out) == 0;
    if (!closed) writeError = errno;
    in.reset();
    const bool hasCrc = (st.valid & ZIP_STAT_CRC) != 0;
    const bool secondFormat = st.encryption_method != ZIP_EM_NONE && (!hasCrc || st.crc == 0);
    if (!ok && closed && crcOnly && secondFormat) return EntryResult::SecondFormat;
    if (!ok || !closed || total != st.size) return EntryResult::Failed;
    // Second-format entries below 20 bytes: libzip skips their CRC, their code guarded the read.
    if (!secondFormat && (!hasCrc || crc != st.crc)) return EntryResult::Failed;
    return EntryResult::Extracted;
}
}  // namespace

bool GfxArchive::ExtractArchive(const std::string& file, const std::string& password1, const std::string& password2,
                                int32_t, const std::string&, std::vector<std::filesystem::path>* written) {
    return ExtractInto(m_Engine->Resolve(file), m_Engine->GetWorkingFolder(), password1, password2, written, nullptr);
}

bool GfxArchive::ExtractArchives(const std::vector<Unpacking>& archives, const std::string& password1,
                                 const std::string& password2, std::vector<std::filesystem::path>* written,
                                 int* writeError) {
    // Most of the time goes into deriving each entry's key, and the archives differ in how many
    // entries they hold: each gets a thread of its own and the system shares the cores among
    // them. The threads share nothing; each keeps its own list of files.
    std::vector<std::vector<std::filesystem::path>> lists(archives.size());
    std::vector<char> good(archives.size(), 0);
    std::vector<int> errors(archives.size(), 0);
    const auto unpack = [&](size_t i) {
        try {
            good[i] = ExtractInto(m_Engine->Resolve(archives[i].file), m_Engine->Resolve(archives[i].folder), password1,
                                  password2, &lists[i], &errors[i]);
        } catch (const std::exception&) {
            good[i] = 0;  // out of memory, say: that archive failed, the others go on
        }
    };
    std::vector<std::thread> workers;
    std::vector<size_t> left;  // no thread to be had: unpacked on this one
    for (size_t i = 1; i < archives.size(); ++i) {
        try {
            workers.emplace_back(unpack, i);
        } catch (const std::system_error&) {
            left.push_back(i);
        }
    }
    if (!archives.empty()) unpack(0);
    for (const size_t i : left) unpack(i);
    for (std::thread& worker : workers) worker.join();
    if (written)
        for (const auto& list : lists) written->insert(written->end(), list.begin(), list.end());
    if (writeError)
        for (const int error : errors)
            if (error != 0 && *writeError == 0) *writeError = error;
    return std::all_of(good.begin(), good.end(), [](char ok) { return ok != 0; });
}

bool GfxArchive::ExtractInto(const std::filesystem::path& archivePath, const std::filesystem::path& folder,
                             const std::string& password1, const std::string& password2,
                             std::vector<std::filesystem::path>* written, int* writeError) const {
    int error = 0;
    ZipPtr archive(zip_open(archivePath.string().c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!archive) return false;
    SecondFormatCheck secondFormat(archivePath);
    const auto note = [written](const std::filesystem::path& path) {
        if (written) written->push_back(path);
    };
    bool allGood = true;
    zip_uint64_t budget = MaxArchiveBytes;
    const zip_int64_t count = std::min(zip_get_num_entries(archive.get(), 0), MaxEntries);
    if (zip_get_num_entries(archive.get(), 0) > MaxEntries) allGood = false;
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t st;
        zip_stat_init(&st);
        const zip_uint64_t needed = ZIP_STAT_NAME | ZIP_STAT_SIZE | ZIP_STAT_ENCRYPTION_METHOD;
        if (zip_stat_index(archive.get(), index, 0, &st) != 0 || (st.valid & needed) != needed) {
            allGood = false;
            continue;
        }
        const std::string name = st.name;
        if (!IsSafeName(name) || st.size > std::min(MaxEntryBytes, budget)) {
            allGood = false;
            continue;
        }
        std::string native = name;
        std::replace(native.begin(), native.end(), '\\', '/');
        const std::filesystem::path target = (folder / native).make_preferred();
        std::error_code ec;
        // Folders the archive creates are recorded, top first, so they can go again after their files.
        const auto makeFolders = [&](const std::filesystem::path& folder) {
            std::vector<std::filesystem::path> missing;
            for (auto p = folder; !p.empty() && !std::filesystem::exists(p, ec); p = p.parent_path()) {
                missing.push_back(p);
                if (p == p.parent_path()) break;
            }
            std::filesystem::create_directories(folder, ec);
            if (!ec)
                for (auto it = missing.rbegin(); it != missing.rend(); ++it) note(*it);
            return !ec;
        };
        if (name.back() == '/' || name.back() == '\\') {
            if (!makeFolders(target)) allGood = false;
            continue;
        }
        makeFolders(target.parent_path());
        std::filesystem::path temp = target;
        temp += GfxArchive::PartSuffix;
        bool done = false;
        int entryWriteError = 0;
        for (const std::string* password : {&password1, &password2}) {
            uint32_t crc = 0;
            zip_uint64_t total = 0;
            const EntryResult result = ExtractEntry(archive.get(), index, st, *password, temp,
                                                    std::min(MaxEntryBytes, budget), crc, total, entryWriteError);
            done = result == EntryResult::Extracted ||
                   (result == EntryResult::SecondFormat && secondFormat.Authentic(index, crc, *password));
            if (done) break;
            std::filesystem::remove(temp, ec);
        }
        if (done) {
            std::filesystem::rename(temp, target, ec);
            if (ec) {
                std::filesystem::remove(temp, ec);
                done = false;
            } else {
                budget -= st.size;
                note(target);
            }
        }
        if (!done) allGood = false;
        if (!done && entryWriteError != 0 && writeError && *writeError == 0) *writeError = entryWriteError;
    }
    return allGood;
}
