// SPDX-License-Identifier: GPL-3.0-or-later
// The generator, the clock and the high-score file.
#include <gtest/gtest.h>

#include <fstream>
#include <set>

#include "GfxFixture.h"

namespace {

using RandomAndClock = GfxFixture;

TEST_F(RandomAndClock, EveryDrawLiesWithinBothEndsInEitherOrderAndBothEndsAreDrawn) {
    GfxUtility& u = m_Engine->GetUtility();
    u.SeedRandom(42);
    for (const auto& [low, high] : {std::pair{1, 5}, {0, 0}, {-3, 3}, {5, 1}, {INT32_MIN, INT32_MAX}, {0, 1000000}}) {
        std::set<int32_t> seen;
        for (int i = 0; i < 4000; ++i) seen.insert(u.RandomRange(low, high));
        const int64_t lo = std::min(low, high), hi = std::max(low, high);
        EXPECT_GE(*seen.begin(), lo) << low << ".." << high;
        EXPECT_LE(*seen.rbegin(), hi) << low << ".." << high;
        if (hi - lo < 50) {
            EXPECT_EQ(static_cast<int64_t>(seen.size()), hi - lo + 1) << low << ".." << high;
        }
    }
}

TEST_F(RandomAndClock, TheSameSeedGivesTheSameDrawsOnEveryPlatform) {
    GfxUtility& u = m_Engine->GetUtility();
    const auto draws = [&u](int32_t seed) {
        u.SeedRandom(seed);
        std::vector<int32_t> drawn;
        for (int i = 0; i < 8; ++i) drawn.push_back(u.RandomRange(1, 100));
        return drawn;
    };
    // Fixed by our own generator and range mapping, not by the standard library.
    EXPECT_EQ(draws(12345), (std::vector<int32_t>{40, 4, 84, 48, 69, 51, 22, 83}));
    EXPECT_EQ(draws(12345), draws(12345));
    EXPECT_NE(draws(12346), draws(12345));
}

TEST_F(RandomAndClock, TheVirtualClockWrapsAndGivesTheTimeOfDay) {
    UseVirtualClock(0xFFFFFFF0u, 23 * 3600 + 59 * 60 + 59.5);
    const int32_t start = GetTickCount();
    AdvanceVirtualClock(32);
    EXPECT_EQ(TicksSince(GetTickCount(), start), 32);
    EXPECT_EQ(GetTickCount(), 16);
    AdvanceVirtualClock(1000);
    EXPECT_NEAR(Timer(), 0.532, 0.001);  // past midnight
}

// A laptop suspended for two months: the real clock takes the stall in steps a recording holds,
// all of it, and then goes on at the display's pace.
TEST(FrameStepper, TakesAStallBeyondTheLongestFrameInFramesARecordingHolds) {
    FrameStepper stepper;
    int64_t game = 0, real = 0;
    for (int pass = 0; pass < 12; ++pass) {
        const int64_t raw = pass == 3 ? 2 * int64_t{MaxFrameMs} + 5000 : 16;
        real += raw;
        const int64_t step = stepper.Next(real - (game + stepper.stepMs), raw);
        EXPECT_GE(step, 1);
        EXPECT_LE(step, int64_t{MaxFrameMs});
        game += step;
    }
    EXPECT_NEAR(static_cast<double>(game), static_cast<double>(real), 100.0);
    EXPECT_EQ(stepper.stepMs, 16);
}

class HighScoreStore : public GfxFixture {
protected:
    GfxUtility& U() { return m_Engine->GetUtility(); }
    std::string Entry(GfxUtility& u, int i) {
        return std::to_string(u.GetHighScoreValue(i)) + " " + u.GetHighScoreName(i);
    }
};

TEST_F(HighScoreStore, AScoreOfMinusOneChangesTheInitialsOnly) {
    U().SetHighScore(4, "ABC", 2500);
    U().SetHighScore(4, "XYZ", -1);
    EXPECT_EQ(Entry(U(), 4), "2500 XYZ");
}

// Entries "9000 KWA" down, 100 apart, with the separator and line end given.
std::string Entries(int count, const std::string& gap = " ", const std::string& end = "\n") {
    std::string text;
    for (int i = 0; i < count; ++i) text += std::to_string(9000 - 100 * i) + gap + "KW" + char('A' + i) + end;
    return text;
}

struct ScoresFile {
    const char* name;
    std::string text;
    const char* first;  // entry 1 and entry 10 after loading, as "score initials"
    const char* last;
    bool damaged;  // reported, and kept as scores.dat.bad
};

class ScoresFiles : public HighScoreStore, public ::testing::WithParamInterface<ScoresFile> {};

TEST_P(ScoresFiles, ReadWhatCanBeReadAndTakeTheRestFromTheDefaultTable) {
    const ScoresFile& c = GetParam();
    std::vector<std::string> reports;
    U().SetRepairReport([&reports](const std::string& what) { reports.push_back(what); });
    std::ofstream(m_Folder / "scores.dat", std::ios::binary) << c.text;
    U().LoadHighScores("scores.dat");
    EXPECT_EQ(Entry(U(), 1), c.first);
    EXPECT_EQ(Entry(U(), 10), c.last);
    EXPECT_EQ(!reports.empty(), c.damaged);
    EXPECT_EQ(std::filesystem::exists(m_Folder / "scores.dat.bad"), c.damaged);
    for (int i = 1; i <= 10; ++i) EXPECT_LE(U().GetHighScoreName(i).size(), 3u);
}

INSTANTIATE_TEST_SUITE_P(
    Files, ScoresFiles,
    ::testing::Values(
        ScoresFile{"WindowsLineEnds", "KWSCORES 1\r\n" + Entries(10, " ", "\r\n"), "9000 KWA", "8100 KWJ", false},
        ScoresFile{"TabsForSpaces", "KWSCORES 1\n" + Entries(10, "\t"), "9000 KWA", "8100 KWJ", false},
        ScoresFile{"AMissingLine", "KWSCORES 1\n" + Entries(9), "9000 KWA", "500 ZAP", true},
        ScoresFile{"JunkLines", "KWSCORES 1\nx D\n12x K\n" + Entries(8) + "99999999999 J\n", "9000 KWA", "500 ZAP",
                   true},
        ScoresFile{"NoHeader", Entries(10), "9000 KWA", "8100 KWJ", true},
        ScoresFile{"Empty", "", "5000 KWP", "500 ZAP", true},
        ScoresFile{"TenGoodEntriesThenTooLong", "KWSCORES 1\n" + Entries(10) + std::string(20000, '\n'), "9000 KWA",
                   "8100 KWJ", true},
        ScoresFile{"ALowScoreSortsBelowTheDefaults", "KWSCORES 1\n10 LOW\n", "4500 ORB", "10 LOW", true},
        ScoresFile{"Binary", std::string("\x89\xff\0\x01KWSCORES\n\xfe", 14), "5000 KWP", "500 ZAP", true},
        ScoresFile{"LongInitialsAndOddLetters", "KWSCORES 1\n9000 k\xffW1P\n8900 KWPXYZ\n" + Entries(10).substr(18),
                   "9000 WP", "8100 KWJ", true},
        ScoresFile{"AMegabyteLine", "KWSCORES 1\n" + std::string(1 << 20, '7') + "\n" + Entries(10), "5000 KWP",
                   "500 ZAP", true}),
    [](const ::testing::TestParamInfo<ScoresFile>& info) { return std::string(info.param.name); });

TEST_F(HighScoreStore, AMissingFileLoadsTheShippedDefaultTable) {
    U().LoadHighScores("nothere.dat");
    std::filesystem::copy_file(std::filesystem::path(KW_SOURCE_DIR) / "data/scores.dat", m_Folder / "shipped.dat");
    GfxEngine shipped;  // a copy, so no repair ever touches the source tree
    shipped.GetUtility().LoadHighScores(PathOf("shipped.dat"));
    for (int i = 1; i <= 10; ++i) EXPECT_EQ(Entry(U(), i), Entry(shipped.GetUtility(), i));
}

}  // namespace
