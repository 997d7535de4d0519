// SPDX-License-Identifier: GPL-3.0-or-later
// The level reader and the level checker: header numbers read as the format writes them or are a
// mismatch, and each problem of a broken level is found where a level maker looks for it. (The
// shipped levels passing clean is the content test's.)
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>

#include "base/RuntimeError.h"
#include "game/LevelCells.h"
#include "game/LevelCheck.h"
#include "game/LevelFile.h"
#include "support/GameFolder.h"

namespace {

namespace fs = std::filesystem;

// Two letters for one orb would leave some orb that no level can place.
TEST(LevelCells, EveryLetterMakesADifferentOrb) {
    std::set<std::pair<int32_t, int32_t>> orbs;
    for (const LevelCell& cell : kLevelCells) orbs.insert({cell.orbType, cell.bonusKind});
    EXPECT_EQ(orbs.size(), kLevelCells.size());
}

struct NumberCase {
    const char* text;
    int32_t value;  // 0 when bad
    bool bad;
};

class LevelNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(LevelNumbers, HeaderNumbersReadAsTheFormatWritesThemOrAreAMismatch) {
    const NumberCase c = GetParam();
    int32_t value = 0, error = 0;
    try {
        value = ParseLevelNumber(c.text);
    } catch (const RuntimeError& e) {
        error = e.Number();
    }
    EXPECT_EQ(error, c.bad ? ErrorNumber::TypeMismatch : 0) << c.text;
    EXPECT_EQ(value, c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Texts, LevelNumbers,
                         ::testing::Values(NumberCase{"20", 20, false}, NumberCase{"  7 ", 7, false},
                                           NumberCase{"-3", -3, false}, NumberCase{"+4", 4, false},
                                           NumberCase{"12.5", 12, false}, NumberCase{"13.5", 14, false},
                                           NumberCase{"0007", 7, false}, NumberCase{"2147483647", 2147483647, false},
                                           NumberCase{"abc", 0, true}, NumberCase{"", 0, true},
                                           NumberCase{"12abc", 0, true}, NumberCase{"2147483648", 0, true},
                                           NumberCase{"99999999999999999999", 0, true}, NumberCase{".", 0, true},
                                           NumberCase{"-", 0, true}));

struct Finding {
    const char* file;
    int32_t line, column;
    bool error;
    const char* says;
};

const PictureExists kGamePictures = GamePictures(fs::path(KW_SOURCE_DIR) / "no-game-folder");

std::string Listing(const std::string& file, const LevelProblems& problems) {
    std::string text;
    for (const LevelProblem& p : problems) text += FormatProblem(file, p) + "\n";
    return text;
}

class BrokenLevels : public ::testing::TestWithParam<Finding> {};

TEST_P(BrokenLevels, EachProblemIsFoundOnItsLineAndColumn) {
    const Finding f = GetParam();
    const LevelProblems problems =
        CheckLevelFile(fs::path(KW_SOURCE_DIR) / "tests" / "game" / "levels" / f.file, true, kGamePictures);
    bool found = false;
    for (const LevelProblem& p : problems)
        found |= p.line == f.line && p.column == f.column && p.error == f.error &&
                 p.reason.find(f.says) != std::string::npos;
    EXPECT_TRUE(found) << Listing(f.file, problems);
    EXPECT_EQ(HasErrors(problems), f.error) << Listing(f.file, problems);
}

INSTANTIATE_TEST_SUITE_P(Files, BrokenLevels,
                         ::testing::Values(Finding{"rise_not_a_number.dat", 1, 1, true, "'fast' is not a number"},
                                           Finding{"rise_zero.dat", 1, 1, true, "out of range"},
                                           Finding{"rise_absurd.dat", 1, 1, true, "out of range"},
                                           Finding{"rows_more_than_given.dat", 2, 1, true, "says 4 rows but 2 follow"},
                                           Finding{"rows_twenty_five.dat", 2, 1, true, "the board holds 20"},
                                           Finding{"rows_twenty_five.dat", 5, 10, true, "lost at once"},
                                           Finding{"row_too_wide.dat", 5, 20, true, "past the board's 19 columns"},
                                           Finding{"row_too_wide.dat", 5, 20, true, "these 2 orbs are walled in"},
                                           Finding{"not_a_cell.dat", 5, 3, true, "'r' is not a cell"},
                                           Finding{"no_such_picture.dat", 3, 1, true, "no background picture 'medow'"},
                                           Finding{"picture_outside.dat", 3, 1, true, "not a picture name"},
                                           Finding{"clouds_not_yes_or_no.dat", 4, 1, false,
                                                   "anything but YES hides the clouds"},
                                           Finding{"ends_in_header.dat", 3, 0, true, "ends before line 3"},
                                           Finding{"stack_too_tall.dat", 5, 1, true, "reaches the dragon after 1.1 s"},
                                           Finding{"buried.dat", 6, 5, false, "only a fireball can free it"},
                                           Finding{"falls_at_start.dat", 5, 3, false, "falls when play starts"},
                                           Finding{"no_coloured_orb.dat", 0, 0, false, "won as soon as it starts"}));

// As Notepad saves it: the checker, the game's reader and the editor read past the mark.
TEST(Findings, AByteOrderMarkFirstIsNoPartOfTheLevel) {
    const fs::path file = fs::path(KW_SOURCE_DIR) / "tests" / "fuzz" / "corpus" / "level" / "notepad_bom.dat";
    const std::string bytes = kwtest::ReadFile(file);
    ASSERT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    EXPECT_FALSE(HasErrors(CheckLevelFile(file, true, kGamePictures)));
    EXPECT_EQ(WriteLevelFile(ReadLevelFile(file, true), true), bytes.substr(3));
}

TEST(Findings, ReadLikeACompilersAndAnUnreadableFileIsOneError) {
    EXPECT_EQ(FormatProblem("a.dat", {7, 3, true, "why"}), "a.dat:7:3: error: why");
    EXPECT_EQ(FormatProblem("a.dat", {0, 0, false, "why"}), "a.dat: warning: why");
    const LevelProblems missing = CheckLevelFile("/nonexistent/level.dat", true, kGamePictures);
    ASSERT_EQ(missing.size(), 1u);
    EXPECT_TRUE(missing[0].error);
}

}  // namespace
