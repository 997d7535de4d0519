// SPDX-License-Identifier: GPL-3.0-or-later
// What the game keeps in its folder: game.dat, the error log, the replays (last and previous, the
// best top-ten games, and a folder that cannot be written), and the unpacked files it deletes at
// the end.
#include <gtest/gtest.h>
#include <sys/resource.h>

#include <csignal>
#include <filesystem>
#include <set>

#include "base/Globals.h"
#include "base/Options.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "shell/Replays.h"
#include "shell/modMain.h"
#include "shell/modOptions.h"
#include "shell/modSettings.h"
#include "support/GameFolder.h"

namespace {

// A fresh game folder with the error log open, at 7:05:09 PM.
class GameFiles : public ::testing::Test {
protected:
    void SetUp() override {
        UseVirtualClock(0, 19 * 3600 + 5 * 60 + 9);
        ForgetLoadedSettings();
        ForgetLoadedOptions();
        OpenErrorLog();
    }
    void TearDown() override { CloseErrorLog(); }
    std::string Log() {
        CloseErrorLog();
        return m_Folder.ReadText("game/errors.log");
    }
    kwtest::GameFolder m_Folder;
};
class SettingsFile : public GameFiles {};
class ErrorLog : public GameFiles {};

struct SettingsCase {
    std::string text;  // empty: no game.dat; "/": a folder in its place
    int32_t level, music, sound;
    const char* logged;  // what the log says, if anything
};

class ReadingSettings : public GameFiles, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(ReadingSettings, EachLineIsClampedToItsRangeOrKeepsItsDefaultAndIsLogged) {
    const SettingsCase c = GetParam();
    if (c.text == "/")
        std::filesystem::create_directories(m_Folder.Path("game/data/game.dat"));
    else if (!c.text.empty())
        m_Folder.WriteText("game/data/game.dat", c.text);
    LoadSettings();
    EXPECT_EQ(SettingsLoaded(), c.text != "/") << "the shutdown must leave an unreadable file alone";
    EXPECT_EQ(gHighestLevel, c.level);
    EXPECT_EQ(gMusicVolume, c.music);
    EXPECT_EQ(gSoundVolume, c.sound);
    const std::string log = Log();
    EXPECT_EQ(log.empty(), *c.logged == '\0') << log;
    EXPECT_NE(log.find(c.logged), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadingSettings,
    ::testing::Values(SettingsCase{"", 1, 80, 80, ""},  // a fresh install: defaults
                      SettingsCase{" 7 \r\n55\r\n  30\r\n", 7, 55, 30, ""},
                      // A byte-order mark does not hide the number.
                      SettingsCase{"2147483647\r\n-2147483648\r\n\xEF\xBB\xBF 500 \r\n", 99999, 0, 100, ""},
                      SettingsCase{"0\r\n101\r\n-1\r\n", 1, 100, 0, ""},
                      SettingsCase{"twelve\r\n+55\r\n3x\r\n", 1, 55, 80, "Line 1 of game.dat (highest level)"},
                      SettingsCase{"7\r\n55\r\n", 7, 55, 80, "Line 3 of game.dat (sound volume) is missing"},
                      SettingsCase{std::string(5000, '7') + "\r\n99999999999\r\n30\r\n", 1, 80, 30, "Line 2"},
                      SettingsCase{"/", 1, 80, 80, "cannot be read: it is not a plain file"}));

TEST_F(SettingsFile, SavingWritesThreeCrLfLinesAndLeavesNoTemporaryFileAndAFailedSaveIsLogged) {
    gHighestLevel = 12;
    gMusicVolume = 81;
    gSoundVolume = 0;
    SaveSettings();
    EXPECT_EQ(m_Folder.ReadText("game/data/game.dat"), "12\r\n81\r\n0\r\n");
    EXPECT_FALSE(m_Folder.Exists("game/data/game.dat.tmp"));
    std::filesystem::remove_all(m_Folder.Path("game/data"));
    SaveSettings();  // must not throw: it runs during shutdown
    EXPECT_NE(Log().find("modSettings.SaveSettings"), std::string::npos);
}

struct OptionsCase {
    std::string text;  // empty: no options.txt; "/": a folder in its place
    bool fullScreen;
    GfxScaling scaling;
    int32_t fireKey;
    const char* logged;  // what the log says, if anything; then the file is kept as .bad
};

class ReadingOptions : public GameFiles, public ::testing::WithParamInterface<OptionsCase> {};

TEST_P(ReadingOptions, ALineThatCannotBeUsedLeavesItsOptionAtTheDefaultIsLoggedAndTheFileIsKeptAsBad) {
    const OptionsCase c = GetParam();
    if (c.text == "/")
        std::filesystem::create_directories(m_Folder.Path("game/data/options.txt"));
    else if (!c.text.empty())
        m_Folder.WriteText("game/data/options.txt", c.text);
    LoadOptions();
    EXPECT_EQ(gOptions.fullScreen, c.fullScreen);
    EXPECT_EQ(gOptions.scaling, c.scaling);
    EXPECT_EQ(gOptions.controls.keys[2][0], c.fireKey);
    const std::string log = Log();
    EXPECT_EQ(log.empty(), *c.logged == '\0') << log;
    EXPECT_NE(log.find(c.logged), std::string::npos) << log;
    EXPECT_EQ(m_Folder.Exists("game/data/options.txt.bad"), *c.logged != '\0' && c.text != "/");
    SaveOptions();
    EXPECT_EQ(std::filesystem::is_directory(m_Folder.Path("game/data/options.txt")), c.text == "/");
}

INSTANTIATE_TEST_SUITE_P(
    Files, ReadingOptions,
    ::testing::Values(
        OptionsCase{"", false, GfxScaling::Fill, GfxKey::Space, ""},
        OptionsCase{"\xEF\xBB\xBF FullScreen = yes\r\n# a note\r\nScaling=SHARP\r\nKeyFire=lctrl,space\r\n", true,
                    GfxScaling::Sharp, 29, ""},
        OptionsCase{"FullScreen=maybe\nScaling=sharp\nKeyFire=f7\n", false, GfxScaling::Sharp, GfxKey::Space,
                    "Line 1 of options.txt (FullScreen) has a value that cannot be used"},
        OptionsCase{"fullscreen yes\n" + std::string(2000, 'x') + "\nScaling=sharp\n", false, GfxScaling::Sharp,
                    GfxKey::Space, "Line 2 of options.txt is too long"},
        OptionsCase{"KeyFire=lctrl\nKeyLeft=lctrl\n", false, GfxScaling::Fill, GfxKey::Space,
                    "bound twice or a control has none"},
        OptionsCase{"Scaling=sharp\n" + std::string(20000, ' '), false, GfxScaling::Sharp, GfxKey::Space,
                    "options.txt is longer than 16384 bytes"},
        OptionsCase{"/", false, GfxScaling::Fill, GfxKey::Space, "cannot be read; playing with the default"}));

TEST_F(GameFiles, OptionsOfANewerCopyAreWrittenBackAsTheyStood) {
    m_Folder.WriteText("game/data/options.txt", "Music=Loud\r\nScaling=sharp\r\n");
    LoadOptions();
    gOptions.pauseOnFocusLoss = false;
    SaveOptions();
    const std::string text = m_Folder.ReadText("game/data/options.txt");
    for (const char* line : {"\r\nMusic=Loud\r\n", "\r\nScaling=sharp\r\n", "\r\nPauseOnFocusLoss=no\r\n"})
        EXPECT_NE(text.find(line), std::string::npos) << text;
    const OptionsRead read = ReadOptions(text);
    EXPECT_TRUE(read.problems.empty());
    EXPECT_EQ(read.unknown, std::vector<std::string>{"Music=Loud"});
    EXPECT_EQ(read.options.controls, gOptions.controls);
    EXPECT_FALSE(read.options.pauseOnFocusLoss);
}

TEST(UnpackedFiles, DeletingRemovesTheUnpackedKindsOnlyAndSurvivesAMissingFolder) {
    kwtest::GameFolder folder;
    const std::vector<std::string> gone{"game/images/a.png", "game/images/b.BMP", "game/sounds/shoot.wav",
                                        "game/sounds/puzzle1.mp3"};
    const std::vector<std::string> kept{"game/images/kwgfx.pak",     "game/data/game.dat", "game/data/scores.dat",
                                        "game/override/sprites.png", "game/errors.log",    "game/images/notes.txt"};
    for (const auto& file : gone) folder.WriteText(file, "x");
    for (const auto& file : kept) folder.WriteText(file, "x");
    std::filesystem::remove_all(folder.Path("game/levels"));
    DeleteUnpackedFiles();
    for (const auto& file : gone) EXPECT_FALSE(folder.Exists(file)) << file;
    for (const auto& file : kept) EXPECT_TRUE(folder.Exists(file)) << file;
}

// A run killed after unpacking leaves the unpacked files; the next start removes them, and the
// half-written saves of any run, before it unpacks; a disk that takes no more is said as such.
TEST_F(GameFiles, TheNextStartRemovesWhatAKilledRunLeftAndAFailedUnpackingSaysWhy) {
    gEngine = std::make_unique<GfxEngine>();
    m_Folder.UseArchives();
    std::filesystem::create_directories(m_Folder.Path("game/replays"));
    for (const char* file : {"game/images/loose.png", "game/data/scores.dat.tmp", "game/replays/last.kws.tmp"})
        m_Folder.WriteText(file, "x");
    RemoveLeftovers();
    EXPECT_TRUE(m_Folder.Exists("game/images/loose.png")) << "the last run ended in order";
    EXPECT_FALSE(m_Folder.Exists("game/data/scores.dat.tmp") || m_Folder.Exists("game/replays/last.kws.tmp"));
    UnpackArchives();
    RemoveLeftovers();
    EXPECT_FALSE(m_Folder.Exists("game/levels/level1.dat") || m_Folder.Exists("game/images/loose.png"));
    rlimit saved{};
    ::getrlimit(RLIMIT_FSIZE, &saved);
    const rlimit small{4096, saved.rlim_max};
    std::signal(SIGXFSZ, SIG_IGN);
    ::setrlimit(RLIMIT_FSIZE, &small);
    EXPECT_THROW(UnpackArchives(), ExitSignal);
    ::setrlimit(RLIMIT_FSIZE, &saved);
    EXPECT_NE(Log().find("unpacked into " + m_Folder.Path("game").string() + ": file too large"), std::string::npos);
    gEngine.reset();
}

TEST_F(ErrorLog, StartsEmptyEachRunAndAReportWritesTimeModuleNumberAndMessageThenThreeEmptyLines) {
    WriteErrorLog("old entry");
    OpenErrorLog();
    ReportError(76, "cTextures", "GetTexture", "Texture: x.png failed to load.", true, true, false);
    CloseErrorLog();
    auto lines = m_Folder.LogLines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_TRUE(lines[0].ends_with(" 7:05:09 PM")) << lines[0];
    lines.erase(lines.begin());
    EXPECT_EQ(lines, (std::vector<std::string>{"Handled Error Occurred in cTextures.GetTexture", "Error Number: 76",
                                               "Error: Texture: x.png failed to load.", "", "", ""}));
}

struct Flags {
    int32_t number;
    int32_t pending;
    bool writeToLog, reportAlways, terminate;
    bool expectWritten, expectEnd;
};

class ReportFlags : public ErrorLog, public ::testing::WithParamInterface<Flags> {};

TEST_P(ReportFlags, DecideWhetherAnEntryIsWrittenAndTheProgramEnds) {
    const Flags f = GetParam();
    bool ended = false;
    try {
        ReportError(f.number, "cPlayState", "MoveOrb", "m", f.writeToLog, f.reportAlways, f.terminate, f.pending);
    } catch (const ExitSignal& signal) {
        ended = true;
        EXPECT_EQ(signal.exitCode, 1);
    }
    EXPECT_EQ(ended, f.expectEnd);
    EXPECT_EQ(!Log().empty(), f.expectWritten);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportFlags,
    ::testing::Values(Flags{5, 13, true, false, true, false, false},  // another error pending: nothing at all
                      Flags{13, 13, true, false, true, true, true},   // the expected error is pending
                      Flags{53, 0, true, true, true, true, true},     // report always
                      Flags{5, 0, true, true, false, true, false},    // logged, play goes on
                      Flags{5, 0, false, true, true, false, true}));  // not logged, still ends

class Replays : public GameFiles {
protected:
    // One run of `ms`, saved as last.kws at its end.
    static void Run(uint32_t ms) {
        StartRecording();
        AdvanceVirtualClock(ms);
        RecordFrame();
        SaveLastReplay();
    }
};

TEST_F(Replays, EachEndKeepsTheRunBeforeAsPrevious) {
    Run(20);
    const std::string first = m_Folder.ReadText("game/replays/last.kws");
    EXPECT_NE(first.find("at 0 frame 20\nend 40\n"), std::string::npos) << first;
    Run(30);
    EXPECT_EQ(m_Folder.ReadText("game/replays/previous.kws"), first);
    EXPECT_NE(m_Folder.ReadText("game/replays/last.kws").find("at 0 frame 30\nend 60\n"), std::string::npos);
}

TEST_F(Replays, OnlyTheTwentyBestTopTenGamesAreKept) {
    std::filesystem::create_directories(m_Folder.Path("game/replays"));
    m_Folder.WriteText("game/replays/my-best-1.kws", "the player's own");
    StartRecording();
    for (int32_t score :
         {500, 20, 700, 10, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 200})
        KeepHighScoreReplay(score);
    SaveLastReplay();
    std::multiset<int32_t> kept;
    for (const auto& entry : std::filesystem::directory_iterator(m_Folder.Path("game/replays"))) {
        const std::string name = entry.path().filename().string();
        if (name == "last.kws" || name == "my-best-1.kws") continue;
        kept.insert(std::stoi(name.substr(name.rfind('-') + 1)));
    }
    EXPECT_EQ(kept.size(), 20u);
    EXPECT_EQ(kept.count(10) + kept.count(20), 0u);  // the lowest went first
    EXPECT_EQ(kept.count(700), 1u);
    EXPECT_EQ(m_Folder.ReadText("game/replays/my-best-1.kws"), "the player's own");
}

TEST_F(Replays, AFolderThatCannotBeWrittenIsLoggedOnceAndWhatStandsInItsPlaceIsLeftAlone) {
    m_Folder.WriteText("game/replays", "a file where the folder should be");
    StartRecording();
    KeepHighScoreReplay(900);
    SaveLastReplay();
    const std::string log = Log();
    EXPECT_NE(log.find("modReplays"), std::string::npos);
    EXPECT_EQ(log.find("modReplays"), log.rfind("modReplays")) << "logged once";
    EXPECT_EQ(m_Folder.ReadText("game/replays"), "a file where the folder should be");
}

}  // namespace
