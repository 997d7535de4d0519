// SPDX-License-Identifier: GPL-3.0-or-later
// What a level brings with it: the surprise bonus orbs and the music (a level's tune drawn at its
// start, the won and lost tunes).
#include <gtest/gtest.h>

#include <cmath>

#include "PlayFixture.h"
#include "shell/Replays.h"
#include "shell/modSettings.h"

namespace playtest {
namespace {

using namespace OrbKind;

// A surprise orb takes its kind from the next draw, in the order chest, tornado, fireball.
TEST_F(Rules, ASurpriseOrbIsWhiteAndItsKindIsTheNextDraw) {
    m_Folder.WriteLevel("levels", 1, "35\r\n1\r\nsky\r\nNO\r\nUUUUUUUUUUUU\r\n");
    GfxUtility& random = gEngine->GetUtility();
    random.SeedRandom(4242);
    m_Play->CreateLevel();
    random.SeedRandom(4242);
    constexpr int32_t kKinds[] = {BonusKind::Chest, BonusKind::Tornado, BonusKind::Fireball};
    bool seen[3] = {};
    for (int32_t column = 0; column < 12; ++column) {
        const OrbRef orb = m_Play->At(column, 0);
        ASSERT_TRUE(orb);
        EXPECT_EQ(orb->OrbType(), White);
        const int32_t draw = random.RandomRange(1, 3);
        EXPECT_EQ(orb->BonusKindHeld(), kKinds[draw - 1]) << "column " << column;
        seen[draw - 1] = true;
    }
    EXPECT_TRUE(seen[0] && seen[1] && seen[2]) << "twelve draws should show every kind";
}

// The level's tune is drawn after reseeding from the time of day, so it changes from start to start.
class LevelMusic : public Rules, public ::testing::WithParamInterface<double> {};

TEST_P(LevelMusic, ALevelStartsATuneDrawnFromTheTimeOfDaySilentAndLooping) {
    UseVirtualClock(100000, GetParam());
    m_Folder.WriteLevel("levels", 1, "35\r\n1\r\nsky\r\nNO\r\nR\r\n");
    m_Play->CreateLevel();
    GfxUtility& random = gEngine->GetUtility();
    random.SeedRandom(static_cast<int32_t>(std::lrint(GetParam())));
    const std::string expected = "game/sounds/puzzle" + std::to_string(random.RandomRange(1, 3)) + ".mp3";
    GfxMusic& music = gEngine->GetMusic();
    EXPECT_EQ(music.GetLoadedPath(), expected);
    EXPECT_TRUE(music.IsPlaying());
    EXPECT_EQ(music.GetMusicVolume(), 0) << "the tune fades in from silence";
}

INSTANTIATE_TEST_SUITE_P(TimesOfDay, LevelMusic, ::testing::Values(8 * 3600.0, 12 * 3600.0 + 17, 23 * 3600.0 + 59));

// Winning and losing play their tunes, and what the game earns is on disk at once, whatever ends
// the run after: the level a win unlocks, and a lost game's score with the initials given so far,
// its replay kept once under one name.
TEST_F(Rules, WinningAndLosingPlayTheirTunesAndSaveWhatWasEarnedAtOnce) {
    LoadSettings();
    StartRecording();
    m_Folder.WriteLevel("levels", 2, kwtest::LevelText(500, "sky", {"R"}));
    for (int32_t c : {3, 4, 5}) m_Play->Place(BlackFixed, c, 0);
    m_Play->Place(Red, 3, 1);
    m_Play->Place(Red, 5, 1);
    m_Play->Shoot(Red, 4);
    Play(3000);
    ASSERT_TRUE(m_Play->LevelComplete());
    EXPECT_EQ(gEngine->GetMusic().GetLoadedPath(), "game/sounds/puzzlew.mp3");
    EXPECT_TRUE(gEngine->GetMusic().IsPlaying());
    EXPECT_EQ(m_Folder.ReadText("game/data/game.dat").substr(0, 3), "2\r\n");

    m_Play->m_Board = Collection<OrbRef>();
    m_Play->m_LevelComplete = false;
    m_Play->m_Scores->AddToScore(90000);
    m_Play->m_Scores->AddInitialLetter(1, 2, +3);
    m_Play->Place(Red, 0, 0);
    m_Play->Place(BlackFixed, 2, 19);  // above the top of the screen
    Play(16);
    ASSERT_TRUE(m_Play->GameOver());
    EXPECT_EQ(gEngine->GetMusic().GetLoadedPath(), "game/sounds/puzzlel.mp3");
    EXPECT_TRUE(gEngine->GetMusic().IsPlaying());
    const std::string score = std::to_string(m_Play->Score());
    EXPECT_NE(m_Folder.ReadText("game/data/scores.dat").find(score + " ADA"), std::string::npos) << score;
    m_Play.reset();
    const std::vector<std::filesystem::directory_entry> replays(
        std::filesystem::directory_iterator(m_Folder.Path("game/replays")), {});
    ASSERT_EQ(replays.size(), 1u);
    EXPECT_TRUE(replays[0].path().stem().string().ends_with("-" + score)) << replays[0].path();
}

}  // namespace
}  // namespace playtest
