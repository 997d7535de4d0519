// SPDX-License-Identifier: GPL-3.0-or-later
// End-to-end: the scripted runner plays the real program in a copy of a game folder, and the
// reports it dumps are compared with the expected ones beside each script (only the keys given).
#include <gtest/gtest.h>
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
                                           "level_file_refused", "tutorial_keyboard", "tutorial_gamepad",
                                           "options_from_pause"));

// A game of varying frame lengths (a stall among them), a start between two seconds, a click quicker
// than a frame and every kind of input, recorded as it ran and replayed on a copy of the folder
// it started from, ends in the same state.
TEST(Recording, ReplaysTheRecordedRunToTheSameState) {
    kwtest::GameFolder playedGame, replayedGame;
    const fs::path played = ShippedGame(playedGame);
    const fs::path replayed = ShippedGame(replayedGame);
    WriteFile(played / "script.kws",
              "clock 08:15:42.900\njoystick\nframe 17\nat 100 key enter tap\nat 1500 frame 250\nat 1750 frame 9\n"
              "at 2000 window focus lost\nat 2100 window focus gained\nat 3300 key left tap\nat 3400 joy axis x 1\n"
              "at 3500 joy axis x 0\nat 3600 key space tap\nat 3700 mouse move 300 200\nat 3700 mouse left down\n"
              "at 3700 mouse left up\nat 4000 frame 33\nat 4200 key right down\nat 4600 key right up\n"
              "at 4700 joy button 0 tap\nat 4800 key space tap\nat 5000 window minimize\nat 5300 window restore\n"
              "at 6000 key p tap\nat 6500 key p tap\nat 7000 dump final.json\nend 7100\n");
    RunResult run = RunReplay(played, "script.kws");
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string recording = ReadFile(played / "game" / "replays" / "last.kws");
    // The dump goes before the first line past its time (the close, then the end).
    size_t at = 0;
    while (recording.compare(at, 4, "end ") != 0 &&
           (recording.compare(at, 3, "at ") != 0 || std::stoul(recording.substr(at + 3)) <= 7000))
        at = recording.find('\n', at) + 1;
    recording.insert(at, "at 7000 dump final.json\n");
    WriteFile(replayed / "script.kws", recording);
    run = RunReplay(replayed, "script.kws");
    ASSERT_EQ(run.exitCode, 0) << run.err << recording;
    const json expected = json::parse(ReadFile(played / "out" / "final.json"));
    EXPECT_EQ(expected["state"], "play");
    EXPECT_EQ(json::parse(ReadFile(replayed / "out" / "final.json")), expected) << recording;
}

// A script with a mistake ends with status 2 and the line and reason before the game starts.
TEST(ScriptErrors, AreReportedWithTheirLineBeforeTheGameStarts) {
    const std::pair<const char*, const char*> cases[] = {
        {"at 10 key esc tap\nat 5 key esc tap\n", "line 2: times must not go backwards"},
        {"# comment\n\nat 0 key nokey tap\n", "line 3: unknown key"},
        {"at 0 dump a/../../x.json\n", "line 1: the file name must be a plain name"},
        {"at 0 joy button 1 tap\n", "need the joystick command"},
        {"at 0 key esc tap\nclock 10:00:00\n", "line 2: clock must come before"},
        {"clock 24:00:00\n", "line 1: clock takes"},
        {"end 10\nat 20 key esc tap\n", "line 2: nothing may follow end"},
        {"frame 0\n", "line 1: frame takes"},
        // Frames or times that would wrap the 32-bit virtual clock before the end.
        {"at 10 key esc tap\nframe 3600001\n", "line 2: frame takes"},
        {"end 4294967295\n", "line 1: times end at"}};
    for (const auto& [text, reason] : cases) {
        kwtest::GameFolder game;
        const fs::path root = ShippedGame(game);
        WriteFile(root / "script.kws", text);
        const RunResult run = RunReplay(root, "script.kws");
        EXPECT_EQ(run.exitCode, 2) << text;
        EXPECT_NE(run.err.find(reason), std::string::npos) << run.err;
        EXPECT_FALSE(fs::exists(root / "game" / "errors.log")) << text;  // the game never started
    }
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
