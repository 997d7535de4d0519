// SPDX-License-Identifier: GPL-3.0-or-later
// The command line: each argument read from its own start only, so a path holding another name
// stays a path; --help, --version and unknown arguments answered before the game starts; counts;
// and relative files found in the current folder, then beside the game folder.
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
                      ValueCase{"Replay=/tmp/Windowed=NO/a b.kws;Level=c.dat", "c.dat", "/tmp/Windowed=NO/a b.kws", ""},
                      // Names in any letter case, values as typed, the first of a name counts.
                      ValueCase{"windowed=No;LEVEL=x.dat;Level=y.dat", "x.dat", "", "No"},
                      // Not at an argument's start, or without "=": not that argument.
                      ValueCase{"/windowed=NO;xLevel=a;Level;Replay:b", "", "", ""}));

struct AnswerCase {
    const char* commandLine;
    int exitCode;  // -1: the game runs
    const char* firstLine;
};
class GameCommandLine : public ::testing::TestWithParam<AnswerCase> {};

TEST_P(GameCommandLine, AnswersHelpVersionAndUnknownArgumentsBeforeTheGameStarts) {
    std::ostringstream out, err;
    const int exitCode = AnswerGameCommandLine(GetParam().commandLine, out, err).value_or(-1);
    EXPECT_EQ(exitCode, GetParam().exitCode);
    const std::string text = (exitCode == 2 ? err : out).str();
    EXPECT_EQ(text.substr(0, text.find('\n')), GetParam().firstLine);
    EXPECT_EQ((exitCode == 2 ? out : err).str(), "");
    // The help and an error list every argument of the table.
    if (!text.starts_with("Usage") && exitCode != 2) return;
    for (const GameArgument& argument : GameArguments())
        EXPECT_NE(text.find("\n  " + std::string(argument.name) + "=" + std::string(argument.value) + " "),
                  std::string::npos);
}

INSTANTIATE_TEST_SUITE_P(CommandLines, GameCommandLine,
                         ::testing::Values(AnswerCase{"Windowed=NO;Level=a.dat;;Replay=b.kws", -1, ""},
                                           AnswerCase{"endless=Daily;Endless=4294967295", -1, ""},
                                           AnswerCase{"Endless=4294967296", 2,
                                                      "kindlewisp: Endless takes a seed from 0 to 4294967295 or "
                                                      "daily, not '4294967296'"},
                                           AnswerCase{"Endless=", 2,
                                                      "kindlewisp: Endless takes a seed from 0 to 4294967295 or "
                                                      "daily, not ''"},
                                           AnswerCase{"Windowed=NO;--help", 0, "Usage: kindlewisp [ARGUMENT]..."},
                                           AnswerCase{"--version", 0, "kindlewisp " KW_PROJECT_VERSION},
                                           AnswerCase{"Bogus=1", 2, "kindlewisp: unknown argument 'Bogus=1'"},
                                           AnswerCase{"Level=a.dat;/lvl.dat", 2,
                                                      "kindlewisp: unknown argument '/lvl.dat'"},
                                           AnswerCase{"Windowed", 2, "kindlewisp: unknown argument 'Windowed'"}));

TEST(ProgramWords, KeepsEachWordOfTheProgramsCommandLineOneArgument) {
    const char* argv[] = {"kindlewisp", "Level=my level.dat", "", "Windowed=NO"};
    EXPECT_EQ(JoinArguments(4, argv), "Level=my level.dat;;Windowed=NO");
}

TEST(Counts, AreDigitsOnlyWithinTheirRange) {
    EXPECT_EQ(ParseCount("1", 1, 100000), 1);
    EXPECT_EQ(ParseCount("100000", 1, 100000), 100000);
    for (const char* bad : {"", "0", "100001", "1e3", "10abc", "+5", "-1", " 5", "99999999999"})
        EXPECT_EQ(ParseCount(bad, 1, 100000), std::nullopt) << bad;
    EXPECT_EQ(ParseSeed("0"), 0u);
    EXPECT_EQ(ParseSeed("4294967295"), 4294967295u);
    for (const char* bad : {"", "4294967296", "-1", "12x", "daily"}) EXPECT_EQ(ParseSeed(bad), std::nullopt) << bad;
}

TEST(RelativeFiles, AreFoundInTheCurrentFolderFirstThenBesideTheGameFolder) {
    kwtest::GameFolder game;
    const fs::path here = game.Root().string() + "-here", before = fs::current_path();
    for (const fs::path& file :
         {game.Path("game/replays/last.kws"), game.Path("game/both.kws"), here / "game/both.kws"}) {
        fs::create_directories(file.parent_path());
        kwtest::WriteFile(file, "");
    }
    fs::current_path(here);
    for (const auto& [name, file] :
         {std::pair<std::string, fs::path>{"game/replays/last.kws", game.Path("game/replays/last.kws")},
          {"game/both.kws", "game/both.kws"},
          {"nowhere.kws", "nowhere.kws"},  // as typed, for the message
          {(here / "no.kws").string(), here / "no.kws"}}) {
        SetCommandLine("Windowed=NO;Replay=" + name);
        EXPECT_EQ(CommandLineFile("Replay"), file) << name;
    }
    fs::current_path(before);
    fs::remove_all(here);
}

}  // namespace
