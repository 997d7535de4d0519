// Texture and sound ids by file name, and the override folder.
#include <gtest/gtest.h>

#include "base/RuntimeError.h"
#include "base/modError.h"
#include "engine/cSound.h"
#include "engine/cTextures.h"
#include "support/World.h"

namespace {

class Registries : public kwtest::EngineFixture {
protected:
    void SetUp() override {
        kwtest::EngineFixture::SetUp();
        m_Folder.WriteImage("game/images/sprites.png", 64, 64);
        m_Folder.WriteImage("game/images/clouds.png", 300, 300);
        m_Folder.WriteSound("game/sounds/shoot.wav");
        m_Folder.WriteSound("game/sounds/burn.wav");
        OpenErrorLog();
    }
    void TearDown() override {
        CloseErrorLog();
        kwtest::EngineFixture::TearDown();
    }
    cTextures m_Textures;
    cSound m_Sounds;
};

TEST_F(Registries, EachTextureIsLoadedOnceAndNamesDifferingInCaseShareAnId) {
    EXPECT_EQ(m_Textures.Texture("sprites.png"), 1);
    EXPECT_EQ(m_Textures.Texture("clouds.png"), 2);
    EXPECT_EQ(m_Textures.Texture("SPRITES.PNG"), 1);
    EXPECT_EQ(gEngine->GetTextureStore().GetTextureWidth(1), 64);
    EXPECT_FALSE(gEngine->GetTextureStore().HasTexture(3));
}

TEST_F(Registries, APictureInTheOverrideFolderReplacesTheUnpackedOne) {
    m_Folder.WriteImage("game/override/sprites.png", 16, 8);
    const int32_t id = m_Textures.Texture("sprites.png");
    EXPECT_EQ(gEngine->GetTextureStore().GetTextureWidth(id), 16);
    EXPECT_EQ(gEngine->GetTextureStore().GetTextureHeight(id), 8);
}

TEST_F(Registries, AMissingPictureIsLoggedEndsTheProgramAndUsesNoId) {
    EXPECT_THROW(m_Textures.Texture("missing.png"), ExitSignal);
    CloseErrorLog();
    const auto lines = m_Folder.LogLines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_EQ(lines[1], "Handled Error Occurred in cTextures.GetTexture");
    EXPECT_EQ(lines[2], "Error Number: 76");
    EXPECT_EQ(lines[3], "Error: Texture: missing.png failed to load.");
    EXPECT_EQ(m_Textures.Texture("sprites.png"), 1);
}

TEST_F(Registries, SoundIdsRunIndependentlyOfTextureIdsAndEachEffectLoadsOnce) {
    EXPECT_EQ(m_Textures.Texture("sprites.png"), 1);
    EXPECT_EQ(m_Sounds.Sound("shoot.wav"), 1);
    EXPECT_EQ(m_Sounds.Sound("burn.wav"), 2);
    EXPECT_EQ(m_Sounds.Sound("Shoot.WAV"), 1);
}

TEST_F(Registries, PlayLoadsOnFirstUseAndPlaysOnce) {
    m_Sounds.Play("burn.wav");
    m_Sounds.Play("burn.wav");
    EXPECT_EQ(gEngine->GetSoundStore().PlayCount(m_Sounds.Sound("burn.wav")), 2);
}

TEST_F(Registries, AMissingSoundIsLoggedUnderCSoundsGetSound) {
    EXPECT_THROW(m_Sounds.Sound("nothing.wav"), ExitSignal);
    CloseErrorLog();
    const auto lines = m_Folder.LogLines();
    ASSERT_GE(lines.size(), 4u);
    EXPECT_EQ(lines[1], "Handled Error Occurred in cSounds.GetSound");
    EXPECT_EQ(lines[3], "Error: Sound: nothing.wav failed to load.");
}

}  // namespace
