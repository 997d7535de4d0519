// The current game's entry in the high-score table: claiming, climbing, sinking, initials, saving.
#include "play/cScores.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <utility>
#include <vector>

#include "base/Globals.h"
#include "gfx/Gfx.h"

namespace {
namespace fs = std::filesystem;

using Table = std::vector<std::pair<int32_t, std::string>>;

class ScoresTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_Folder = fs::path(::testing::TempDir()) /
                   ("kw_scores_" + std::to_string(::getpid()) + "_" + std::to_string(++s_Run));
        fs::remove_all(m_Folder);
        fs::create_directories(m_Folder / "game" / "data");
        m_SavedFolder = gProgramFolder;
        gProgramFolder = m_Folder;
        if (!gEngine) {
            gEngine = std::make_unique<GfxEngine>();
            m_OwnEngine = true;
        }
    }
    void TearDown() override {
        if (m_OwnEngine) gEngine.reset();
        gProgramFolder = m_SavedFolder;
        fs::remove_all(m_Folder);
    }

    void WriteTable(const Table& rows) {
        std::ofstream out(m_Folder / "game" / "data" / "scores.dat");
        out << "KWSCORES 1\n";
        for (const auto& [score, initials] : rows) out << score << ' ' << initials << '\n';
    }
    static Table Descending() {
        return {{5000, "KWP"}, {4500, "ORB"}, {4000, "DRG"}, {3500, "EMB"}, {3000, "ASH"},
                {2500, "FLM"}, {2000, "SPK"}, {1500, "WSP"}, {1000, "KIN"}, {500, "ZAP"}};
    }
    static Table Read(const cScores& scores) {
        Table rows;
        for (int32_t i = 1; i <= 10; ++i) rows.emplace_back(scores.HighScore(i), scores.HighScore_Initials(i));
        return rows;
    }

    fs::path m_Folder;
    fs::path m_SavedFolder;
    bool m_OwnEngine = false;
    static inline int s_Run = 0;
};

TEST_F(ScoresTest, ANewGameClaimsTheLastEntryAndClimbsPastEveryLowerScoreInOneCall) {
    WriteTable(Descending());
    cScores scores;
    EXPECT_EQ(scores.HighScore_Initials(10), "AAA");
    EXPECT_EQ(scores.HighScore(10), 0);
    EXPECT_EQ(scores.CurrentPosition(), 0);

    scores.AddToScore(2600);
    EXPECT_EQ(scores.CurrentScore(), 2600);
    EXPECT_EQ(scores.CurrentPosition(), 6);
    const Table expected = {{5000, "KWP"}, {4500, "ORB"}, {4000, "DRG"}, {3500, "EMB"}, {3000, "ASH"},
                            {2600, "AAA"}, {2500, "FLM"}, {2000, "SPK"}, {1500, "WSP"}, {1000, "KIN"}};
    EXPECT_EQ(Read(scores), expected);

    scores.AddToScore(10000);
    EXPECT_EQ(scores.CurrentPosition(), 1);
    EXPECT_EQ(scores.HighScore_Score(1), "12600");
    EXPECT_EQ(scores.HighScore_Initials(2), "KWP");
}

TEST_F(ScoresTest, ANewGameTakesOverTheFirstEntryThatAlreadyScoresZero) {
    Table rows = Descending();
    rows[5] = {0, "BOB"};
    rows[6] = {0, "SUE"};
    rows[7] = {0, "TIM"};
    rows[8] = {0, "ANN"};
    WriteTable(rows);
    cScores scores;
    scores.AddToScore(100);
    EXPECT_EQ(scores.CurrentPosition(), 6);
    EXPECT_EQ(scores.HighScore_Initials(6), "BOB");
    EXPECT_EQ(scores.HighScore(6), 100);
    EXPECT_EQ(scores.HighScore_Initials(7), "SUE");
    EXPECT_EQ(scores.HighScore(7), 0);
    EXPECT_EQ(scores.HighScore_Initials(10), "AAA");
    EXPECT_EQ(scores.HighScore(10), 0);
}

TEST_F(ScoresTest, LostPointsGoBelowZeroAndSinkTheEntryOnePlacePerCall) {
    Table rows = Descending();
    for (size_t i = 5; i < 10; ++i) rows[i] = {0, "Z" + std::string(1, static_cast<char>('A' + i)) + "Z"};
    WriteTable(rows);
    cScores scores;
    scores.AddToScore(-10);
    EXPECT_EQ(scores.CurrentScore(), -10);
    EXPECT_EQ(scores.CurrentPosition(), 7);
    EXPECT_EQ(scores.HighScore_Initials(7), "ZFZ");
    EXPECT_EQ(scores.HighScore_Initials(6), "ZGZ");
    scores.AddToScore(-10);
    EXPECT_EQ(scores.CurrentScore(), -20);
    EXPECT_EQ(scores.CurrentPosition(), 8);
}

TEST_F(ScoresTest, IndexesOutsideTheTableAnswerEmpty) {
    WriteTable(Descending());
    cScores scores;
    for (int32_t index : {0, 11, -1, 255}) {
        EXPECT_EQ(scores.HighScore_Initials(index), "") << index;
        EXPECT_EQ(scores.HighScore_Score(index), "") << index;
        EXPECT_EQ(scores.HighScore(index), 0) << index;
    }
    EXPECT_EQ(scores.HighScore_Score(1), "5000");
}

struct LetterCase {
    std::string before;
    int32_t letter;
    int32_t delta;
    std::string after;
};

class InitialsTest : public ScoresTest, public ::testing::WithParamInterface<LetterCase> {};

TEST_P(InitialsTest, StepsOneLetterWithinAToZWithoutWrapping) {
    const LetterCase& c = GetParam();
    Table rows = Descending();
    rows[0].second = c.before;
    WriteTable(rows);
    cScores scores;
    scores.AddInitialLetter(1, c.letter, c.delta);
    EXPECT_EQ(scores.HighScore_Initials(1), c.after);
    EXPECT_EQ(scores.HighScore(1), 5000) << "editing initials never touches the score";
}

INSTANTIATE_TEST_SUITE_P(Letters, InitialsTest,
                         ::testing::Values(LetterCase{"AAA", 1, -1, "AAA"}, LetterCase{"AAA", 1, +1, "BAA"},
                                           LetterCase{"AAA", 3, +1, "AAB"}, LetterCase{"ZZZ", 2, +1, "ZZZ"},
                                           LetterCase{"KWP", 2, -1, "KVP"}, LetterCase{"KWP", 1, -100, "AWP"},
                                           LetterCase{"KWP", 1, 1000, "ZWP"},
                                           // No such letter: a short name or a letter number out of range.
                                           LetterCase{"AB", 3, +1, "AB"}, LetterCase{"KWP", 0, +1, "KWP"},
                                           LetterCase{"KWP", 4, +1, "KWP"}));

TEST_F(ScoresTest, InitialsOfAGameWithoutAnEntryCannotBeEdited) {
    WriteTable(Descending());
    cScores scores;
    ASSERT_EQ(scores.CurrentPosition(), 0);
    scores.AddInitialLetter(scores.CurrentPosition(), 1, +1);
    scores.AddInitialLetter(11, 1, +1);
    EXPECT_EQ(Read(scores)[0], (std::pair<int32_t, std::string>{5000, "KWP"}));
    EXPECT_EQ(scores.HighScore_Initials(10), "AAA");
}

TEST_F(ScoresTest, TheWholeTableSurvivesASaveAndTheNextLoad) {
    WriteTable(Descending());
    Table saved;
    {
        cScores scores;
        scores.AddToScore(4200);
        scores.AddInitialLetter(scores.CurrentPosition(), 1, +10);
        scores.AddInitialLetter(scores.CurrentPosition(), 3, +25);
        scores.SaveScores();
        saved = Read(scores);
    }
    EXPECT_EQ(saved[2], (std::pair<int32_t, std::string>{4200, "KAZ"}));
    gEngine->GetUtility().LoadHighScores(cScores::ScoresPath());
    for (int32_t i = 1; i <= 10; ++i) {
        EXPECT_EQ(gEngine->GetUtility().GetHighScoreValue(i), saved[static_cast<size_t>(i - 1)].first);
        EXPECT_EQ(gEngine->GetUtility().GetHighScoreName(i), saved[static_cast<size_t>(i - 1)].second);
    }
}

TEST_F(ScoresTest, ReleasingTheScoresWritesTheTableEvenWithoutAnExplicitSave) {
    WriteTable(Descending());
    {
        cScores scores;
        scores.AddToScore(9999);
    }
    gEngine->GetUtility().SetHighScore(1, "XXX", 1);  // so only the file can answer below
    gEngine->GetUtility().LoadHighScores(cScores::ScoresPath());
    EXPECT_EQ(gEngine->GetUtility().GetHighScoreValue(1), 9999);
    EXPECT_EQ(gEngine->GetUtility().GetHighScoreName(1), "AAA");
}

}  // namespace
