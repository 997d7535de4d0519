// SPDX-License-Identifier: GPL-3.0-or-later
// The music generator: kw_gen_music OUTDIR FILE composes one tune, renders it as a seamless loop and
// encodes it to MP3 in OUTDIR.
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "Tunes.h"

int main(int argc, char** argv) {
    if (argc != 3) {
        std::cerr << "usage: kw_gen_music OUTDIR puzzle1.mp3|puzzle2.mp3|puzzle3.mp3|puzzlel.mp3|puzzlew.mp3\n";
        return 2;
    }
    try {
        const std::filesystem::path out = argv[1];
        std::filesystem::create_directories(out);
        const gen::Song song = gen::ComposeTune(argv[2]);
        gen::WriteMp3(out / argv[2], gen::RenderLoop(song));
    } catch (const std::exception& e) {
        std::cerr << "kw_gen_music: " << e.what() << "\n";
        return 1;
    }
    return 0;
}
