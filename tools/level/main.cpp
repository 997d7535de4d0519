// SPDX-License-Identifier: GPL-3.0-or-later
// kindlewisp-level check [--play N] [--game-dir DIR] FILE...: every problem of each level file,
// as a compiler reports them, and with --play the share of N casual games won.
#include <cstdio>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "base/RuntimeError.h"
#include "game/LevelCheck.h"
#include "game/LevelFile.h"
#include "play/LevelTrial.h"
#include "shell/CommandLine.h"
#include "shell/modMain.h"

namespace {

namespace fs = std::filesystem;

constexpr ProgramUsage kUsage{
    "kindlewisp-level",
    "Usage: kindlewisp-level check [--play N] [--player NAME] [--game-dir DIR] FILE...\n"
    "Checks each level file as the game reads it and names every problem where it stands.\n\n"
    "  --play N        Also play each level N times (1 to 100000) with a simple casual player.\n"
    "  --player NAME   Who plays: casual (the default) or distracted (slower, and one shot in\n"
    "                  five goes to a random column).\n"
    "  --game-dir DIR  The game folder whose override pictures count (default: the game's).\n"};

std::string Seconds(int32_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", ms / 1000.0);
    return text;
}

void ReportPlay(const std::string& name, const fs::path& file, int32_t runs, const PlayerProfile& player) {
    try {
        ReadLevelFile(file, true);
    } catch (const RuntimeError&) {
        std::cout << name << ": not played: the game cannot read it\n";
        return;
    }
    TrialOptions options;
    options.player = player;
    const TrialSummary summary = PlayLevelTrials(file, runs, options);
    std::cout << name << ": won " << summary.Won() << " of " << runs << " runs (" << summary.Won() * 100 / runs
              << " %)";  // rounded down: 199 of 200 is not 100 %
    if (const auto median = summary.MedianWinMs()) std::cout << "; median time to win " << Seconds(*median);
    // Only a stack under the dragon loses; one beside it may rise past the dragon's underside.
    if (const auto margin = summary.TightestWonMargin(); margin && *margin >= 0)
        std::cout << "; tightest margin " << *margin << " px above the dragon";
    else if (margin)
        std::cout << "; tightest margin: a stack beside the dragon rose " << -*margin << " px past its underside";
    if (const int32_t undecided = runs - summary.Won() - summary.Lost(); undecided > 0)
        std::cout << "; " << undecided << " still undecided after 20 minutes";
    std::cout << "\n";
}

}  // namespace

int main(int argc, char** argv) {
    if (argc > 1)
        if (const auto exitCode = kUsage.AnswerHelpOrVersion(argv[1])) return *exitCode;
    if (argc < 2) return kUsage.Error("no command: the only command is check");
    if (std::string(argv[1]) != "check")
        return kUsage.Error("unknown command '" + std::string(argv[1]) + "': the only command is check");
    int32_t runs = 0;
    const PlayerProfile* player = &PlayerProfiles::Casual;
    fs::path gameDir;
    std::vector<std::string> files;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (const auto exitCode = kUsage.AnswerHelpOrVersion(arg)) return *exitCode;
        if (arg == "--play") {
            const std::string count = i + 1 < argc ? argv[++i] : "";
            const auto parsed = ParseCount(count, 1, 100000);
            if (!parsed) return kUsage.Error("--play takes a number of runs from 1 to 100000, not '" + count + "'");
            runs = *parsed;
        } else if (arg == "--player") {
            const std::string name = i + 1 < argc ? argv[++i] : "";
            player = PlayerProfiles::Find(name);
            if (!player) return kUsage.Error("--player takes casual or distracted, not '" + name + "'");
        } else if (arg == "--game-dir") {
            if (i + 1 == argc) return kUsage.Error("--game-dir needs a folder");
            gameDir = argv[++i];
        } else if (arg.size() > 1 && arg[0] == '-') {
            return kUsage.Error("unknown option '" + arg + "'");
        } else {
            files.push_back(arg);
        }
    }
    if (files.empty()) return kUsage.Error("no level file given");
    if (gameDir.empty()) {
        // The player's override pictures count; without a folder of theirs, only the shipped ones.
        try {
            gameDir = FindGameFolders().program;
        } catch (const RuntimeError&) {
            gameDir = ExecutableFolder();
        }
    }

    bool errors = false;
    for (const std::string& name : files) {
        // The tutorial's file has no clouds line, and its play is the lessons'.
        const bool tutorial = fs::path(name).filename() == "tutorial.dat";
        const LevelProblems problems = CheckLevelFile(name, !tutorial, GamePictures(gameDir));
        for (const LevelProblem& problem : problems) std::cout << FormatProblem(name, problem) << "\n";
        errors |= HasErrors(problems);
        if (runs > 0 && tutorial) std::cout << name << ": not played: the tutorial is played by its lessons\n";
        if (runs > 0 && !tutorial) ReportPlay(name, name, runs, *player);
    }
    return errors ? 1 : 0;
}
