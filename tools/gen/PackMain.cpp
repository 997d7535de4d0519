// SPDX-License-Identifier: GPL-3.0-or-later
// The packer: kw_pack ARCHIVE PASSWORD FILE... puts the files, under their bare names, into a zip
// archive whose entries are AES-256 encrypted.
#include <exception>
#include <filesystem>
#include <iostream>
#include <vector>

#include "gfx/GfxPacker.h"

int main(int argc, char** argv) {
    if (argc < 4) {
        std::cerr << "usage: kw_pack ARCHIVE PASSWORD FILE...\n";
        return 2;
    }
    std::vector<std::filesystem::path> files(argv + 3, argv + argc);
    try {
        GfxPacker::PackArchive(argv[1], files, argv[2]);
    } catch (const std::exception& e) {
        std::cerr << "kw_pack: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
