// SPDX-License-Identifier: GPL-3.0-or-later
// kindlewisp-level check [--play N] [--player NAME] [--game-dir DIR] FILE...: every problem of each
// level file, as a compiler reports them, and with --play the share of N games won.
// kindlewisp-level generate [--seed S] [--board N] [--out FILE]: an endless board, proven, as a
// level file. The endless mode runs it as its worker: exit 0 with FILE complete, else non-zero and
// one line on standard error.
#include <cstdio>
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>
#include <vector>

#include "base/RuntimeError.h"
#include "game/LevelCheck.h"
#include "game/LevelFile.h"
#include "game/LevelGenerator.h"
#include "gfx/GfxFile.h"
#include "play/EndlessBoard.h"
#include "play/LevelTrial.h"
#include "shell/CommandLine.h"
#include "shell/modMain.h"

namespace {

namespace fs = std::filesystem;

constexpr ProgramUsage kUsage{
    "kindlewisp-level",
    "Usage: kindlewisp-level check [--play N] [--player NAME] [--game-dir DIR] FILE...\n"
    "       kindlewisp-level generate [--seed S] [--board N] [--out FILE]\n"
    "check: checks each level file as the game reads it and names every problem where it stands.\n"
    "generate: writes board N of the endless run of seed S as a level file, once the checker finds\n"
    "no error in it and a casual player has won it in at least 10 of 20 runs.\n\n"
    "  --play N        Also play each level N times (1 to 100000) with a simple casual player.\n"
    "  --player NAME   Who plays: casual (the default) or distracted (slower, and one shot in\n"
    "                  five goes to a random column).\n"
    "  --game-dir DIR  The game folder whose override pictures count (default: the game's).\n"
    "  --seed S        The run's seed, 0 to 4294967295 (default 0).\n"
    "  --board N       The board number, 1 to 1000000 (default 1).\n"
    "  --out FILE      Where the level goes (default: endless-S-N.dat here).\n"};

std::string Seconds(int32_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", ms / 1000.0);
    return text;
}

// "won W of N runs (P %); median time to win ...; tightest margin ..."
std::string DescribePlay(const TrialSummary& summary) {
    const auto runs = static_cast<int32_t>(summary.runs.size());
    std::string text = "won " + std::to_string(summary.Won()) + " of " + std::to_string(runs) + " runs (" +
                       std::to_string(summary.Won() * 100 / runs) + " %)";  // rounded down: 199 of 200 is not 100 %
    if (const auto median = summary.MedianWinMs()) text += "; median time to win " + Seconds(*median);
    // Only a stack under the dragon loses; one beside it may rise past the dragon's underside.
    if (const auto margin = summary.TightestWonMargin(); margin && *margin >= 0)
        text += "; tightest margin " + std::to_string(*margin) + " px above the dragon";
    else if (margin)
        text +=
            "; tightest margin: a stack beside the dragon rose " + std::to_string(-*margin) + " px past its underside";
    if (const int32_t undecided = runs - summary.Won() - summary.Lost(); undecided > 0)
        text += "; " + std::to_string(undecided) + " still undecided after 20 minutes";
    return text;
}

void ReportPlay(const std::string& name, int32_t runs, const PlayerProfile& player) {
    try {
        ReadLevelFile(name, true);
    } catch (const RuntimeError&) {
        std::cout << name << ": not played: the game cannot read it\n";
        return;
    }
    TrialOptions options;
    options.player = player;
    std::cout << name << ": " << DescribePlay(PlayLevelTrials(fs::path(name), runs, options)) << "\n";
}

// The value after an option, or "" when the command line ends there.
std::string OptionValue(int argc, char** argv, int& i) { return i + 1 < argc ? argv[++i] : ""; }

int Check(int argc, char** argv) {
    int32_t runs = 0;
    const PlayerProfile* player = &PlayerProfiles::Casual;
    fs::path gameDir;
    std::vector<std::string> files;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--play") {
            const std::string count = OptionValue(argc, argv, i);
            const auto parsed = ParseCount(count, 1, 100000);
            if (!parsed) return kUsage.Error("--play takes a number of runs from 1 to 100000, not '" + count + "'");
            runs = *parsed;
        } else if (arg == "--player") {
            const std::string name = OptionValue(argc, argv, i);
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
        if (runs > 0 && !tutorial) ReportPlay(name, runs, *player);
    }
    return errors ? 1 : 0;
}

int Generate(int argc, char** argv) {
    uint32_t seed = 0;
    int32_t board = 1;
    std::string out;
    for (int i = 2; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--seed") {
            const std::string text = OptionValue(argc, argv, i);
            const auto parsed = ParseSeed(text);
            if (!parsed) return kUsage.Error("--seed takes a number from 0 to 4294967295, not '" + text + "'");
            seed = *parsed;
        } else if (arg == "--board") {
            const std::string text = OptionValue(argc, argv, i);
            const auto parsed = ParseCount(text, 1, EndlessBoards::MaxBoard);
            if (!parsed) return kUsage.Error("--board takes a number from 1 to 1000000, not '" + text + "'");
            board = *parsed;
        } else if (arg == "--out") {
            if (i + 1 == argc) return kUsage.Error("--out needs a file");
            out = argv[++i];
        } else {
            return kUsage.Error("unknown option '" + arg + "'");
        }
    }
    if (out.empty()) out = "endless-" + std::to_string(seed) + "-" + std::to_string(board) + ".dat";

    std::optional<ProvenBoard> proven;
    try {
        proven =
            GenerateProvenBoard(seed, board, [](const std::string& note) { std::cout << "note: " << note << "\n"; });
    } catch (const std::exception& error) {
        std::cerr << "kindlewisp-level: board " << board << " of seed " << seed << " failed: " << error.what() << "\n";
        return 1;
    }
    if (!proven) {
        std::cerr << "kindlewisp-level: no design of board " << board << " of seed " << seed
                  << " could be proven winnable, not even the easiest\n";
        return 1;
    }
    if (!GfxFile::WriteAtomically(out, proven->text)) {
        std::cerr << "kindlewisp-level: cannot write " << out << "\n";
        return 1;
    }
    std::cout << out << ": board " << board << " of seed " << seed << ": " << DescribePlay(proven->proof);
    if (proven->difficultyOf < std::min(board, EndlessBoards::HardestBoard))
        std::cout << "; eased to the difficulty of board " << proven->difficultyOf;
    std::cout << "\n";
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        if (const auto exitCode = kUsage.AnswerHelpOrVersion(argv[i])) return *exitCode;
    const std::string command = argc > 1 ? argv[1] : "";
    if (command == "check") return Check(argc, argv);
    if (command == "generate") return Generate(argc, argv);
    if (command.empty()) return kUsage.Error("no command: the commands are check and generate");
    return kUsage.Error("unknown command '" + command + "': the commands are check and generate");
}
