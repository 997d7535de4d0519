// Sprites draw real pixels into the offscreen frame: position snapping, source cells, alpha and scale.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>

#include "GfxFixture.h"
#include "gfx/GfxTestSupport.h"

namespace {
constexpr uint32_t Red32 = 0xFFFF0000u;
constexpr uint32_t Blue32 = 0xFF0000FFu;

class SpriteTest : public GfxFixture {
protected:
    void SetUp() override {
        GfxFixture::SetUp();
        OpenDisplay();
        // 20 x 10: left half red, right half blue.
        ASSERT_TRUE(GfxTestSupport::WritePng(PathOf("cells.png"), 20, 10,
                                             [](int32_t x, int32_t) { return x < 10 ? Red32 : Blue32; }));
        ASSERT_TRUE(m_Engine->GetTextureStore().LoadTexture(1, "cells.png", true, 0));
    }
};

TEST_F(SpriteTest, TextureSizeIsKnownAfterLoadingAndAMissingHugeOrNonPlainFileFails) {
    EXPECT_EQ(m_Engine->GetTextureStore().GetTextureWidth(1), 20);
    EXPECT_EQ(m_Engine->GetTextureStore().GetTextureHeight(1), 10);
    ASSERT_TRUE(GfxTestSupport::WriteSolidPng(PathOf("wide.png"), 4097, 1, Red32));
    ASSERT_EQ(::mkfifo(PathOf("pipe.png").c_str(), 0600), 0);
    // Wider than any picture the game can use: refused before it is decoded. A pipe must not block.
    for (const char* name : {"missing.png", "wide.png", "pipe.png"})
        EXPECT_FALSE(m_Engine->GetTextureStore().LoadTexture(2, name, true, 0)) << name;
    EXPECT_FALSE(m_Engine->GetTextureStore().HasTexture(2));
}

TEST_F(SpriteTest, PositionSnapsDownAndSourceCellPicksThePicturePart) {
    GfxSprite sprite;
    sprite.SetTexture(1);
    sprite.SetSourceRect(10, 0, 10, 10);  // the blue half only
    sprite.SetX(100.9f);
    sprite.SetY(50.5f);
    Frame([&] { sprite.Render(); });
    EXPECT_EQ(m_Engine->ReadPixel(100, 50), Blue32);
    EXPECT_EQ(m_Engine->ReadPixel(109, 59), Blue32);
    EXPECT_EQ(m_Engine->ReadPixel(110, 50), 0xFF000000u);
    EXPECT_EQ(m_Engine->ReadPixel(99, 50), 0xFF000000u);
    EXPECT_EQ(m_Engine->ReadPixel(100, 49), 0xFF000000u);
}

TEST_F(SpriteTest, HiddenSpritesUnknownTexturesAndWildPositionsOrScalesDrawNothing) {
    GfxSprite sprite;
    sprite.SetTexture(1);
    sprite.SetSourceRect(0, 0, 10, 10);
    GfxSprite hidden = sprite, unknown = sprite;
    hidden.SetVisible(false);
    unknown.SetTexture(99);
    Frame([&] {
        hidden.Render();
        unknown.Render();
    });
    EXPECT_TRUE(FrameIsBlack());
    for (float bad : {std::nanf(""), INFINITY, -INFINITY, 1e30f, -1e30f}) {
        GfxSprite atX = sprite, atY = sprite, scaled = sprite;
        atX.SetX(bad);
        atY.SetY(bad);
        scaled.SetScale(bad);
        Frame([&] {
            atX.Render();
            atY.Render();
            scaled.Render();
        });
        EXPECT_TRUE(FrameIsBlack()) << bad;
    }
}

TEST_F(SpriteTest, ScaleGrowsAndShrinksAboutTheCentre) {
    GfxSprite big;
    big.SetTexture(1);
    big.SetSourceRect(0, 0, 10, 10);
    big.SetX(100);
    big.SetY(100);
    big.SetScale(2);  // covers 95..114
    GfxSprite small = big;
    small.SetX(200);
    small.SetScale(0.5f);  // covers 202..206
    Frame([&] {
        big.Render();
        small.Render();
    });
    EXPECT_EQ(m_Engine->ReadPixel(95, 95), Red32);
    EXPECT_EQ(m_Engine->ReadPixel(114, 114), Red32);
    EXPECT_EQ(m_Engine->ReadPixel(94, 100), 0xFF000000u);
    EXPECT_EQ(m_Engine->ReadPixel(115, 100), 0xFF000000u);
    EXPECT_EQ(m_Engine->ReadPixel(201, 104), 0xFF000000u);
    EXPECT_EQ(m_Engine->ReadPixel(203, 103), Red32);
    EXPECT_EQ(m_Engine->ReadPixel(208, 104), 0xFF000000u);
    EXPECT_EQ(big.GetWidth(), 10);  // the source size, unscaled
}

TEST_F(SpriteTest, BeginFrameClearsAndScreenshotsWriteTheLastFrame) {
    EXPECT_FALSE(m_Engine->SaveScreenshot("none.png"));  // nothing presented yet
    GfxSprite sprite;
    sprite.SetTexture(1);
    sprite.SetSourceRect(0, 0, 10, 10);
    Frame([&] { sprite.Render(); });
    Frame([] {});
    EXPECT_EQ(m_Engine->ReadPixel(0, 0), 0xFF000000u);
    Frame([&] { sprite.Render(); });
    ASSERT_TRUE(m_Engine->SaveScreenshot("shot.png"));
    ASSERT_TRUE(m_Engine->GetTextureStore().LoadTexture(5, "shot.png", true, 0));
    EXPECT_EQ(m_Engine->GetTextureStore().GetTextureWidth(5), 640);
    EXPECT_EQ(m_Engine->GetTextureStore().GetTextureHeight(5), 480);
}
}  // namespace
