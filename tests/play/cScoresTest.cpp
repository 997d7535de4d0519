// SPDX-License-Identifier: GPL-3.0-or-later
// The high-score table as the player sees it and as it is saved: the stored entries and the
// current game's entry together, best first, older first on a tie, cut to ten.
#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <utility>
#include <vector>

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "gfx/Gfx.h"
#include "play/cScores.h"
#include "support/GameFolder.h"

namespace {

using Table = std::vector<std::pair<int32_t, std::string>>;

// "5000 KWP 4500 ORB ...": scores and initials, best first.
Table Rows(const std::string& text) {
    std::istringstream in(text);
    Table rows;
    for (std::pair<int32_t, std::string> row; in >> row.first >> row.second;) rows.push_back(row);
    return rows;
}

const std::string kDescending =
    "5000 KWP 4500 ORB 4000 DRG 3500 EMB 3000 ASH 2500 FLM 2000 SPK 1500 WSP 1000 KIN 500 ZAP";
const std::string kLow = "100 AAB 50 ABA 0 BAA -2 BBA -3 BBB -4 CAA -5 CBA -6 CCA -7 CCB -8 CCC";

class ScoreTable : public ::testing::Test {
protected:
    void SetUp() override { gEngine = std::make_unique<GfxEngine>(); }
    void TearDown() override { gEngine.reset(); }

    void WriteTable(const Table& rows) {
        std::string text = "KWSCORES 1\n";
        for (const auto& [score, initials] : rows) text += std::to_string(score) + ' ' + initials + '\n';
        m_Folder.WriteText("game/data/scores.dat", text);
    }
    static Table Read(const cScores& scores) {
        Table rows;
        for (int32_t i = 1; i <= 10; ++i) rows.emplace_back(scores.HighScore(i), scores.HighScore_Initials(i));
        return rows;
    }
    static Table ReadFile() {
        GfxUtility& store = gEngine->GetUtility();
        store.LoadHighScores(cScores::ScoresPath());
        Table rows;
        for (int32_t i = 1; i <= 10; ++i) rows.emplace_back(store.GetHighScoreValue(i), store.GetHighScoreName(i));
        return rows;
    }

    kwtest::GameFolder m_Folder;
};

struct Game {
    const char* name;
    std::string stored;
    std::vector<int32_t> points;  // each added in one call
    int32_t position;
    std::string shown;
};

class Ranking : public ScoreTable, public ::testing::WithParamInterface<Game> {};

TEST_P(Ranking, TheGameRanksAmongTheStoredScoresAndTheSavedFileIsTheTableShown) {
    const Game& game = GetParam();
    WriteTable(Rows(game.stored));
    cScores scores;
    for (int32_t points : game.points) scores.AddToScore(points);
    EXPECT_EQ(scores.CurrentPosition(), game.position);
    EXPECT_EQ(Read(scores), Rows(game.shown));
    scores.SaveScores();
    EXPECT_EQ(ReadFile(), Rows(game.shown));
}

INSTANTIATE_TEST_SUITE_P(
    Games, Ranking,
    ::testing::Values(
        Game{"AStartLeavesTheTenthEntryAlone", kDescending, {}, 0, kDescending},
        Game{"LostPointsNeverPushARealScoreOut", kDescending, {-10}, 0, kDescending},
        Game{"OneChangeClimbsPastEveryLowerScore",
             kDescending,
             {2600},
             6,
             "5000 KWP 4500 ORB 4000 DRG 3500 EMB 3000 ASH 2600 AAA 2500 FLM 2000 SPK 1500 WSP 1000 KIN"},
        Game{"ATieLeavesTheOlderScoreAhead",
             kDescending,
             {1000},
             10,
             "5000 KWP 4500 ORB 4000 DRG 3500 EMB 3000 ASH 2500 FLM 2000 SPK 1500 WSP 1000 KIN 1000 AAA"},
        Game{"OneChangeSinksPastEveryHigherScoreAndTheDisplacedComeBack", kDescending, {4200, -4000}, 0, kDescending},
        Game{"AScoreOfMinusOneStaysTheGamesOwn",
             kLow,
             {-1, -1, 3},
             3,
             "100 AAB 50 ABA 1 AAA 0 BAA -2 BBA -3 BBB -4 CAA -5 CBA -6 CCA -7 CCB"},
        Game{"ANegativeGameStillRanksAboveLowerStoredScores",
             kLow,
             {-1},
             4,
             "100 AAB 50 ABA 0 BAA -1 AAA -2 BBA -3 BBB -4 CAA -5 CBA -6 CCA -7 CCB"},
        Game{"AFileOutOfOrderIsShownAndSavedInOrder",
             "500 ZAP 5000 KWP 1000 KIN 4500 ORB 1500 WSP 4000 DRG 2000 SPK 3500 EMB 2500 FLM 3000 ASH",
             {},
             0,
             kDescending}),
    [](const auto& info) { return std::string(info.param.name); });

struct LetterCase {
    std::string before;
    int32_t letter;
    int32_t delta;
    std::string after;
};

class InitialsEntry : public ScoreTable, public ::testing::WithParamInterface<LetterCase> {};

TEST_P(InitialsEntry, StepsOneLetterWithinAToZWithoutWrapping) {
    const LetterCase& c = GetParam();
    Table rows = Rows(kDescending);
    rows[0].second = c.before;
    WriteTable(rows);
    cScores scores;
    scores.AddInitialLetter(1, c.letter, c.delta);
    EXPECT_EQ(scores.HighScore_Initials(1), c.after);
}

INSTANTIATE_TEST_SUITE_P(Letters, InitialsEntry,
                         ::testing::Values(LetterCase{"AAA", 1, -1, "AAA"}, LetterCase{"AAA", 3, +1, "AAB"},
                                           LetterCase{"ZZZ", 2, +1, "ZZZ"}, LetterCase{"KWP", 1, 1000, "ZWP"},
                                           // No such letter: a short name or a letter number out of range.
                                           LetterCase{"AB", 3, +1, "AB"}, LetterCase{"KWP", 4, +1, "KWP"}));

TEST_F(ScoreTable, AGameOutsideTheTenHasNoInitialsToEditAndIndexesOutsideAnswerEmpty) {
    WriteTable(Rows(kDescending));
    cScores scores;
    scores.AddInitialLetter(scores.CurrentPosition(), 1, +1);
    scores.AddInitialLetter(11, 1, +1);
    EXPECT_EQ(Read(scores), Rows(kDescending));
    for (int32_t index : {0, 11, -1}) {
        EXPECT_EQ(scores.HighScore_Initials(index), "") << index;
        EXPECT_EQ(scores.HighScore_Score(index), "") << index;
        EXPECT_EQ(scores.HighScore(index), 0) << index;
    }
}

// A table that cannot be read is left as it is: the game is played against the default table and
// saves nothing. A failed save is said once, with what is wrong; only leaving the game through
// SaveScores ends the program then, not the save at the game's end, and the release only logs.
TEST_F(ScoreTable, ATableThatCannotBeReadIsLeftAloneAndAFailedSaveIsSaidOnceWithWhatIsWrong) {
    OpenErrorLog();
    std::filesystem::create_directories(m_Folder.Path("game/data/scores.dat"));
    {
        cScores scores;
        EXPECT_GT(scores.HighScore(1), 0) << "the default table";
        scores.AddToScore(100000);
        scores.KeepFinishedGame();
        scores.SaveScores();
    }
    EXPECT_TRUE(std::filesystem::is_empty(m_Folder.Path("game/data/scores.dat")));
    std::filesystem::remove(m_Folder.Path("game/data/scores.dat"));
    WriteTable(Rows(kDescending));
    std::filesystem::create_directories(m_Folder.Path("game/data/scores.dat.tmp/x"));
    {
        cScores scores;
        scores.KeepFinishedGame();
        scores.SaveScores();
    }
    EXPECT_THROW(cScores{}.SaveScores(), ExitSignal);
    CloseErrorLog();
    const std::string log = m_Folder.ReadText("game/errors.log");
    const std::string file = "The high-score file " + cScores::ScoresPath();
    EXPECT_NE(log.find("cScores.Initialize\r\nError Number: 76\r\nError: " + file + " cannot be read: it is"),
              log.npos);
    size_t saves = 0;
    for (size_t at = 0; (at = log.find(file + " cannot be written", at)) != std::string::npos; ++at) ++saves;
    EXPECT_EQ(saves, 2u) << log;
    EXPECT_EQ(ReadFile(), Rows(kDescending)) << "the stored table is left whole";
}

}  // namespace
