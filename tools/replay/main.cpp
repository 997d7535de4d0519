// SPDX-License-Identifier: GPL-3.0-or-later
// kindlewisp-replay [--game-dir DIR] [--out DIR] SCRIPT: plays the game headless from a script.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "Replay.h"
#include "base/Globals.h"
#include "ui/GameStates.h"

namespace {
int Usage(const std::string& problem) {
    std::cerr
        << "kindlewisp-replay: " << problem << "\n"
        << "usage: kindlewisp-replay [--game-dir DIR] [--out DIR] SCRIPT   (SCRIPT may be - for standard input)\n";
    return 2;
}
}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path gameDir = KW_DEFAULT_GAME_DIR;
    std::filesystem::path outDir = ".";
    std::string scriptPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if ((arg == "--game-dir" || arg == "--out") && i + 1 < argc) {
            (arg == "--out" ? outDir : gameDir) = argv[++i];
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return Usage("unknown option " + arg);
        } else if (scriptPath.empty()) {
            scriptPath = arg;
        } else {
            return Usage("only one script");
        }
    }
    if (scriptPath.empty()) return Usage("no script given");
    std::error_code ec;
    if (!std::filesystem::is_directory(gameDir, ec)) return Usage("no game folder at " + gameDir.string());
    std::filesystem::create_directories(outDir, ec);
    if (!std::filesystem::is_directory(outDir, ec)) return Usage("cannot create the output folder " + outDir.string());

    std::ifstream file;
    if (scriptPath != "-") {
        file.open(scriptPath);
        if (!file) return Usage("cannot read the script " + scriptPath);
    }
    // Absolute, since the game's library resolves relative paths against the game folder.
    gProgramFolder = std::filesystem::absolute(gameDir);
    outDir = std::filesystem::absolute(outDir);
    RegisterGameStates();
    Replay replay(scriptPath == "-" ? std::cin : file, scriptPath == "-", outDir, std::cout);
    return replay.Run();
}
