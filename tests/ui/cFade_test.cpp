// The screen fade: alpha follows the clock, and FadeDone is raised on every draw once time is up.
#include "ui/cFade.h"

#include <gtest/gtest.h>

#include "support/World.h"

namespace {
class FadeTest : public kwtest::HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        m_Fade = std::make_unique<cFade>();
        m_Fade->FadeDone = [this] { ++m_Done; };
    }
    float DrawAfter(uint32_t ms) {
        AdvanceVirtualClock(ms);
        kwtest::DrawOneFrame([&] { m_Fade->Render(); });
        return m_Fade->Sprite().GetAlpha();
    }
    std::unique_ptr<cFade> m_Fade;
    int m_Done = 0;
};

struct FadeStep {
    int32_t type;
    uint32_t elapsed;
    float alpha;
    bool done;
};
class FadeTimeline : public FadeTest, public ::testing::WithParamInterface<FadeStep> {};

TEST_P(FadeTimeline, AlphaFollowsElapsedTimeAndDoneComesAfterMoreThanTheDuration) {
    m_Fade->StartFade(GetParam().type, 1000);
    EXPECT_FLOAT_EQ(DrawAfter(GetParam().elapsed), GetParam().alpha);
    EXPECT_EQ(m_Done, GetParam().done ? 1 : 0);
}

INSTANTIATE_TEST_SUITE_P(
    OneSecond, FadeTimeline,
    ::testing::Values(FadeStep{cFade::FadeOut, 0, 0, false}, FadeStep{cFade::FadeOut, 500, 127.5f, false},
                      FadeStep{cFade::FadeOut, 1000, 255, false}, FadeStep{cFade::FadeOut, 1001, 255, true},
                      FadeStep{cFade::FadeIn, 500, 127.5f, false}, FadeStep{cFade::FadeIn, 1001, 0, true},
                      // A screen left covered for hours keeps its final alpha (the product would overflow).
                      FadeStep{cFade::FadeOut, 9000000, 255, true}, FadeStep{cFade::FadeIn, 9000000, 0, true}));

TEST_F(FadeTest, FadeDoneIsRaisedOnEveryDrawAfterTheEndAndNeverBeforeAStart) {
    DrawAfter(5000);
    EXPECT_FALSE(m_Fade->IsFading());
    m_Fade->StartFade(cFade::FadeOut, 1000);
    DrawAfter(1001);
    DrawAfter(0);
    DrawAfter(0);
    EXPECT_EQ(m_Done, 3);
}

TEST_F(FadeTest, AZeroDurationFinishesAtOnceWithoutDividingByZero) {
    m_Fade->StartFade(cFade::FadeOut, 0);
    EXPECT_FLOAT_EQ(DrawAfter(0), 0);
    EXPECT_FLOAT_EQ(DrawAfter(2), 255);
    EXPECT_EQ(m_Done, 1);
}
}  // namespace
