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
    void Load(const std::string& text) {
        m_Folder.WriteText("game/data/game.dat", text);
        LoadSettings();
        CloseErrorLog();
    }
    kwtest::GameFolder m_Folder;
};

TEST_F(SettingsFile, ReadsTheThreeNumbersIgnoringSpaces) {
    Load(" 7 \r\n55\r\n  30\r\n");
    EXPECT_EQ(gHighestLevel, 7);
    EXPECT_EQ(gMusicVolume, 55);
    EXPECT_EQ(gSoundVolume, 30);
    EXPECT_EQ(m_Folder.ReadText("game/errors.log"), "");
}

TEST_F(SettingsFile, MissingFileMeansAFreshInstallWithDefaultsAndNoLogEntry) {
    LoadSettings();
    CloseErrorLog();
    EXPECT_EQ(gHighestLevel, 1);
    EXPECT_EQ(gMusicVolume, 80);
    EXPECT_EQ(gSoundVolume, 80);
    EXPECT_TRUE(SettingsLoaded());
    EXPECT_EQ(m_Folder.ReadText("game/errors.log"), "");
}

TEST_F(SettingsFile, AnUnreadableLineKeepsItsDefaultAndIsLoggedOnceTheOthersStillCount) {
    Load("twelve\r\n55\r\n");
    EXPECT_EQ(gHighestLevel, 1);
    EXPECT_EQ(gMusicVolume, 55);
    EXPECT_EQ(gSoundVolume, 80);
    const auto lines = m_Folder.LogLines();
    ASSERT_EQ(lines.size(), 14u);  // two entries of four lines and three empty lines
    EXPECT_EQ(lines[1], "Handled Error Occurred in modSettings.LoadSettings");
    EXPECT_EQ(lines[2], "Error Number: 13");
    EXPECT_NE(lines[3].find("Line 1 of game.dat"), std::string::npos);
    EXPECT_NE(lines[10].find("Line 3 of game.dat"), std::string::npos);
}

TEST_F(SettingsFile, ValuesOutsideTheirRangesAreClampedAndAMarkOrALongLineDoesNotHide) {
    Load("2147483647\r\n-2147483648\r\n\xEF\xBB\xBF 500 \r\n");
    EXPECT_EQ(gHighestLevel, 99999);
    EXPECT_EQ(gMusicVolume, 0);
    EXPECT_EQ(gSoundVolume, 100);
    EXPECT_EQ(m_Folder.LogLines().size(), 0u);
    Load(std::string(5000, '7') + "\r\n99999999999\r\n30\r\n");
    EXPECT_EQ(gHighestLevel, 1);
    EXPECT_EQ(gMusicVolume, 80);
    EXPECT_EQ(gSoundVolume, 30);
}

TEST_F(SettingsFile, AFileThatCannotBeReadIsLoggedPlaysWithDefaultsAndIsNotOverwritten) {
    std::filesystem::create_directories(m_Folder.Path("game/data/game.dat"));
    LoadSettings();
    CloseErrorLog();
    EXPECT_EQ(gHighestLevel, 1);
    EXPECT_FALSE(SettingsLoaded()) << "the shutdown must leave it alone";
    const auto lines = m_Folder.LogLines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[1], "Handled Error Occurred in modSettings.LoadSettings");
}

TEST_F(SettingsFile, SavingWritesThreeLinesWithCrLfAndLeavesNoTemporaryFile) {
    m_Folder.WriteText("game/data/game.dat", "1\r\n80\r\n80\r\n");
    gHighestLevel = 12;
    gMusicVolume = 81;
    gSoundVolume = 0;
    SaveSettings();
    EXPECT_EQ(m_Folder.ReadText("game/data/game.dat"), "12\r\n81\r\n0\r\n");
    EXPECT_FALSE(m_Folder.Exists("game/data/game.dat.tmp"));
    LoadSettings();
    EXPECT_EQ(gHighestLevel, 12);
    EXPECT_EQ(gMusicVolume, 81);
}

TEST_F(SettingsFile, AFailedSaveIsLoggedAndKeepsTheOldFileIntact) {
    std::filesystem::remove_all(m_Folder.Path("game/data"));
    SaveSettings();  // must not throw: it runs during shutdown
    CloseErrorLog();
    const auto lines = m_Folder.LogLines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[1], "Handled Error Occurred in modSettings.SaveSettings");
}

TEST(UnpackedFiles, DeletingRemovesTheUnpackedKindsOnlyAndSurvivesEmptyFolders) {
    kwtest::GameFolder folder;
    for (const char* file : {"game/images/a.png", "game/images/b.BMP", "game/levels/level1.dat",
                             "game/sounds/shoot.wav", "game/sounds/puzzle1.mp3"})
        folder.WriteText(file, "x");
    for (const char* file : {"game/images/kwgfx.pak", "game/data/game.dat", "game/data/scores.dat",
                             "game/override/sprites.png", "game/errors.log", "game/images/notes.txt"})
        folder.WriteText(file, "x");
    std::filesystem::remove_all(folder.Path("game/levels"));  // a missing folder must not stop the rest
    DeleteUnpackedFiles();
    for (const char* gone :
         {"game/images/a.png", "game/images/b.BMP", "game/sounds/shoot.wav", "game/sounds/puzzle1.mp3"})
        EXPECT_FALSE(folder.Exists(gone)) << gone;
    for (const char* kept : {"game/images/kwgfx.pak", "game/data/game.dat", "game/data/scores.dat",
                             "game/override/sprites.png", "game/errors.log", "game/images/notes.txt"})
        EXPECT_TRUE(folder.Exists(kept)) << kept;
}

}  // namespace
