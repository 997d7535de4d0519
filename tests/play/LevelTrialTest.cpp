// SPDX-License-Identifier: GPL-3.0-or-later
// Play-testing levels with the casual player: a level any player wins is always won, one that can
// never be won never is, and each shipped level is won often enough for its place in the curve.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "base/Globals.h"
#include "play/LevelTrial.h"

namespace {

namespace fs = std::filesystem;

TrialSummary Play(const std::string& text, int32_t runs) {
    const fs::path file = fs::temp_directory_path() / ("kw-trial-level-" + std::to_string(::getpid()) + ".dat");
    std::ofstream(file, std::ios::binary) << text;
    TrialSummary summary = PlayLevelTrials(file, runs);
    fs::remove(file);
    return summary;
}

TEST(LevelTrial, ASlowPairIsAlwaysWonAndAWalledInOrbNeverWithoutAGameFolder) {
    // The trial's world is its own: it reads no picture, sound or score file and writes nothing.
    gProgramFolder = fs::temp_directory_path() / ("kw-no-game-" + std::to_string(::getpid()));
    const TrialSummary easy = Play("1000\r\n1\r\nmeadow\r\nNO\r\nRR....BB...........\r\n", 4);
    EXPECT_FALSE(fs::exists(gProgramFolder));
    EXPECT_EQ(easy.Won(), 4);
    ASSERT_TRUE(easy.MedianWinMs());
    EXPECT_LT(*easy.MedianWinMs(), 60000);
    // The bottom row starts 368 pixels under the dragon, and the slow board never rose far.
    EXPECT_LE(*easy.TightestWonMargin(), 368);
    EXPECT_GT(*easy.TightestWonMargin(), 200);

    // The red in the twentieth column stands beside an empty one: no shot ever lands next to it.
    const TrialSummary walled = Play("30\r\n1\r\nmeadow\r\nNO\r\nRR.................R\r\n", 3);
    EXPECT_EQ(walled.Won(), 0);
    EXPECT_EQ(walled.Lost(), 3);
    EXPECT_FALSE(walled.MedianWinMs());
}

class ShippedLevel : public ::testing::TestWithParam<int> {};

// Few runs each, so the whole curve plays in CI; the report gives 200 runs a level.
TEST_P(ShippedLevel, IsWonByTheCasualPlayerAsOftenAsItsPlaceInTheCurveAsks) {
    const int level = GetParam();
    const fs::path file = fs::path(KW_SOURCE_DIR) / "data" / "levels" / ("level" + std::to_string(level) + ".dat");
    const TrialSummary summary = PlayLevelTrials(file, 4);
    EXPECT_GE(summary.Won(), level <= 10 ? 3 : 1) << "level " << level;
}

INSTANTIATE_TEST_SUITE_P(Curve, ShippedLevel, ::testing::Range(1, 33));

}  // namespace
