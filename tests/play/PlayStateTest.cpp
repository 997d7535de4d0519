// SPDX-License-Identifier: GPL-3.0-or-later
// The play screen's rules by situation: pause, the halted displays, the volume keys, the initials
// entry, leaving by Esc and Restart, and the timed displays that advance while drawn.
#include <gtest/gtest.h>

#include "PlayFixture.h"
#include "game/cOrb.h"

namespace playtest {
namespace {

enum class Situation { Intro, Playing, LevelComplete, GameOver };

class PlayInputTest : public PlayFixture {
protected:
    PlayProbe& Enter(Situation situation) {
        PlayProbe& play = Start();
        if (situation == Situation::Intro) return play;
        SkipIntro();
        if (situation == Situation::LevelComplete) {
            play.m_LevelComplete = true;
            play.m_CompleteAlpha = 1;
            play.m_CompleteBonus = 0;
            play.m_CompleteTime = GetTickCount();
        } else if (situation == Situation::GameOver) {
            play.m_GameOver = true;
            play.m_GameOverAlpha = 1;
            play.m_GameOverTime = GetTickCount();
            play.m_InitialsCursor = 1;
        }
        return play;
    }
    int32_t PauseSounds() const { return gEngine->GetSoundStore().PlayCount(gSound->Sound("pause.wav")); }
};

class PlayBySituationTest : public PlayInputTest, public ::testing::WithParamInterface<Situation> {};

TEST_P(PlayBySituationTest, MovingFiringVolumeAndPauseActOnlyWhilePlaying) {
    const bool playing = GetParam() == Situation::Playing;
    PlayProbe& play = Enter(GetParam());

    Hold(GfxKey::F8);
    Frames(5);
    Release(GfxKey::F8);
    EXPECT_EQ(gMusicVolume, playing ? 85 : 80);

    Hold(GfxKey::Right);
    Frames(3);  // shorter than one column's move, so exactly one move starts
    Release(GfxKey::Right);
    Frames(10);
    EXPECT_EQ(play.DragonColumn(), playing ? 10 : 9);

    Hold(GfxKey::Space);
    Frame();
    Release(GfxKey::Space);
    EXPECT_EQ(play.Moving().Count(), playing ? 1 : 0);

    Tap(GfxKey::P);
    EXPECT_EQ(gPaused, playing);
}

INSTANTIATE_TEST_SUITE_P(Situations, PlayBySituationTest,
                         ::testing::Values(Situation::Intro, Situation::Playing, Situation::LevelComplete,
                                           Situation::GameOver));

TEST_F(PlayInputTest, WhilePausedOnlyPauseAndTheInitialsKeysAreHeard) {
    PlayProbe& play = Enter(Situation::Playing);
    Tap(GfxKey::P);
    ASSERT_TRUE(gPaused);
    EXPECT_EQ(PauseSounds(), 1);
    EXPECT_FALSE(gEngine->GetMusic().IsPlaying());

    Tap(GfxKey::Escape);
    for (int32_t key : {GfxKey::Right, GfxKey::Left, GfxKey::Space, GfxKey::F7, GfxKey::F8}) Hold(key);
    gMouse->X = 400;
    gMouse->Y = 300;
    gMouse->Button_Down(1);
    Frames(20);
    for (int32_t key : {GfxKey::Right, GfxKey::Left, GfxKey::Space, GfxKey::F7, GfxKey::F8}) Release(key);
    gMouse->Button_Up(1);
    Frame();
    EXPECT_TRUE(gRunning);
    EXPECT_EQ(play.DragonColumn(), 9);
    EXPECT_EQ(play.Moving().Count(), 0);
    EXPECT_EQ(gMusicVolume, 80);

    Tap(GfxKey::P);
    EXPECT_FALSE(gPaused);
    EXPECT_EQ(PauseSounds(), 2);
}

TEST_F(PlayInputTest, TheGamepadsBackAndStartButtonsTogglePauseButNothingDoesWhileTheWindowIsInactive) {
    ASSERT_TRUE(gEngine->AttachVirtualJoystick());
    Enter(Situation::Playing);
    gInactive = true;
    Tap(GfxKey::P);
    EXPECT_FALSE(gPaused);
    gInactive = false;
    for (int32_t button : {6, 4}) {
        const bool before = gPaused;
        gEngine->InjectJoyButton(button, true);
        Frame();
        gEngine->InjectJoyButton(button, false);
        Frame();
        EXPECT_NE(gPaused, before) << "button " << button;
    }
}

TEST_F(PlayInputTest, AVolumeKeyStepsFiveAtItsPressThenFrom400msEvery150msAndTheVolumeShowsForASecond) {
    Enter(Situation::Playing);
    Hold(GfxKey::F7);
    Frames(25);  // the press, then held to 384 ms
    EXPECT_EQ(gMusicVolume, 75);
    Frames(95);  // to 1904 ms: steps due at 400, 550, ..., 1900
    EXPECT_EQ(gMusicVolume, 20);
    EXPECT_NE(Pixel(76, 430), kSpritesColour) << "the readout shows on the panel";
    Release(GfxKey::F7);
    Frames(63);
    EXPECT_EQ(Pixel(76, 430), kSpritesColour) << "and is gone a second after the last step";
    Hold(GfxKey::F8);
    Frames(400);
    Release(GfxKey::F8);
    EXPECT_EQ(gMusicVolume, 100);
    Tap(GfxKey::F7);
    EXPECT_EQ(gMusicVolume, 95) << "the setting stays within the library's range, so the other key acts at once";
}

TEST_F(PlayInputTest, EscEndsTheGameAndTheReleasedStateWritesTheTable) {
    PlayProbe& play = Enter(Situation::Playing);
    play.m_Scores->AddToScore(700);
    Tap(GfxKey::Escape);
    EXPECT_FALSE(gRunning);
    gCurrentState.reset();  // the shutdown releases the state without Destroy
    GfxUtility& table = gEngine->GetUtility();
    table.SetHighScore(10, "XXX", 1);
    table.LoadHighScores(cScores::ScoresPath());
    EXPECT_EQ(table.GetHighScoreName(10), "AAA");
    EXPECT_EQ(table.GetHighScoreValue(10), 700);
}

TEST_F(PlayInputTest, InitialsKeysEditTheGamesEntryWithinItsThreeLettersEvenWhilePaused) {
    PlayProbe& play = Enter(Situation::GameOver);
    play.m_Scores->AddToScore(5200);
    ASSERT_EQ(play.Scores()->CurrentPosition(), 1);

    Tap(GfxKey::Up);
    EXPECT_EQ(play.Scores()->HighScore_Initials(1), "BAA");
    for (int i = 0; i < 4; ++i) Tap(GfxKey::Right);
    EXPECT_EQ(play.InitialsCursor(), 3);
    gPaused = true;
    Tap(GfxKey::Up);
    EXPECT_EQ(play.Scores()->HighScore_Initials(1), "BAB");
    gPaused = false;
    for (int i = 0; i < 4; ++i) Tap(GfxKey::Left);
    EXPECT_EQ(play.InitialsCursor(), 1);
    Tap(GfxKey::Down);
    Tap(GfxKey::Down);
    EXPECT_EQ(play.Scores()->HighScore_Initials(1), "AAB");
}

TEST_F(PlayInputTest, RestartSavesTheTableAndStartsTheSameLevelFromZero) {
    PlayProbe& play = Enter(Situation::GameOver);
    play.m_Scores->AddToScore(5200);
    Tap(GfxKey::Up);
    const cBaseState* before = Current();

    gMouse->X = 60;
    gMouse->Y = 340;  // on the Restart picture at (15, 322)
    gMouse->Button_Down(1);
    Frame();
    gMouse->Button_Up(1);
    Frame();

    ASSERT_NE(Current(), before);
    const auto* restarted = dynamic_cast<const cPlayState*>(Current());
    ASSERT_NE(restarted, nullptr);
    EXPECT_EQ(restarted->Scores()->CurrentScore(), 0);
    EXPECT_TRUE(restarted->LevelIntro());
    EXPECT_EQ(gCurrentLevel, 1);
    EXPECT_EQ(restarted->Scores()->HighScore_Initials(1), "BAA") << "the table as Destroy saved it";
    EXPECT_EQ(restarted->Scores()->HighScore(1), 5200);
    EXPECT_EQ(gEngine->GetSoundStore().PlayCount(gSound->Sound("buttonclick.wav")), 1);
}

TEST_F(PlayInputTest, AClickFiresWhilePlayingButNotDuringTheIntro) {
    PlayProbe& play = Enter(Situation::Intro);
    gMouse->X = 400;
    gMouse->Y = 300;
    gMouse->Button_Down(1);
    Frame();
    gMouse->Button_Up(1);
    EXPECT_EQ(play.Moving().Count(), 0);
    SkipIntro();
    gMouse->Button_Down(1);
    Frame();
    gMouse->Button_Up(1);
    EXPECT_EQ(play.Moving().Count(), 1);
}

TEST_F(PlayInputTest, TheIntroShowsForTwoSecondsAndEndsInTheFirstFrameAfter) {
    PlayProbe& play = Start();
    Frame(2000);
    Frame(1);
    EXPECT_TRUE(play.LevelIntro()) << "exactly 2000 ms still shows the intro";
    Frame();
    EXPECT_FALSE(play.LevelIntro());
}

TEST_F(PlayInputTest, ACompletedLevelCountsExactly1000PointsAndAdvancesAfterTheFadeAndASecond) {
    WriteLevel(2, {"GBR"});
    PlayProbe& play = Enter(Situation::LevelComplete);
    int frames = 0;
    while (gCurrentLevel == 1 && frames < 1000) {
        Frame();
        ++frames;
        if (gCurrentLevel == 1) {
            EXPECT_LE(play.Scores()->CurrentScore(), 1000);
        }
    }
    EXPECT_EQ(gCurrentLevel, 2);
    EXPECT_EQ(play.Scores()->CurrentScore(), 1000);
    EXPECT_GE(frames, 254 + 1000 / 16) << "the fade takes 254 steps, then a further second passes";
    EXPECT_FALSE(play.LevelComplete());
    EXPECT_TRUE(play.LevelIntro());
    EXPECT_EQ(play.DragonColumn(), 9);
}

TEST_F(PlayInputTest, GameOverFadesInWhileTheDragonShrinksToASpeckAndStops) {
    PlayProbe& play = Enter(Situation::GameOver);
    Frames(300);
    EXPECT_EQ(play.m_GameOverAlpha, 255);
    const float scale = play.DragonSprite()->GetScale();
    EXPECT_LE(scale, 0.0101F);
    EXPECT_GT(scale, 0.0049F);
}

TEST_F(PlayInputTest, ShotsAndFallingOrbsVanishWhileADisplayHaltsPlay) {
    PlayProbe& play = Start();
    auto orb = play.MakeQueueOrb(OrbKind::Red);
    orb->SetPosition(400, 300);
    orb->SetAlpha(255);
    play.m_Moving.Add(orb, orb->Key());
    Frame();
    EXPECT_EQ(Pixel(412, 312), kSkyColour) << "hidden during the intro";
    play.m_LevelIntro = false;
    Frame();
    EXPECT_EQ(Pixel(412, 312), kSpritesColour);
}

TEST_F(PlayInputTest, CloudsLieOverTheBoardButUnderThePanel) {
    m_Folder.WriteLevel("levels", 1, "1000000\r\n1\r\nsky\r\n yes \r\nR.B.G\r\n");
    PlayProbe& play = Start();
    ASSERT_TRUE(play.CloudsOn());
    Frame();
    EXPECT_NE(Pixel(400, 420), kSkyColour);
    EXPECT_EQ(Pixel(4, 470), kSpritesColour);
}

}  // namespace
}  // namespace playtest
