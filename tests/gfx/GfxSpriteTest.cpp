// SPDX-License-Identifier: GPL-3.0-or-later
// Sprites draw real pixels into the offscreen frame: position snapping, source cells, alpha and scale.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cmath>

#include "GfxFixture.h"
#include "gfx/GfxTestSupport.h"

namespace {
constexpr uint32_t Red32 = 0xFFFF0000u, Blue32 = 0xFF0000FFu, Black32 = 0xFF000000u;

class Sprites : public GfxFixture {
protected:
    void SetUp() override {
        GfxFixture::SetUp();
        OpenDisplay();
        // 20 x 10: left half red, right half blue.
        ASSERT_TRUE(GfxTestSupport::WritePng(PathOf("cells.png"), 20, 10,
                                             [](int32_t x, int32_t) { return x < 10 ? Red32 : Blue32; }));
        ASSERT_TRUE(m_Engine->GetTextureStore().LoadTexture(1, "cells.png", true, 0));
    }
    // The red cell (or the blue one, from `sourceX` 10) at (x, y).
    static GfxSprite Cell(float x = 0, float y = 0, int32_t sourceX = 0) {
        GfxSprite sprite;
        sprite.SetTexture(1);
        sprite.SetSourceRect(sourceX, 0, 10, 10);
        sprite.SetX(x);
        sprite.SetY(y);
        return sprite;
    }
};

TEST_F(Sprites, TextureSizeIsKnownAfterLoadingAndAMissingHugeOrNonPlainFileFails) {
    EXPECT_EQ(m_Engine->GetTextureStore().GetTextureWidth(1), 20);
    EXPECT_EQ(m_Engine->GetTextureStore().GetTextureHeight(1), 10);
    ASSERT_TRUE(GfxTestSupport::WriteSolidPng(PathOf("wide.png"), 4097, 1, Red32));
    ASSERT_EQ(::mkfifo(PathOf("pipe.png").c_str(), 0600), 0);
    // Wider than any picture the game can use: refused before it is decoded. A pipe must not block.
    for (const char* name : {"missing.png", "wide.png", "pipe.png"})
        EXPECT_FALSE(m_Engine->GetTextureStore().LoadTexture(2, name, true, 0)) << name;
    EXPECT_FALSE(m_Engine->GetTextureStore().HasTexture(2));
}

TEST_F(Sprites, HiddenSpritesUnknownTexturesAndWildPositionsOrScalesDrawNothing) {
    GfxSprite hidden = Cell(), unknown = Cell();
    hidden.SetVisible(false);
    unknown.SetTexture(99);
    Frame([&] {
        hidden.Render();
        unknown.Render();
    });
    EXPECT_TRUE(FrameIsBlack());
    for (float bad : {std::nanf(""), INFINITY, -INFINITY, 1e30f, -1e30f}) {
        GfxSprite atX = Cell(bad), atY = Cell(0, bad), scaled = Cell();
        scaled.SetScale(bad);
        Frame([&] {
            atX.Render();
            atY.Render();
            scaled.Render();
        });
        EXPECT_TRUE(FrameIsBlack()) << bad;
    }
}

TEST_F(Sprites, PositionSnapsDownTheSourceCellPicksThePicturePartAndScaleWorksAboutTheCentre) {
    GfxSprite blue = Cell(100.9f, 50.5f, 10);
    GfxSprite big = Cell(100, 100), small = Cell(200, 100);
    big.SetScale(2);       // covers 95..114
    small.SetScale(0.5f);  // covers 202..206
    Frame([&] {
        for (GfxSprite* sprite : {&blue, &big, &small}) sprite->Render();
    });
    EXPECT_EQ(m_Engine->ReadPixel(100, 50), Blue32);
    EXPECT_EQ(m_Engine->ReadPixel(109, 59), Blue32);
    for (auto [x, y] : {std::pair{95, 95}, {114, 114}, {203, 103}}) EXPECT_EQ(m_Engine->ReadPixel(x, y), Red32);
    for (auto [x, y] : {std::pair{110, 50}, {99, 50}, {100, 49}, {94, 100}, {115, 100}, {201, 104}, {208, 104}})
        EXPECT_EQ(m_Engine->ReadPixel(x, y), Black32) << x;
    EXPECT_EQ(big.GetWidth(), 10);  // the source size, unscaled
}

TEST_F(Sprites, BeginFrameClearsAndScreenshotsWriteTheLastFrame) {
    EXPECT_FALSE(m_Engine->SaveScreenshot("none.png"));  // nothing presented yet
    Frame([&] { Cell().Render(); });
    Frame([] {});
    EXPECT_EQ(m_Engine->ReadPixel(0, 0), Black32);
    Frame([&] { Cell().Render(); });
    ASSERT_TRUE(m_Engine->SaveScreenshot("shot.png"));
    ASSERT_TRUE(m_Engine->GetTextureStore().LoadTexture(5, "shot.png", true, 0));
    EXPECT_EQ(m_Engine->GetTextureStore().GetTextureWidth(5), 640);
    EXPECT_EQ(m_Engine->GetTextureStore().GetTextureHeight(5), 480);
}
}  // namespace
