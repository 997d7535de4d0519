// SPDX-License-Identifier: GPL-3.0-or-later
// What the fuzz targets share: the libFuzzer entry point and a scratch folder of their own for
// the readers that take a path.
#pragma once

#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size);

namespace fuzz {

// A fresh folder for this process, removed again when it exits.
inline const std::filesystem::path& Scratch(const char* name) {
    static const std::filesystem::path folder = [name] {
        // In memory where there is such a folder: the saves flush to disk, which a disk makes slow.
        const std::filesystem::path base =
            std::filesystem::is_directory("/dev/shm") ? "/dev/shm" : std::filesystem::temp_directory_path();
        auto path = base / ("kw-fuzz-" + std::string(name) + "-" + std::to_string(::getpid()));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        static const std::filesystem::path forRemoval = path;
        std::atexit([] {
            std::error_code ec;
            std::filesystem::remove_all(forRemoval, ec);
        });
        return path;
    }();
    return folder;
}

inline void WriteFile(const std::filesystem::path& path, const uint8_t* data, size_t size) {
    std::ofstream(path, std::ios::binary | std::ios::trunc)
        .write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(size));
}

// A broken promise of a reader: libFuzzer and the corpus run both report the crash.
inline void Check(bool holds) {
    if (!holds) std::abort();
}

}  // namespace fuzz
