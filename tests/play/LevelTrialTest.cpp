// SPDX-License-Identifier: GPL-3.0-or-later
// Play-testing levels with the casual player: a level any player wins is always won, one that can
// never be won never is, and each shipped level keeps its place in the climb for both players.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>

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

// The climb the levels are drawn for, in share of games won: the distracted player wins the first
// levels nearly always and then less and less, to about half at the end; the casual player wins
// the first twenty nearly always and every level often. A few runs each, so the whole climb plays
// in CI and only a level far out of its place fails; bench/climb.cpp measures it properly.
double DistractedShare(int level) { return level <= 8 ? 1.0 : 0.94 - 0.5 * (level - 9) / 23; }
double CasualFloor(int level) { return level <= 20 ? 0.9 : 0.4; }

TEST_P(ShippedLevel, KeepsItsPlaceInTheClimbForBothPlayers) {
    const int level = GetParam();
    const fs::path file = fs::path(KW_SOURCE_DIR) / "data" / "levels" / ("level" + std::to_string(level) + ".dat");
    constexpr int kRuns = 8;
    TrialOptions distracted;
    distracted.player = PlayerProfiles::Distracted;
    for (const auto& [options, low, high] :
         {std::tuple{TrialOptions{}, CasualFloor(level) - 0.4, 1.0},
          std::tuple{distracted, DistractedShare(level) - 0.35, DistractedShare(level) + 0.35}}) {
        const TrialSummary summary = PlayLevelTrials(file, kRuns, options);
        const double share = static_cast<double>(summary.Won()) / kRuns;
        EXPECT_GE(share, low) << options.player.name << " player, level " << level;
        EXPECT_LE(share, high) << options.player.name << " player, level " << level;
        // Neither a grind nor over at once.
        if (summary.MedianWinMs() && level > 3) {
            EXPECT_LE(*summary.MedianWinMs(), 150000) << options.player.name << " player, level " << level;
            EXPECT_GE(*summary.MedianWinMs(), 10000) << options.player.name << " player, level " << level;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Curve, ShippedLevel, ::testing::Range(1, 33));

}  // namespace
