// SPDX-License-Identifier: GPL-3.0-or-later
// Builds the game's password-protected asset archives (zip, AES-256 entries, bare entry names) and
// reads them back in full for checks. Holds no state; every call opens and closes its archive.
#pragma once

#include <filesystem>
#include <map>
#include <string>
#include <vector>

class GfxPacker final {
public:
    // Packs the files under their bare names into `archive`, each entry encrypted with AES-256 under
    // `password`. The archive is written beside its final place and renamed over it, so a failed run
    // never leaves a half-written archive. Throws std::runtime_error on any failure, including two
    // files with the same name.
    static void PackArchive(const std::filesystem::path& archive, const std::vector<std::filesystem::path>& files,
                            const std::string& password);

    // Reads every entry to its end under `password` (checking each entry's CRC) and answers name ->
    // contents. Throws std::runtime_error when the archive cannot be opened or any entry cannot be
    // read, which is what a wrong or missing password gives.
    static std::map<std::string, std::string> ReadArchive(const std::filesystem::path& archive,
                                                          const std::string& password);
};
