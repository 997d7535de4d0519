// SPDX-License-Identifier: GPL-3.0-or-later
// Sound effects and music on the dummy audio driver: files are checked when loaded, volumes are
// clamped, and the music position follows the virtual clock.
#include <gtest/gtest.h>

#include <fstream>

#include "GfxFixture.h"
#include "gfx/GfxTestSupport.h"

namespace {

class SoundStore : public GfxFixture {
protected:
    void SetUp() override {
        GfxFixture::SetUp();
        ASSERT_TRUE(m_Engine->Startup());
        ASSERT_TRUE(GfxTestSupport::WriteWav(PathOf("beep.wav"), 100));
        ASSERT_TRUE(GfxTestSupport::WriteWav(PathOf("tune.wav"), 2000));
    }
    GfxSoundStore& Sounds() { return m_Engine->GetSoundStore(); }
    GfxMusic& Music() { return m_Engine->GetMusic(); }
};

TEST_F(SoundStore, MissingOrDamagedSoundFilesAreRefusedAndEachPlayOfALoadedOneCounts) {
    EXPECT_TRUE(Sounds().LoadSound(1, "beep.wav"));
    EXPECT_FALSE(Sounds().LoadSound(2, "none.wav"));
    std::ofstream(m_Folder / "junk.wav") << "RIFF but not really a wave file";
    EXPECT_FALSE(Sounds().LoadSound(3, "junk.wav"));
    EXPECT_FALSE(Music().LoadMusic("none.mp3"));
    EXPECT_EQ(Music().GetLoadedPath(), "");
    Sounds().PlaySound(1);
    Sounds().PlaySound(1);
    Sounds().PlaySound(3);  // refused, so never loaded
    EXPECT_EQ(Sounds().PlayCount(1), 2);
    EXPECT_EQ(Sounds().PlayCount(3), 0);
}

TEST_F(SoundStore, MusicPositionFollowsTheVirtualClockPausingAndLooping) {
    ASSERT_TRUE(Music().LoadMusic("tune.wav"));
    EXPECT_EQ(Music().GetLoadedPath(), "tune.wav");
    EXPECT_FALSE(Music().IsPlaying());
    ASSERT_TRUE(Music().PlayMusic(false, 250));
    EXPECT_EQ(Music().GetPosition(), 250);
    AdvanceVirtualClock(500);
    EXPECT_EQ(Music().GetPosition(), 750);
    Sounds().PauseAll();
    AdvanceVirtualClock(5000);
    EXPECT_EQ(Music().GetPosition(), 750);
    Sounds().ResumeAll();
    AdvanceVirtualClock(1000);
    EXPECT_EQ(Music().GetPosition(), 1750);
    EXPECT_TRUE(Music().IsPlaying());
    AdvanceVirtualClock(1000);  // past the end of a tune that does not loop
    EXPECT_FALSE(Music().IsPlaying());
    ASSERT_TRUE(Music().PlayMusic(true, 0));
    AdvanceVirtualClock(2500);
    EXPECT_TRUE(Music().IsPlaying());
    EXPECT_EQ(Music().GetPosition(), 500);
    Music().StopMusic();
    EXPECT_EQ(std::pair(Music().IsPlaying(), Music().GetPosition()), std::pair(false, 0));
    // A length that is not a whole number of milliseconds ends all the same.
    ASSERT_TRUE(GfxTestSupport::WriteWav(PathOf("odd.wav"), 1234));
    ASSERT_TRUE(Music().LoadMusic("odd.wav"));
    ASSERT_TRUE(Music().PlayMusic(false, 0));
    AdvanceVirtualClock(1300);
    EXPECT_FALSE(Music().IsPlaying());
    EXPECT_EQ(Music().GetPosition(), 1233);
    Music().UnloadMusic();
    EXPECT_FALSE(Music().PlayMusic(true, 0));
}

}  // namespace
