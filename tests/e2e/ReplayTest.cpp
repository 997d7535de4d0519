// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end: the scripted runner plays the real program in a copy of a game folder, and the
// reports it dumps are compared with the expected ones beside each script (only the keys given).
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <nlohmann/json.hpp>
#include <string>
#include <utility>
#include <vector>

#include "support/GameFolder.h"

namespace fs = std::filesystem;
using nlohmann::json;

namespace {

using kwtest::ReadFile;
using kwtest::WriteFile;

// The game as it ships, with its settings and scores, in a folder removed with the test.
fs::path ShippedGame(const kwtest::GameFolder& game) {
    game.UseArchives();
    game.CopyShippedData();
    return game.Root();
}

struct RunResult {
    int exitCode = -1;
    std::string out, err;
};

// Runs the script from the game's root, which is also where the game and output folders are named
// from (and a script's command line names files); `feed` may pipe the commands in.
RunResult RunReplay(const fs::path& root, const std::string& script, const std::string& feed = "") {
    const std::string command = "cd '" + root.string() + "' && " + feed +
                                "SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy '" KW_REPLAY "' --game-dir . --out out '" +
                                script + "' > stdout.txt 2> stderr.txt";
    const int status = std::system(command.c_str());
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, ReadFile(root / "stdout.txt"), ReadFile(root / "stderr.txt")};
}

// Every key of `expected` must be in `actual` with an equal value; other keys are not compared.
void ExpectSubset(const json& expected, const json& actual, const std::string& where) {
    if (!expected.is_object()) {
        EXPECT_EQ(actual, expected) << where;
        return;
    }
    ASSERT_TRUE(actual.is_object()) << where << " is " << actual.dump();
    for (const auto& [key, value] : expected.items()) {
        ASSERT_TRUE(actual.contains(key)) << where << "." << key << " missing";
        ExpectSubset(value, actual[key], where + "." + key);
    }
}

class Scripts : public ::testing::TestWithParam<std::string> {};

TEST_P(Scripts, ReportsAndFilesMatchTheExpectedOnes) {
    const fs::path dir = fs::path(KW_SOURCE_DIR) / "tests" / "e2e";
    const json expected = json::parse(ReadFile(dir / (GetParam() + ".expected.json")));
    kwtest::GameFolder game;
    const fs::path root = ShippedGame(game);
    const json setup = expected.value("setup", json::object());
    for (const auto& [file, text] : setup.items()) WriteFile(root / "game" / "data" / file, text.get<std::string>());

    const RunResult run = RunReplay(root, (dir / (GetParam() + ".kws")).string());
    EXPECT_EQ(run.exitCode, expected.value("exit", 0)) << run.err;

    for (const auto& [name, report] : expected["reports"].items()) {
        const fs::path path = root / "out" / name;
        ASSERT_TRUE(fs::exists(path)) << name << " was not dumped\n" << run.err;
        ExpectSubset(report, json::parse(ReadFile(path)), name);
    }
    for (const auto& name : expected.value("missingReports", std::vector<std::string>{}))
        EXPECT_FALSE(fs::exists(root / "out" / name)) << name;
    const json files = expected.value("files", json::object());
    for (const auto& [file, text] : files.items()) EXPECT_EQ(ReadFile(root / file), text.get<std::string>()) << file;
    for (const auto& text : expected.value("logContains", std::vector<std::string>{}))
        EXPECT_NE(ReadFile(root / "game" / "errors.log").find(text), std::string::npos) << text;
    for (const auto& text : expected.value("stderrContains", std::vector<std::string>{}))
        EXPECT_NE(run.err.find(text), std::string::npos) << text << " not in\n" << run.err;
}

INSTANTIATE_TEST_SUITE_P(EndToEnd, Scripts,
                         ::testing::Values("title_exit", "broken_override", "play_last_level", "play_level_file",
                                           "level_file_refused", "tutorial_keyboard", "tutorial_gamepad", "long_pause",
                                           "options_from_pause"));

// A recording with a dump at `at`, before the first line past that time (the close, then the end).
std::string WithDump(std::string recording, uint64_t at, const std::string& name) {
    size_t line = 0;
    while (recording.compare(line, 4, "end ") != 0 &&
           (recording.compare(line, 3, "at ") != 0 || std::stoull(recording.substr(line + 3)) <= at))
        line = recording.find('\n', line) + 1;
    return recording.insert(line, "at " + std::to_string(at) + " dump " + name + "\n");
}

// A game of varying frame lengths (a stall among them, and a pause of two frames of 24 days that
// carries the run past the 32-bit clock's wrap), a start between two seconds, a click quicker than
// a frame and every kind of input, started from Level Select on level 2 of 2 unlocked with Left and
// Fire bound to keys of their own: recorded as it ran and replayed on a copy where 5 are unlocked
// and the keys are as they ship, it ends in the same state, and the copy's own files are left as
// they were.
TEST(Recording, ReplaysTheRecordedRunToTheSameStateFromTheSettingsItStartedWith) {
    kwtest::GameFolder playedGame, replayedGame;
    const fs::path played = ShippedGame(playedGame);
    const fs::path replayed = ShippedGame(replayedGame);
    WriteFile(played / "game" / "data" / "game.dat", "2\r\n80\r\n80\r\n");
    WriteFile(replayed / "game" / "data" / "game.dat", "5\r\n70\r\n60\r\n");
    WriteFile(played / "game" / "data" / "options.txt", "KeyLeft=a\r\nKeyFire=lctrl\r\n");
    WriteFile(played / "script.kws",
              "clock 08:15:42.900\njoystick\nframe 17\nat 50 mouse wheel -2\nat 100 key down tap\nat 150 key down tap\n"
              "at 200 key enter tap\nat 300 key down tap\nat 400 key enter tap\nat 1500 frame 250\n"
              "at 1750 frame 9\nat 2000 window focus lost\nat 2100 window focus gained\nat 3300 key left tap\n"
              "at 3400 joy axis x 1\nat 3500 joy axis x 0\nat 3600 key space tap\nat 3700 mouse move 300 200\n"
              "at 3700 mouse left down\nat 3700 mouse left up\nat 4000 frame 33\nat 4200 key right down\n"
              "at 4600 key right up\nat 4700 joy button 0 tap\nat 4800 key space tap\nat 5000 window minimize\n"
              "at 5300 window restore\nat 5400 key lctrl tap\nat 5700 key a tap\nat 6000 key p tap\n"
              "at 6100 frame 2147483647\nat 4294967400 frame 16\n"
              "at 4294980000 key p tap\nat 4294990000 dump final.json\nend 4294990100\n");
    RunResult run = RunReplay(played, "script.kws");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string recording =
        WithDump(ReadFile(played / "game" / "replays" / "last.kws"), 4294990000, "final.json");
    WriteFile(replayed / "script.kws", recording);
    run = RunReplay(replayed, "script.kws");
    ASSERT_EQ(run.exitCode, 0) << run.err << recording;
    EXPECT_NE(recording.find(" mouse wheel -2\n"), std::string::npos);
    const json expected = json::parse(ReadFile(played / "out" / "final.json"));
    EXPECT_EQ(expected["state"], "play");
    EXPECT_EQ(expected["currentLevel"], 2);
    EXPECT_EQ(json::parse(ReadFile(replayed / "out" / "final.json")), expected) << recording;
    EXPECT_EQ(ReadFile(replayed / "game" / "data" / "game.dat"), "5\r\n70\r\n60\r\n");
    EXPECT_FALSE(fs::exists(replayed / "game" / "data" / "options.txt"));
}

// Today's boards from the title: the date a recording starts on is part of it, so its replay on
// another day meets the same boards (here a worker's board that follows the seed).
TEST(Recording, ReplaysAnEndlessRunOnTheBoardsOfItsDay) {
    kwtest::GameFolder playedGame, replayedGame;
    const fs::path played = ShippedGame(playedGame);
    const fs::path replayed = ShippedGame(replayedGame);
    for (const fs::path& root : {played, replayed}) {
        WriteFile(root / "kindlewisp-level", "#!/bin/sh\ncp game/levels/level$(( $3 % 31 + 1 )).dat \"$7\"\n");
        fs::permissions(root / "kindlewisp-level", fs::perms::owner_all);
    }
    WriteFile(played / "script.kws",
              "date 2027-03-14\nat 100 key up tap\nat 150 key up tap\nat 200 key enter tap\nat 300 key enter tap\n"
              "at 3600 key left down\nat 4000 key left up\nat 4100 key space tap\nat 7000 dump final.json\nend 7100\n");
    RunResult run = RunReplay(played, "script.kws");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const std::string recording = WithDump(ReadFile(played / "game" / "replays" / "last.kws"), 7000, "final.json");
    WriteFile(replayed / "script.kws", recording);
    run = RunReplay(replayed, "script.kws");
    ASSERT_EQ(run.exitCode, 0) << run.err << recording;
    const json expected = json::parse(ReadFile(played / "out" / "final.json"));
    EXPECT_EQ(expected["state"], "play");
    EXPECT_EQ(json::parse(ReadFile(replayed / "out" / "final.json")), expected) << recording;
}

// A level file whose path holds a #, quotes, blanks and a newline is the level its recording
// replays on; once the file has changed, or is gone, the replay is refused as failed.
TEST(Recording, OfALevelFileReplaysOnThatFileAndOnlyAsItWas) {
    kwtest::GameFolder game;
    const fs::path root = ShippedGame(game);
    const fs::path level = root / "my #1 \"best\"\n.dat";
    WriteFile(level, "700\r\n2\r\nice\r\nNO\r\n.B\r\nRR\r\n");
    WriteFile(root / "script.kws", "args \"Level=my #1 \\\"best\\\"\\n.dat\"\nat 300 key space tap\nend 500\n");
    ASSERT_EQ(RunReplay(root, "script.kws").exitCode, 0);
    WriteFile(root / "again.kws", WithDump(ReadFile(root / "game" / "replays" / "last.kws"), 400, "again.json"));
    RunResult run = RunReplay(root, "again.kws");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    const json again = json::parse(ReadFile(root / "out" / "again.json"));
    EXPECT_EQ(again["state"], "play");
    EXPECT_EQ(again["play"]["riseInterval"], 700);
    for (const bool removed : {false, true}) {
        WriteFile(level, "900\r\n2\r\nice\r\nNO\r\n.B\r\nRR\r\n");
        if (removed) fs::remove(level);
        run = RunReplay(root, "again.kws");
        EXPECT_EQ(run.exitCode, 1);
        EXPECT_NE(run.err.find(removed ? "is missing" : "has changed since it was recorded"), std::string::npos)
            << run.err;
    }
}

// A script with a mistake ends with status 2 and the line and reason before the game starts.
TEST(ScriptErrors, AreReportedWithTheirLineBeforeTheGameStarts) {
    const std::pair<std::string, const char*> cases[] = {
        {"at 10 key esc tap\nat 5 key esc tap\n", "line 2: times must not go backwards"},
        {"# comment\n\nat 0 key nokey tap\n", "line 3: unknown key"},
        {"at 0 dump a/../../x.json\n", "line 1: the file name must be a plain name"},
        {"at 0 joy button 1 tap\n", "need the joystick command"},
        {"at 0 mouse wheel 101\n", "line 1: mouse wheel takes steps from -100 to 100"},
        {"at 0 key esc tap\nclock 10:00:00\n", "line 2: clock must come before"},
        {"clock 24:00:00\n", "line 1: clock takes"},
        {"date 2027-02-29\n", "line 1: date takes"},
        {"end 10\nat 20 key esc tap\n", "line 2: nothing may follow end"},
        {"frame 0\n", "line 1: frame takes"},
        // Frames the game's clock never takes, times no run reaches.
        {"at 10 key esc tap\nframe 2147483648\n", "line 2: frame takes"},
        {"end 4611686018427387905\n", "line 1: times end at"},
        {"args \"Level=a.dat\n", "line 1: the quoted text has no closing quote"},
        {"start highestLevel 3\nstart sed 7\n", "line 2: this version knows no starting setting 'sed'"},
        {"start highestLevel 0\n", "line 1: '0' is no value of highestLevel"},
        {std::string((1 << 20) + 1, 'x') + "\n", "line 1: a line is longer than"}};
    for (const auto& [text, reason] : cases) {
        kwtest::GameFolder game;
        const fs::path root = ShippedGame(game);
        WriteFile(root / "script.kws", text);
        const RunResult run = RunReplay(root, "script.kws");
        EXPECT_EQ(run.exitCode, 2) << text.substr(0, 80);
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(root / "game" / "errors.log")) << text.substr(0, 80);  // the game never started
    }
}

// Only a plain file of at most 64 MB is a script: a device or a folder would read as an endless or
// an empty one, and neither may end as a run that succeeded.
TEST(ScriptErrors, WhatIsNoPlainFileOfBoundedSizeIsRefusedSayingWhy) {
    kwtest::GameFolder game;
    const fs::path root = ShippedGame(game);
    fs::create_directory_symlink("loop", root / "loop");
    WriteFile(root / "big.kws", "");
    fs::resize_file(root / "big.kws", (64 << 20) + 1);
    ASSERT_EQ(::mkfifo((root / "fifo").c_str(), 0600), 0);
    const std::pair<const char*, const char*> cases[] = {{"/dev/zero", "it is a device or socket, not a file"},
                                                         {"game", "it is a folder, not a file"},
                                                         {"fifo", "it is a pipe, not a file"},
                                                         {"loop", "it is a link that leads round in a loop"},
                                                         {"missing.kws", "there is no such file"},
                                                         {"big.kws", "it is larger than 64 MB"}};
    for (const auto& [script, reason] : cases) {
        const RunResult run = RunReplay(root, script);
        EXPECT_EQ(run.exitCode, 2) << script;
        EXPECT_NE(run.err.find(std::string("cannot read the script ") + script + ": " + reason), std::string::npos)
            << run.err;
    }
    EXPECT_FALSE(fs::exists(root / "game" / "errors.log"));
}

TEST(StandardInput, AControllerSeesEachDumpBeforeSendingTheNextCommand) {
    kwtest::GameFolder game;
    const fs::path root = ShippedGame(game);
    // Commands fed through a pipe; each dump's "dumped" line is printed once the file is complete.
    const RunResult run = RunReplay(root, "-",
                                    "printf 'at 0 dump a.json\\nat 20 key p up\\nat 30 dump c.json\\nat 48 key down "
                                    "tap\\nat 96 dump b.json\\n' | ");
    EXPECT_EQ(run.exitCode, 0) << run.err;
    EXPECT_EQ(run.out, "dumped a.json\ndumped c.json\ndumped b.json\n");
    // A dump read ahead of its frame still waits for the first frame at or after its time.
    EXPECT_EQ(json::parse(ReadFile(root / "out" / "a.json"))["frame"], 1);
    EXPECT_EQ(json::parse(ReadFile(root / "out" / "c.json"))["frame"], 3);  // the frames at 0, 16 and 32
    const json b = json::parse(ReadFile(root / "out" / "b.json"));
    EXPECT_EQ(b["tick"], 96);
    EXPECT_EQ(b["title"]["selection"], 1);
}

}  // namespace
