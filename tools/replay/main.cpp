// SPDX-License-Identifier: GPL-3.0-or-later
// kindlewisp-replay [--game-dir DIR] [--out DIR] SCRIPT: plays the game headless from a script.
#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>

#include "Replay.h"
#include "base/Globals.h"
#include "gfx/Script.h"
#include "shell/CommandLine.h"
#include "ui/GameStates.h"

namespace {
constexpr ProgramUsage kUsage{"kindlewisp-replay",
                              "Usage: kindlewisp-replay [--game-dir DIR] [--out DIR] SCRIPT\n"
                              "Plays the game headless from a script (SCRIPT may be - for standard input).\n\n"
                              "  --game-dir DIR  The game folder to run in (default: the build's).\n"
                              "  --out DIR       Where screenshots and reports go (default: the current folder).\n"};

int Usage(const std::string& problem) { return kUsage.Error(problem); }
}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path gameDir = KW_DEFAULT_GAME_DIR;
    std::filesystem::path outDir = ".";
    std::string scriptPath;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (const auto exitCode = kUsage.AnswerHelpOrVersion(arg)) return *exitCode;
        if (arg == "--game-dir" || arg == "--out") {
            if (i + 1 == argc) return Usage(arg + " needs a folder");
            (arg == "--out" ? outDir : gameDir) = argv[++i];
        } else if (arg.size() > 1 && arg[0] == '-' && arg != "-") {
            return Usage("unknown option '" + arg + "'");
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
        // Only a plain file of bounded size: a device or a folder would read as an endless or an
        // empty script, and neither is a run to report as done.
        std::string problem = ScriptFileProblem(scriptPath);
        if (problem.empty()) file.open(scriptPath, std::ios::binary);
        if (problem.empty() && !file) problem = "it cannot be opened";
        if (!problem.empty()) {
            std::cerr << "kindlewisp-replay: cannot read the script " << scriptPath << ": " << problem << '\n';
            return 2;
        }
    }
    // Absolute, since the game's library resolves relative paths against the game folder.
    gProgramFolder = std::filesystem::absolute(gameDir);
    outDir = std::filesystem::absolute(outDir);
    RegisterGameStates();
    Replay replay(scriptPath == "-" ? std::cin : file, scriptPath == "-", scriptPath, outDir, std::cout);
    return replay.Run();
}
