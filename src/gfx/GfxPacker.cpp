// SPDX-License-Identifier: GPL-3.0-or-later
// Builds and reads the game's password-protected asset archives with libzip.
#include "gfx/GfxPacker.h"

#include <zip.h>

#include <memory>
#include <set>
#include <stdexcept>
#include <system_error>

namespace {

std::string ZipMessage(int code) {
    zip_error_t error;
    zip_error_init_with_code(&error, code);
    std::string text = zip_error_strerror(&error);
    zip_error_fini(&error);
    return text;
}

// Pictures and tunes are compressed already; deflating them again only costs build time.
bool IsCompressed(const std::filesystem::path& file) {
    const std::string ext = file.extension().string();
    return ext == ".png" || ext == ".mp3" || ext == ".PNG" || ext == ".MP3";
}

struct ArchiveCloser {
    void operator()(zip_t* z) const { zip_discard(z); }
};
struct FileCloser {
    void operator()(zip_file_t* f) const { zip_fclose(f); }
};

}  // namespace

void GfxPacker::PackArchive(const std::filesystem::path& archive, const std::vector<std::filesystem::path>& files,
                            const std::string& password) {
    if (!zip_encryption_method_supported(ZIP_EM_AES_256, 1))
        throw std::runtime_error("this libzip cannot write AES-256 entries");
    std::set<std::string> names;
    for (const auto& file : files) {
        if (!std::filesystem::is_regular_file(file)) throw std::runtime_error("no such file to pack: " + file.string());
        if (!names.insert(file.filename().string()).second)
            throw std::runtime_error("two files named " + file.filename().string() + " for " + archive.string());
    }
    if (archive.has_parent_path()) std::filesystem::create_directories(archive.parent_path());
    const std::filesystem::path temp = archive.string() + ".part";
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);

    int code = 0;
    zip_t* raw = zip_open(temp.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &code);
    if (!raw) throw std::runtime_error("cannot create " + temp.string() + ": " + ZipMessage(code));
    std::unique_ptr<zip_t, ArchiveCloser> zip(raw);
    for (const auto& file : files) {
        const std::string name = file.filename().string();
        zip_source_t* source = zip_source_file(zip.get(), file.c_str(), 0, -1);
        if (!source) throw std::runtime_error("cannot read " + file.string() + ": " + zip_strerror(zip.get()));
        const zip_int64_t index = zip_file_add(zip.get(), name.c_str(), source, ZIP_FL_ENC_UTF_8);
        if (index < 0) {
            zip_source_free(source);
            throw std::runtime_error("cannot add " + name + ": " + zip_strerror(zip.get()));
        }
        const auto entry = static_cast<zip_uint64_t>(index);
        if (zip_set_file_compression(zip.get(), entry, IsCompressed(file) ? ZIP_CM_STORE : ZIP_CM_DEFLATE, 0) < 0 ||
            zip_file_set_encryption(zip.get(), entry, ZIP_EM_AES_256, password.c_str()) < 0 ||
            zip_file_set_mtime(zip.get(), entry, 946684800, 0) < 0)  // fixed date: builds differ only by salt
            throw std::runtime_error("cannot set up " + name + ": " + zip_strerror(zip.get()));
    }
    if (zip_close(zip.get()) < 0) {
        const std::string why = zip_strerror(zip.get());
        std::filesystem::remove(temp, ignored);
        throw std::runtime_error("cannot write " + archive.string() + ": " + why);
    }
    static_cast<void>(zip.release());  // zip_close freed it
    std::filesystem::rename(temp, archive);
}

std::map<std::string, std::string> GfxPacker::ReadArchive(const std::filesystem::path& archive,
                                                          const std::string& password) {
    int code = 0;
    zip_t* raw = zip_open(archive.c_str(), ZIP_RDONLY | ZIP_CHECKCONS, &code);
    if (!raw) throw std::runtime_error("cannot open " + archive.string() + ": " + ZipMessage(code));
    std::unique_ptr<zip_t, ArchiveCloser> zip(raw);
    std::map<std::string, std::string> entries;
    const zip_int64_t count = zip_get_num_entries(zip.get(), 0);
    for (zip_int64_t i = 0; i < count; ++i) {
        const auto index = static_cast<zip_uint64_t>(i);
        zip_stat_t stat;
        if (zip_stat_index(zip.get(), index, 0, &stat) < 0 || !(stat.valid & ZIP_STAT_NAME) ||
            !(stat.valid & ZIP_STAT_SIZE))
            throw std::runtime_error("cannot read entry " + std::to_string(i) + " of " + archive.string());
        std::unique_ptr<zip_file_t, FileCloser> file(
            zip_fopen_index_encrypted(zip.get(), index, 0, password.empty() ? nullptr : password.c_str()));
        if (!file) throw std::runtime_error("cannot open " + std::string(stat.name) + ": " + zip_strerror(zip.get()));
        std::string data(static_cast<size_t>(stat.size), '\0');
        zip_uint64_t done = 0;
        while (done < stat.size) {
            const zip_int64_t got = zip_fread(file.get(), data.data() + done, stat.size - done);
            if (got <= 0)
                throw std::runtime_error("cannot read " + std::string(stat.name) + ": " +
                                         zip_file_strerror(file.get()));
            done += static_cast<zip_uint64_t>(got);
        }
        // Reading past the end makes libzip check the CRC.
        char extra;
        if (zip_fread(file.get(), &extra, 1) != 0)
            throw std::runtime_error(std::string(stat.name) + " is damaged: " + zip_file_strerror(file.get()));
        entries.emplace(stat.name, std::move(data));
    }
    return entries;
}
