// The replays kept in game/replays/: last and previous, the best top-ten games, and a folder that
// cannot be written.
#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "base/modError.h"
#include "gfx/Clock.h"
#include "shell/Replays.h"
#include "support/GameFolder.h"

namespace {

class Replays : public ::testing::Test {
protected:
    void SetUp() override {
        UseVirtualClock(0, 12 * 3600);
        OpenErrorLog();
    }
    void TearDown() override { CloseErrorLog(); }
    // One run of `ms`, saved as last.kws at its end.
    void Run(uint32_t ms) {
        StartRecording();
        AdvanceVirtualClock(ms);
        RecordFrame();
        SaveLastReplay();
    }
    kwtest::GameFolder m_Folder;
};

TEST_F(Replays, EachEndKeepsTheRunBeforeAsPrevious) {
    Run(20);
    EXPECT_FALSE(m_Folder.Exists("game/replays/previous.kws"));
    const std::string first = m_Folder.ReadText("game/replays/last.kws");
    EXPECT_NE(first.find("at 0 frame 20\nend 40\n"), std::string::npos) << first;
    Run(30);
    EXPECT_EQ(m_Folder.ReadText("game/replays/previous.kws"), first);
    EXPECT_NE(m_Folder.ReadText("game/replays/last.kws").find("at 0 frame 30\nend 60\n"), std::string::npos);
}

TEST_F(Replays, OnlyTheTwentyBestTopTenGamesAreKept) {
    std::filesystem::create_directories(m_Folder.Path("game/replays"));
    m_Folder.WriteText("game/replays/my-best-1.kws", "the player's own");
    StartRecording();
    for (int32_t score :
         {500, 20, 700, 10, 30, 40, 50, 60, 70, 80, 90, 100, 110, 120, 130, 140, 150, 160, 170, 180, 190, 200})
        KeepHighScoreReplay(score);
    SaveLastReplay();
    std::multiset<int32_t> kept;
    for (const auto& entry : std::filesystem::directory_iterator(m_Folder.Path("game/replays"))) {
        const std::string name = entry.path().filename().string();
        if (name == "last.kws" || name == "my-best-1.kws") continue;
        kept.insert(std::stoi(name.substr(name.rfind('-') + 1)));
    }
    EXPECT_EQ(kept.size(), 20u);
    EXPECT_EQ(kept.count(10) + kept.count(20), 0u);  // the lowest went first
    EXPECT_EQ(kept.count(700), 1u);
    EXPECT_EQ(m_Folder.ReadText("game/replays/my-best-1.kws"), "the player's own");
}

TEST_F(Replays, AFolderThatCannotBeWrittenIsLoggedOnceAndWhatStandsInItsPlaceIsLeftAlone) {
    m_Folder.WriteText("game/replays", "a file where the folder should be");
    StartRecording();
    KeepHighScoreReplay(900);
    SaveLastReplay();
    CloseErrorLog();
    int entries = 0;
    for (const auto& line : m_Folder.LogLines()) entries += line.find("modReplays") != std::string::npos;
    EXPECT_EQ(entries, 1);
    EXPECT_EQ(m_Folder.ReadText("game/replays"), "a file where the folder should be");
}

}  // namespace
