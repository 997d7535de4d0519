// The command line option, game.dat and the deletion of unpacked files.
#include <gtest/gtest.h>

#include "base/Globals.h"
#include "base/modError.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "shell/modMain.h"
#include "shell/modSettings.h"
#include "support/GameFolder.h"

namespace {

struct CommandLineCase {
    const char* commandLine;
    const char* value;
};

class WindowedOption : public ::testing::TestWithParam<CommandLineCase> {};

TEST_P(WindowedOption, ValueRunsFromOneCharacterAfterTheNameToTheSeparator) {
    SetCommandLine(GetParam().commandLine);
    EXPECT_EQ(GetCommandLineValue("Windowed", ";"), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, WindowedOption,
    ::testing::Values(CommandLineCase{"", ""},                         // no option: windowed
                      CommandLineCase{"Windowed=NO", "NO"},            // full screen
                      CommandLineCase{"/windowed=NO", "NO"},           // name in any case, anywhere
                      CommandLineCase{"windowed=No", "No"},            // value keeps its case: stays windowed
                      CommandLineCase{"Windowed=NO;Other=1", "NO"},    // ends at the separator
                      CommandLineCase{"x=1 WINDOWED:NO", "NO"},        // any one character after the name
                      CommandLineCase{"Windowed;NO", ""},              // separator before the value
                      CommandLineCase{"Windowed", ""},                 // name at the very end
                      CommandLineCase{"Other=1;Windowed=NO", "NO"}));  // a separator before the name does not count

class SettingsFile : public ::testing::Test {
protected:
    void SetUp() override {
        ForgetLoadedSettings();
        OpenErrorLog();
    }
    void TearDown() override { CloseErrorLog(); }
    std::string Log() {
        CloseErrorLog();
        return m_Folder.ReadText("game/errors.log");
    }
    kwtest::GameFolder m_Folder;
};

struct SettingsCase {
    std::string text;  // empty: no game.dat; "/": a folder in its place
    int32_t level, music, sound;
    const char* logged;  // what the log says, if anything
};

class ReadingSettings : public SettingsFile, public ::testing::WithParamInterface<SettingsCase> {};

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
                      SettingsCase{"twelve\r\n55\r\n", 1, 55, 80, "Line 1 of game.dat (highest level)"},
                      SettingsCase{"7\r\n55\r\n", 7, 55, 80, "Line 3 of game.dat (sound volume) is missing"},
                      SettingsCase{std::string(5000, '7') + "\r\n99999999999\r\n30\r\n", 1, 80, 30, "Line 2"},
                      SettingsCase{"/", 1, 80, 80, "cannot be read; playing with the default settings"}));

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

}  // namespace
