// SPDX-License-Identifier: GPL-3.0-or-later
// Texture and sound ids by file name, and the override folder.
#include <gtest/gtest.h>

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "engine/cSound.h"
#include "engine/cTextures.h"
#include "gfx/Gfx.h"
#include "support/World.h"

namespace {

class Registries : public kwtest::EngineFixture {
protected:
    void SetUp() override {
        m_Folder.WriteImage("game/images/sprites.png", 64, 64);
        m_Folder.WriteImage("game/images/clouds.png", 300, 300);
        m_Folder.WriteSound("game/sounds/shoot.wav");
        m_Folder.WriteSound("game/sounds/burn.wav");
        m_ErrorLog = true;
        kwtest::EngineFixture::SetUp();
    }
    cTextures m_Textures;
    cSound m_Sounds;
};

TEST_F(Registries, EachPictureAndSoundLoadsOnceWithIdsOfItsOwnKindAndNamesDifferingInCaseShareAnId) {
    EXPECT_EQ(m_Textures.Texture("sprites.png"), 1);
    EXPECT_EQ(m_Textures.Texture("clouds.png"), 2);
    EXPECT_EQ(m_Textures.Texture("SPRITES.PNG"), 1);
    EXPECT_EQ(gEngine->GetTextureStore().GetTextureWidth(1), 64);
    EXPECT_FALSE(gEngine->GetTextureStore().HasTexture(3));
    m_Sounds.Play("burn.wav");
    m_Sounds.Play("Burn.WAV");
    EXPECT_EQ(m_Sounds.Sound("shoot.wav"), 2);
    EXPECT_EQ(m_Sounds.Sound("burn.wav"), 1);
    EXPECT_EQ(gEngine->GetSoundStore().PlayCount(1), 2);
}

TEST_F(Registries, ANewEffectVolumeReachesTheMixerForEffectsLoadedBeforeAndAfterIt) {
    const int32_t shoot = m_Sounds.Sound("shoot.wav");
    GfxSoundStore& store = gEngine->GetSoundStore();
    EXPECT_EQ(store.GetSoundVolume(shoot), gSoundVolume);
    m_Sounds.SetVolume(37);
    EXPECT_EQ(store.GetSoundVolume(shoot), 37);
    EXPECT_EQ(store.GetSoundVolume(m_Sounds.Sound("burn.wav")), 37);
    m_Sounds.SetVolume(140);
    EXPECT_EQ(std::pair(gSoundVolume, store.GetSoundVolume(shoot)), std::pair(100, 100));
}

TEST_F(Registries, APictureInTheOverrideFolderReplacesTheUnpackedOne) {
    m_Folder.WriteImage("game/override/sprites.png", 16, 8);
    const int32_t id = m_Textures.Texture("sprites.png");
    EXPECT_EQ(gEngine->GetTextureStore().GetTextureWidth(id), 16);
    EXPECT_EQ(gEngine->GetTextureStore().GetTextureHeight(id), 8);
}

TEST_F(Registries, AMissingPictureOrSoundIsLoggedEndsTheProgramAndUsesNoId) {
    EXPECT_THROW(m_Textures.Texture("missing.png"), ExitSignal);
    EXPECT_THROW(m_Sounds.Sound("nothing.wav"), ExitSignal);
    CloseErrorLog();
    const auto lines = m_Folder.LogLines();
    ASSERT_EQ(lines.size(), 14u);
    EXPECT_EQ(lines[1], "Handled Error Occurred in cTextures.GetTexture");
    EXPECT_EQ(lines[2], "Error Number: 76");
    EXPECT_EQ(lines[3], "Error: Texture: missing.png failed to load.");
    EXPECT_EQ(lines[8], "Handled Error Occurred in cSounds.GetSound");
    EXPECT_EQ(lines[10], "Error: Sound: nothing.wav failed to load.");
    EXPECT_EQ(m_Textures.Texture("sprites.png"), 1);
    EXPECT_EQ(m_Sounds.Sound("shoot.wav"), 1);
}

}  // namespace
