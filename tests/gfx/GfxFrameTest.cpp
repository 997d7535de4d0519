// SPDX-License-Identifier: GPL-3.0-or-later
// The frame path: a frame is composed again only where it changed, yet always looks as if it had
// been drawn whole; modulated pictures blend exactly as SDL blends them.
#include <gtest/gtest.h>

#include <functional>
#include <random>
#include <string>
#include <vector>

#include "GfxFixture.h"
#include "gfx/GfxTestSupport.h"

namespace {
enum Picture { Backdrop = 1, Opaque, Translucent };

struct Item {
    int32_t texture = Translucent;
    int32_t srcX = 0, srcY = 0, w = 40, h = 30;
    float x = 0, y = 0, alpha = 255, scale = 1;
};

struct Words {
    std::string text;
    float x = 0, y = 0;
    int32_t colour = -1;
};

struct Scene {
    std::vector<Item> items;
    std::vector<Words> words;
};

class FrameComposition : public GfxFixture {
protected:
    void SetUp() override {
        GfxFixture::SetUp();
        OpenDisplay();
        GfxTextureStore& store = m_Engine->GetTextureStore();
        // Two pictures without an alpha channel, one with alpha graded across it.
        ASSERT_TRUE(GfxTestSupport::WritePng(
            PathOf("backdrop.png"), 640, 480, [](int32_t x, int32_t y) { return 0xFF000000u | (x ^ y) * 0x010203u; },
            false));
        ASSERT_TRUE(GfxTestSupport::WritePng(
            PathOf("opaque.png"), 40, 30, [](int32_t x, int32_t y) { return 0xFF204000u | (x * 6) << 16 | y * 8; },
            false));
        ASSERT_TRUE(GfxTestSupport::WritePng(PathOf("translucent.png"), 40, 30, [](int32_t x, int32_t y) {
            return static_cast<uint32_t>(x * 6 + y) << 24 | 0x30A000u | static_cast<uint32_t>(y * 8);
        }));
        ASSERT_TRUE(store.LoadTexture(Backdrop, "backdrop.png", true, 0));
        ASSERT_TRUE(store.LoadTexture(Opaque, "opaque.png", true, 0));
        ASSERT_TRUE(store.LoadTexture(Translucent, "translucent.png", true, 0));
    }

    void Draw(const Scene& scene) {
        for (const Item& item : scene.items) {
            GfxSprite sprite;
            sprite.SetTexture(item.texture);
            sprite.SetSourceRect(item.srcX, item.srcY, item.w, item.h);
            sprite.SetX(item.x);
            sprite.SetY(item.y);
            sprite.SetAlpha(item.alpha);
            sprite.SetScale(item.scale);
            sprite.Render();
        }
        for (const Words& words : scene.words)
            m_Engine->GetText().DrawText(words.x, words.y, 200, 40, words.text, 0, words.colour, "Arial", 10, true, 0,
                                         1, 1, GfxUtility::MakeColor(255, 0, 0, 0));
    }
};

// One random change of the kinds frames make: a move, a fade, another cell, a scale, a picture
// coming or going, text changing colour or words.
void Change(Scene& scene, std::mt19937& rng) {
    const auto pick = [&rng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    std::vector<Item>& items = scene.items;
    Item& item = items[pick(1, int(items.size()) - 1)];
    Words& words = scene.words[pick(0, 1)];
    const float alphas[] = {255, 235, 220, 125, 40}, scales[] = {0.7F, 0.75F, 1, 1.3F, 2.7F};
    const std::function<void()> changes[] = {
        [&] { item.x += pick(-12, 12), item.y += pick(-12, 12); },
        [&] { item.alpha = alphas[pick(0, 4)]; },
        [&] { item.srcX = pick(0, 20), item.srcY = pick(0, 15), item.w = pick(1, 40 - item.srcX); },
        [&] { item.scale = scales[pick(0, 4)]; },
        [&] {
            items.insert(items.begin() + pick(1, int(items.size())),
                         Item{pick(Opaque, Translucent), 0, 0, 40, 30, float(pick(-50, 650)), float(pick(-40, 490))});
        },
        [&] {
            if (items.size() > 2) items.erase(items.begin() + pick(1, int(items.size()) - 1));
        },
        [&] { words.colour = GfxUtility::MakeColor(pick(128, 255), pick(0, 255), 0, 200); },
        [&] { words.text = "Score " + std::to_string(pick(0, 999)); }};
    changes[pick(0, 7)]();
    // Now and then the backdrop itself moves, leaving a strip uncovered.
    items[0].x = pick(0, 9) == 0 ? pick(-20, 20) : 0;
}

TEST_F(FrameComposition, AFrameComposedOverTheLastLooksAsIfDrawnWhole) {
    std::mt19937 rng(20240611);
    Scene scene{{{Backdrop, 0, 0, 640, 480}}, {{"Top 5 Scores", 20, 20, -1}, {"Score 0", 250, 200, -1}}};
    const float scales[] = {1, 0.75F, 1.3F, 0.7F, 2.7F};
    for (int i = 0; i < 12; ++i)
        scene.items.push_back({i % 2 == 0 ? Opaque : Translucent, 0, 0, 40, 30, 50.0F * i, 35.0F * i,
                               i % 3 == 0 ? 235.0F : 255.0F, scales[i % 5]});
    // Half of the middle lies under a fading opaque picture: what lies under it still shows.
    scene.items.push_back({Backdrop, 0, 0, 220, 160, 190, 140, 125});
    Frame([&] { Draw(scene); });
    for (int32_t step = 0; step < 60; ++step) {
        Change(scene, rng);
        Frame([&] { Draw(scene); });
        const std::vector<uint32_t> composedOverTheLast = Pixels();
        Frame([] {});
        Frame([&] { Draw(scene); });
        ASSERT_TRUE(composedOverTheLast == Pixels()) << "after change " << step;
    }
}

TEST_F(FrameComposition, AnUnchangedFrameIsNotComposedAndAMoveOnlyWhereTheSpriteWasAndIs) {
    GfxSprite moving;
    moving.SetTexture(Translucent);
    moving.SetSourceRect(0, 0, 10, 10);
    GfxSprite still = moving;
    still.SetX(300);
    moving.SetX(100);
    const auto draw = [&] {
        still.Render();
        moving.Render();
    };
    Frame(draw);
    Frame(draw);
    EXPECT_EQ(m_Engine->GetDevice().GetComposedPixels(), 0);
    moving.SetX(105);
    Frame(draw);
    EXPECT_EQ(m_Engine->GetDevice().GetComposedPixels(), 15 * 10);
}

class Blending : public FrameComposition, public ::testing::WithParamInterface<int32_t> {};

TEST_P(Blending, EveryAlphaOfThePictureBlendsAsSdlBlendsIt) {
    // Alphas 0..254 across an odd width, colours down, over a grey that the blend keeps in part.
    const auto pixel = [](int32_t x, int32_t y) {
        return static_cast<uint32_t>(x) << 24 | static_cast<uint32_t>(y * 36) << 16 | 0x00C000u |
               static_cast<uint32_t>(255 - y * 30);
    };
    ASSERT_TRUE(GfxTestSupport::WritePng(PathOf("alphas.png"), 255, 8, pixel));
    ASSERT_TRUE(GfxTestSupport::WritePng(PathOf("opaque.png"), 255, 8, pixel, false));
    ASSERT_TRUE(GfxTestSupport::WriteSolidPng(PathOf("grey.png"), 300, 20, 0xFF6A7B8Cu));
    ASSERT_TRUE(m_Engine->GetTextureStore().LoadTexture(10, "alphas.png", true, 0));
    ASSERT_TRUE(m_Engine->GetTextureStore().LoadTexture(11, "grey.png", true, 0));
    ASSERT_TRUE(m_Engine->GetTextureStore().LoadTexture(12, "opaque.png", true, 0));
    GfxSprite grey, alphas, opaque;
    grey.SetTexture(11);
    alphas.SetTexture(10);
    opaque.SetTexture(12);
    opaque.SetY(10);  // the same picture without its alpha channel, as a fade draws one
    for (GfxSprite* sprite : {&alphas, &opaque}) sprite->SetAlpha(static_cast<float>(GetParam()));
    Frame([&] {
        for (const GfxSprite* sprite : {&grey, &alphas, &opaque}) sprite->Render();
    });
    const uint32_t modulate = static_cast<uint32_t>(GetParam()) << 24 | 0xFFFFFFu;
    for (int32_t y = 0; y < 8; ++y)
        for (int32_t x = 0; x < 255; ++x) {
            ASSERT_EQ(m_Engine->ReadPixel(x, y), GfxTestSupport::SdlBlend(pixel(x, y), modulate, 0xFF6A7B8Cu))
                << "picture pixel " << x << ", " << y;
            ASSERT_EQ(m_Engine->ReadPixel(x, 10 + y),
                      GfxTestSupport::SdlBlend(0xFF000000u | pixel(x, y), modulate, 0xFF6A7B8Cu, false))
                << "opaque picture pixel " << x << ", " << y;
        }
}

// The drifting clouds, orbs on the board, white orbs, a fade step and no modulation at all.
INSTANTIATE_TEST_SUITE_P(Alphas, Blending, ::testing::Values(125, 235, 220, 3, 255));
}  // namespace
