// The screen fade: alpha follows the clock, and FadeDone is raised on every draw once time is up.
#include <gtest/gtest.h>

#include <cmath>

#include "Fixture.h"
#include "ui/cFade.h"

namespace {
using kwtest::HeadlessGame;

class FadeTest : public HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        m_Fade = std::make_unique<cFade>();
        m_Fade->FadeDone = [this] { ++m_Done; };
    }
    void Draw() {
        kwtest::DrawOneFrame([&] { m_Fade->Render(); });
    }

    std::unique_ptr<cFade> m_Fade;
    int m_Done = 0;
};

TEST_F(FadeTest, BeforeAnyStartNothingIsDrawnOrRaised) {
    EXPECT_FALSE(m_Fade->IsFading());
    AdvanceVirtualClock(5000);
    Draw();
    EXPECT_EQ(m_Done, 0);
}

struct FadeStep {
    int32_t type;
    uint32_t elapsed;
    float alpha;
    bool done;
};

class FadeTimeline : public FadeTest, public ::testing::WithParamInterface<FadeStep> {};

TEST_P(FadeTimeline, AlphaFollowsElapsedTimeAndDoneComesAfterMoreThanTheDuration) {
    const FadeStep step = GetParam();
    m_Fade->StartFade(step.type, 1000);
    AdvanceVirtualClock(step.elapsed);
    Draw();
    EXPECT_FLOAT_EQ(m_Fade->Sprite().GetAlpha(), step.alpha);
    EXPECT_EQ(m_Done, step.done ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    OneSecond, FadeTimeline,
    ::testing::Values(FadeStep{cFade::FadeOut, 0, 0, false}, FadeStep{cFade::FadeOut, 500, 127.5f, false},
                      FadeStep{cFade::FadeOut, 1000, 255, false}, FadeStep{cFade::FadeOut, 1001, 255, true},
                      FadeStep{cFade::FadeIn, 0, 255, false}, FadeStep{cFade::FadeIn, 500, 127.5f, false},
                      FadeStep{cFade::FadeIn, 1000, 0, false}, FadeStep{cFade::FadeIn, 1001, 0, true},
                      // A screen left covered for hours keeps its final alpha (the product would overflow).
                      FadeStep{cFade::FadeOut, 9000000, 255, true}, FadeStep{cFade::FadeIn, 9000000, 0, true}));

TEST_F(FadeTest, FadeDoneIsRaisedAgainOnEveryDrawAfterTheEnd) {
    m_Fade->StartFade(cFade::FadeOut, 1000);
    AdvanceVirtualClock(1001);
    Draw();
    Draw();
    Draw();
    EXPECT_EQ(m_Done, 3);
    EXPECT_TRUE(m_Fade->IsFading());
}

TEST_F(FadeTest, StartingAgainRestartsFromNow) {
    m_Fade->StartFade(cFade::FadeOut, 1000);
    AdvanceVirtualClock(900);
    m_Fade->StartFade(cFade::FadeIn, 1000);
    AdvanceVirtualClock(200);
    Draw();
    EXPECT_EQ(m_Fade->FadeType(), cFade::FadeIn);
    EXPECT_FLOAT_EQ(m_Fade->Sprite().GetAlpha(), 255 - 200 * 255 / 1000.0f);
    EXPECT_EQ(m_Done, 0);
}

TEST_F(FadeTest, AnUnknownTypeFadesButDrawsNothingAndNeverFinishes) {
    m_Fade->StartFade(2, 1000);
    EXPECT_TRUE(m_Fade->IsFading());
    AdvanceVirtualClock(5000);
    Draw();
    EXPECT_EQ(m_Done, 0);
}

TEST_F(FadeTest, AZeroDurationFinishesAtOnceWithoutDividingByZero) {
    m_Fade->StartFade(cFade::FadeOut, 0);
    Draw();
    EXPECT_TRUE(std::isfinite(m_Fade->Sprite().GetAlpha()));
    AdvanceVirtualClock(2);
    Draw();
    EXPECT_FLOAT_EQ(m_Fade->Sprite().GetAlpha(), 255);
    EXPECT_EQ(m_Done, 1);
}

TEST_F(FadeTest, HalfwayTheFadeImageCoversWhatWasDrawnBeforeByHalf) {
    GfxSprite picture;
    picture.SetTexture(gTextures->Texture("titlescreen.png"));
    picture.SetSourceRect(0, 0, 640, 480);
    picture.SetBlend(true);
    m_Fade->StartFade(cFade::FadeOut, 1000);
    AdvanceVirtualClock(500);
    kwtest::DrawOneFrame([&] {
        picture.Render();
        m_Fade->Render();
    });
    const uint32_t pixel = PixelAt(320, 240);
    const auto channel = [](uint32_t argb, int shift) { return static_cast<int>((argb >> shift) & 0xFF); };
    for (int shift : {16, 8, 0})
        EXPECT_NEAR(channel(pixel, shift), channel(kwtest::kTitleColour, shift) / 2, 2) << "channel " << shift;
}
}  // namespace
