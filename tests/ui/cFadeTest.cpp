// SPDX-License-Identifier: GPL-3.0-or-later
// The screen fade: alpha follows the clock, and FadeDone is raised on every draw once time is up.
#include <gtest/gtest.h>

#include "support/World.h"
#include "ui/cFade.h"

namespace {
class Fades : public kwtest::HeadlessGame {
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
    int32_t type, duration;
    uint32_t elapsed;
    float alpha;
    bool done;
};
class FadeTimeline : public Fades, public ::testing::WithParamInterface<FadeStep> {};

TEST_P(FadeTimeline, AlphaFollowsElapsedTimeAndDoneComesAfterMoreThanTheDuration) {
    m_Fade->StartFade(GetParam().type, GetParam().duration);
    EXPECT_FLOAT_EQ(DrawAfter(GetParam().elapsed), GetParam().alpha);
    EXPECT_EQ(m_Done, GetParam().done ? 1 : 0);
}

constexpr int32_t kOut = cFade::FadeOut, kIn = cFade::FadeIn;
INSTANTIATE_TEST_SUITE_P(
    OneSecond, FadeTimeline,
    ::testing::Values(FadeStep{kOut, 1000, 0, 0, false}, FadeStep{kOut, 1000, 500, 127.5f, false},
                      FadeStep{kOut, 1000, 1000, 255, false}, FadeStep{kOut, 1000, 1001, 255, true},
                      FadeStep{kIn, 1000, 500, 127.5f, false}, FadeStep{kIn, 1000, 1001, 0, true},
                      // A screen left covered for hours keeps its final alpha (the product would overflow).
                      FadeStep{kOut, 1000, 9000000, 255, true}, FadeStep{kIn, 1000, 9000000, 0, true},
                      // A zero length finishes at once without dividing by zero.
                      FadeStep{kOut, 0, 0, 0, false}, FadeStep{kOut, 0, 2, 255, true}));

TEST_F(Fades, FadeDoneIsRaisedOnEveryDrawAfterTheEndAndNeverBeforeAStart) {
    DrawAfter(5000);
    EXPECT_FALSE(m_Fade->IsFading());
    m_Fade->StartFade(cFade::FadeOut, 1000);
    DrawAfter(1001);
    DrawAfter(0);
    DrawAfter(0);
    EXPECT_EQ(m_Done, 3);
}
}  // namespace
