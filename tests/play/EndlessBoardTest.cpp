// SPDX-License-Identifier: GPL-3.0-or-later
// Endless boards: a seed and a board number always give the same board, a mirror-symmetric one the
// checker passes, with each kind of orb no earlier than the shipped levels bring it in; and proven
// boards are won as often as their place in the curve asks.
#include <gtest/gtest.h>

#include <filesystem>
#include <map>
#include <string>

#include "game/LevelCheck.h"
#include "game/LevelGenerator.h"
#include "play/EndlessBoard.h"
#include "support/GameFolder.h"

namespace {

std::string Design(uint32_t seed, int32_t board, int32_t attempt = 0) {
    return WriteLevelFile(DesignBoard(seed, board, attempt, DifficultyOf(board)), true);
}

// The first shipped level that holds each cell letter.
std::map<char, int32_t> ShippedFirstLevels() {
    std::map<char, int32_t> first;
    for (int32_t level = 1;; ++level) {
        const auto file =
            std::filesystem::path(KW_SOURCE_DIR) / "data" / "levels" / ("level" + std::to_string(level) + ".dat");
        if (!std::filesystem::exists(file)) return first;
        for (const LevelFile::OrbRow& row : ReadLevelFile(file, true).orbRows)
            for (const char c : row.cells) first.emplace(c, level);
    }
}

TEST(EndlessBoard, ASeedAndANumberGiveOneBoardOnEveryMachineAndAnotherAttemptAnother) {
    // Written down once: a generator that drew from anything but its own fixed-width stream
    // would give another board on another machine or library.
    EXPECT_EQ(Design(0, 1), "560\r\n2\r\nmeadow\r\nYES\r\n.......RBBBR.......\r\n.....GRRBBBRRG.....\r\n");
    EXPECT_EQ(Design(4294967295U, 37), Design(4294967295U, 37));
    EXPECT_NE(Design(5, 12), Design(6, 12));
    EXPECT_NE(Design(5, 12), Design(5, 12, 1));
}

TEST(EndlessBoard, EveryDesignIsSymmetricCheckedCleanAndBringsInOrbsInTheShippedOrder) {
    const std::map<char, int32_t> first = ShippedFirstLevels();
    for (const int32_t board : {1, 2, 5, 6, 9, 12, 13, 16, 19, 21, 25, 33, 40, 41, 1000000})
        for (const uint32_t seed : {1U, 77U, 3000000000U}) {
            const std::string text = Design(seed, board);
            const LevelProblems problems = CheckLevel(text, true, GamePictures({}));
            EXPECT_TRUE(problems.empty()) << text << FormatProblem("board", problems.front());
            for (const LevelFile::OrbRow& row : ParseLevelFile(text, true).orbRows)
                for (size_t c = 0; c < row.cells.size(); ++c) {
                    EXPECT_EQ(row.cells[c] == '.', row.cells[row.cells.size() - 1 - c] == '.') << text;
                    if (row.cells[c] != '.') {
                        EXPECT_GE(board, first.at(row.cells[c])) << row.cells[c] << "\n" << text;
                    }
                }
        }
}

TEST(EndlessBoard, ProvenBoardsAreWonNearlyAlwaysAtFirstAndOftenButNotAlwaysLater) {
    kwtest::GameFolder noFolder;  // trials need none
    TrialOptions unseen;
    unseen.firstRun = 1000;
    int32_t won[2] = {}, played[2] = {};
    for (const uint32_t seed : {3U, 4U, 5U})
        for (const int32_t board : {1, 30}) {
            const auto proven = GenerateProvenBoard(seed, board);
            ASSERT_TRUE(proven) << "board " << board;
            EXPECT_EQ(proven->text, WriteLevelFile(proven->level, true));
            EXPECT_GE(proven->proof.Won(), BoardProof::Wins);
            const TrialSummary later = PlayLevelTrials(proven->level, 6, unseen);
            won[board > 1] += later.Won();
            played[board > 1] += 6;
        }
    EXPECT_EQ(won[0], played[0]);
    EXPECT_GT(won[1], played[1] / 4);
    EXPECT_LT(won[1], played[1]);
}

}  // namespace
