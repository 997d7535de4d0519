// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: each argument matched at its own start only (a path that holds another
// argument's name stays a path), --help, --version and unknown arguments answered before the game
// starts, counts, and relative files found from the current folder, then beside the game folder.
#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "shell/CommandLine.h"
#include "shell/modMain.h"
#include "support/GameFolder.h"

namespace {

namespace fs = std::filesystem;

struct ValueCase {
    const char* commandLine;
    const char* level;
    const char* replay;
    const char* windowed;
};
class ArgumentValues : public ::testing::TestWithParam<ValueCase> {};

TEST_P(ArgumentValues, AreReadOnlyFromTheStartOfTheirOwnArgumentUpToTheNextSemicolon) {
    SetCommandLine(GetParam().commandLine);
    EXPECT_EQ(GetCommandLineValue("Level", ";"), GetParam().level);
    EXPECT_EQ(GetCommandLineValue("Replay", ";"), GetParam().replay);
    EXPECT_EQ(GetCommandLineValue("Windowed", ";"), GetParam().windowed);
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, ArgumentValues,
    ::testing::Values(ValueCase{"", "", "", ""},
                      ValueCase{"Level=/home/me/replays/lvl.dat", "/home/me/replays/lvl.dat", "", ""},
                      ValueCase{"Replay=/home/me/levels/x.kws", "", "/home/me/levels/x.kws", ""},
                      ValueCase{"Replay=/tmp/Windowed=NO/a b.kws;Level=c.dat", "c.dat", "/tmp/Windowed=NO/a b.kws", ""},
                      // Names in any letter case; values as typed; the first of a name counts.
                      ValueCase{"windowed=No;LEVEL=x.dat;Level=y.dat", "x.dat", "", "No"},
                      // Not at an argument's start, or without "=": not that argument.
                      ValueCase{"/windowed=NO;xLevel=a;Level;Replay:b", "", "", ""},
                      ValueCase{"Level=;Windowed=NO", "", "", "NO"}));

struct AnswerCase {
    const char* commandLine;
    int exitCode;  // -1: the game runs
    const char* firstLine;
};
class GameCommandLine : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(GameCommandLine, AnswersHelpVersionAndUnknownArgumentsBeforeTheGameStarts) {
    std::ostringstream out, err;
    const auto exitCode = AnswerGameCommandLine(GetParam().commandLine, out, err);
    EXPECT_EQ(exitCode.value_or(-1), GetParam().exitCode);
    const std::string text = (exitCode == 2 ? err : out).str();
    EXPECT_EQ(text.substr(0, text.find('\n')), GetParam().firstLine);
    EXPECT_EQ(exitCode == 2 ? out.str() : err.str(), "") << "nothing on the other stream";
}

INSTANTIATE_TEST_SUITE_P(
    CommandLines, GameCommandLine,
    ::testing::Values(AnswerCase{"", -1, ""}, AnswerCase{"Windowed=NO;Level=a.dat;;Replay=b.kws", -1, ""},
                      AnswerCase{"--help", 0, "Usage: kindlewisp [ARGUMENT]..."},
                      AnswerCase{"Windowed=NO;--help", 0, "Usage: kindlewisp [ARGUMENT]..."},
                      AnswerCase{"Bogus=1", 2, "kindlewisp: unknown argument 'Bogus=1'"},
                      AnswerCase{"Level=a.dat;/lvl.dat", 2, "kindlewisp: unknown argument '/lvl.dat'"},
                      AnswerCase{"Windowed", 2, "kindlewisp: unknown argument 'Windowed'"},
                      AnswerCase{"-h", 2, "kindlewisp: unknown argument '-h'"}));

TEST(GameUsage, HelpAndErrorsListEveryArgumentAndVersionNamesTheProgramAndItsVersion) {
    std::ostringstream help, error, version, none;
    AnswerGameCommandLine("--help", help, none);
    AnswerGameCommandLine("Bogus=1", none, error);
    for (const std::string& text : {help.str(), error.str()}) {
        for (const GameArgument& argument : GameArguments())
            EXPECT_NE(text.find("  " + std::string(argument.name) + "=" + std::string(argument.value) + " "),
                      std::string::npos)
                << text;
        EXPECT_NE(text.find("  --version "), std::string::npos) << text;
    }
    EXPECT_EQ(AnswerGameCommandLine("--version", version, none), 0);
    EXPECT_EQ(version.str(), "kindlewisp " + std::string(GameVersion()) + "\n");
    EXPECT_FALSE(GameVersion().empty());
}

TEST(Counts, AreDigitsOnlyWithinTheirRange) {
    EXPECT_EQ(ParseCount("1", 1, 100000), 1);
    EXPECT_EQ(ParseCount("100000", 1, 100000), 100000);
    EXPECT_EQ(ParseCount("007", 1, 100000), 7);
    for (const char* bad : {"", "0", "100001", "1e3", "10abc", "+5", "-1", " 5", "5 ", "99999999999"})
        EXPECT_EQ(ParseCount(bad, 1, 100000), std::nullopt) << bad;
}

// A game folder, and a current folder elsewhere that holds a file of its own.
class RelativeFiles : public ::testing::Test {
protected:
    void SetUp() override {
        fs::create_directories(m_Here);
        m_Before = fs::current_path();
        fs::current_path(m_Here);
    }
    void TearDown() override {
        fs::current_path(m_Before);
        fs::remove_all(m_Here);
    }
    kwtest::GameFolder m_Folder;
    const fs::path m_Here = m_Folder.Root().parent_path() / (m_Folder.Root().filename().string() + "-here");
    fs::path m_Before;
};

TEST_F(RelativeFiles, AreFoundInTheCurrentFolderFirstThenBesideTheGameFolder) {
    fs::create_directories(m_Folder.Path("game/replays"));
    fs::create_directories(m_Here / "game/replays");
    m_Folder.WriteText("game/replays/last.kws", "game's");
    kwtest::WriteFile(m_Here / "mine.kws", "here");
    kwtest::WriteFile(m_Here / "game/replays/both.kws", "here");
    m_Folder.WriteText("game/replays/both.kws", "game's");
    const fs::path absent = m_Here / "absent.kws";
    const std::pair<std::string, fs::path> cases[] = {
        {"Replay=game/replays/last.kws", m_Folder.Path("game/replays/last.kws")},
        {"Replay=mine.kws", "mine.kws"},
        {"Replay=game/replays/both.kws", "game/replays/both.kws"},
        {"Replay=nowhere.kws", "nowhere.kws"},  // as typed, so the message names it
        {"Replay=" + absent.string(), absent},
        {"Windowed=NO", ""}};
    for (const auto& [commandLine, file] : cases) {
        SetCommandLine(commandLine);
        EXPECT_EQ(CommandLineFile("Replay"), file) << commandLine;
    }
}

}  // namespace
