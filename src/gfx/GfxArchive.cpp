// Unpacking the password-protected asset archives (libzip, AES-256 entries) into the working
// folder. Every entry is read to its end and checked before it is moved into place.
#include <zip.h>

#include <array>
#include <cstdio>
#include <memory>
#include <system_error>
#include <vector>

#include "gfx/Gfx.h"
#include "gfx/GfxImpl.h"

namespace {
struct ZipCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

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

// Entry names may only name places below the target folder.
bool IsSafeName(const std::string& name) {
    if (name.empty() || name[0] == '/' || name[0] == '\\') return false;
    if (name.size() >= 2 && name[1] == ':') return false;
    if (name.find('\0') != std::string::npos) return false;
    size_t start = 0;
    while (start <= name.size()) {
        size_t end = name.find_first_of("/\\", start);
        if (end == std::string::npos) end = name.size();
        if (name.compare(start, end - start, "..") == 0 && end - start == 2) return false;
        start = end + 1;
    }
    return true;
}

// Streams one entry into `temp` with the given password; true when it was read whole and checked.
bool ExtractEntry(zip_t* archive, zip_uint64_t index, const zip_stat_t& st, const std::string& password,
                  const std::filesystem::path& temp) {
    std::unique_ptr<zip_file_t, ZipCloser> in(
        zip_fopen_index_encrypted(archive, index, 0, password.empty() ? nullptr : password.c_str()));
    if (!in) return false;
    std::FILE* out = std::fopen(temp.string().c_str(), "wb");
    if (!out) return false;
    std::vector<unsigned char> buffer(64 * 1024);
    uint32_t crc = 0;
    zip_uint64_t total = 0;
    bool ok = true;
    for (;;) {
        const zip_int64_t n = zip_fread(in.get(), buffer.data(), buffer.size());
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0) break;
        crc = Crc32(crc, buffer.data(), static_cast<size_t>(n));
        total += static_cast<zip_uint64_t>(n);
        if (std::fwrite(buffer.data(), 1, static_cast<size_t>(n), out) != static_cast<size_t>(n)) {
            ok = false;
            break;
        }
    }
    ok = std::fflush(out) == 0 && ok;
    ok = std::fclose(out) == 0 && ok;
    in.reset();
    if (ok && (st.valid & ZIP_STAT_SIZE) && total != st.size) ok = false;
    // AES entries of the second kind store no CRC (0); their own authentication code guards them.
    const bool hasCrc = (st.valid & ZIP_STAT_CRC) && !(st.encryption_method != ZIP_EM_NONE && st.crc == 0);
    if (ok && hasCrc && crc != st.crc) ok = false;
    return ok;
}
}  // namespace

bool GfxArchive::ExtractArchive(const std::string& file, const std::string& password1, const std::string& password2,
                                int32_t, const std::string&) {
    int error = 0;
    std::unique_ptr<zip_t, ZipCloser> archive(
        zip_open(m_Engine->Resolve(file).string().c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &error));
    if (!archive) return false;
    bool allGood = true;
    const zip_int64_t count = zip_get_num_entries(archive.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t st;
        zip_stat_init(&st);
        if (zip_stat_index(archive.get(), index, 0, &st) != 0 || !(st.valid & ZIP_STAT_NAME)) {
            allGood = false;
            continue;
        }
        const std::string name = st.name;
        if (!IsSafeName(name)) {
            allGood = false;
            continue;
        }
        const std::filesystem::path target = m_Engine->Resolve(name);
        std::error_code ec;
        if (name.back() == '/' || name.back() == '\\') {
            std::filesystem::create_directories(target, ec);
            if (ec) allGood = false;
            continue;
        }
        std::filesystem::create_directories(target.parent_path(), ec);
        std::filesystem::path temp = target;
        temp += ".kwpart";
        bool done = false;
        for (const std::string* password : {&password1, &password2}) {
            if (ExtractEntry(archive.get(), index, st, *password, temp)) {
                done = true;
                break;
            }
            std::filesystem::remove(temp, ec);
        }
        if (done) {
            std::filesystem::rename(temp, target, ec);
            if (ec) {
                std::filesystem::remove(temp, ec);
                done = false;
            }
        }
        if (!done) allGood = false;
    }
    return allGood;
}
