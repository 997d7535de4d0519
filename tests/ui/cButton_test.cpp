// The button widget: its inclusive hit box, arming per mouse button, clicks and the held-down look.
#include <gtest/gtest.h>

#include <vector>

#include "Fixture.h"
#include "shell/RuntimeError.h"
#include "ui/cButton.h"

namespace {
using kwtest::DrawOneFrame;
using kwtest::HeadlessGame;

// New Game's picture: 162 x 62 from (252, 72) of buttons1b.png, placed at (100, 50).
constexpr float kLeft = 100, kTop = 50, kWidth = 162, kHeight = 62;
constexpr int32_t kRestX = 252, kRestY = 72;

class ButtonTest : public HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        m_Sprite = std::make_shared<GfxSprite>();
        m_Sprite->SetTexture(gTextures->Texture("buttons1b.png"));
        m_Sprite->SetSourceRect(kRestX, kRestY, static_cast<int32_t>(kWidth), static_cast<int32_t>(kHeight));
        m_Sprite->SetX(kLeft);
        m_Sprite->SetY(kTop);
        m_Button.Create(m_Sprite, "");
        m_Button.ButtonClick = [this](int32_t& mouseButton) { m_Clicks.push_back(mouseButton); };
    }

    // What a screen does once per frame: move, down, up, with the cursor where it is now.
    void Poll(float x, float y, uint8_t mouseButton = 1) {
        MouseTo(x, y);
        m_Button.CheckMouseMove(x, y);
        m_Button.CheckMouseDown(mouseButton, x, y);
        m_Button.CheckMouseUp(mouseButton, x, y);
    }
    void Hold(float x, float y) {
        MousePress();
        Poll(x, y);
    }
    void Release(float x, float y) {
        MouseRelease();
        Poll(x, y);
    }

    SpriteRef m_Sprite;
    cButton m_Button;
    std::vector<int32_t> m_Clicks;
};

struct HitCase {
    const char* name;
    float x, y;
    bool hits;
};

class ButtonHitBox : public ButtonTest, public ::testing::WithParamInterface<HitCase> {};

TEST_P(ButtonHitBox, AllFourEdgesAreInclusiveSoTheBoxIsOnePixelLargerThanThePicture) {
    const HitCase c = GetParam();
    m_Button.CheckMouseMove(c.x, c.y);
    EXPECT_EQ(m_Button.IsMouseOver(), c.hits);
    Hold(c.x, c.y);
    Release(c.x, c.y);
    EXPECT_EQ(m_Clicks.size(), c.hits ? 1u : 0u) << "a press and release at the same point clicks exactly when it hits";
}

INSTANTIATE_TEST_SUITE_P(
    Edges, ButtonHitBox,
    ::testing::Values(HitCase{"TopLeftCorner", kLeft, kTop, true},
                      HitCase{"BottomRightCorner", kLeft + kWidth, kTop + kHeight, true},
                      HitCase{"RightEdge", kLeft + kWidth, kTop + 10, true},
                      HitCase{"BottomEdge", kLeft + 10, kTop + kHeight, true},
                      HitCase{"JustLeft", kLeft - 0.5f, kTop + 10, false},
                      HitCase{"JustRight", kLeft + kWidth + 0.5f, kTop + 10, false},
                      HitCase{"JustAbove", kLeft + 10, kTop - 0.5f, false},
                      HitCase{"JustBelow", kLeft + 10, kTop + kHeight + 0.5f, false}),
    [](const ::testing::TestParamInfo<HitCase>& info) { return info.param.name; });

TEST_F(ButtonTest, TheHitBoxFollowsTheSpriteButKeepsTheSizeReadAtCreate) {
    m_Sprite->SetX(300);
    m_Sprite->SetSourceRect(0, 0, 10, 10);  // a smaller cell later does not shrink the box
    m_Button.CheckMouseMove(300 + kWidth, kTop);
    EXPECT_TRUE(m_Button.IsMouseOver());
    m_Button.CheckMouseMove(kLeft + 1, kTop + 1);
    EXPECT_FALSE(m_Button.IsMouseOver());
}

// A gesture is the cursor and the left mouse button, frame by frame.
struct Step {
    float x, y;
    bool held;
};
struct Gesture {
    const char* name;
    std::vector<Step> steps;
    size_t clicks;
};

class ButtonGesture : public ButtonTest, public ::testing::WithParamInterface<Gesture> {};

TEST_P(ButtonGesture, ClicksOnlyWhenHeldOverTheButtonAndReleasedOverIt) {
    for (const Step& step : GetParam().steps) (step.held ? Hold(step.x, step.y) : Release(step.x, step.y));
    Release(5, 5);  // and let go far away afterwards
    EXPECT_EQ(m_Clicks.size(), GetParam().clicks);
    EXPECT_FALSE(m_Button.IsArmed(1));
    EXPECT_EQ(m_Sprite->GetSourceX(), kRestX);
    EXPECT_EQ(m_Sprite->GetSourceY(), kRestY);
}

constexpr float kInX = 150, kInY = 80, kOutX = 20, kOutY = 20;
INSTANTIATE_TEST_SUITE_P(
    Gestures, ButtonGesture,
    ::testing::Values(
        Gesture{"PressAndReleaseOver", {{kInX, kInY, true}, {kInX, kInY, false}}, 1},
        Gesture{"HeldForManyFramesStillOneClick",
                {{kInX, kInY, true}, {kInX, kInY, true}, {kInX + 5, kInY, true}, {kInX, kInY, false}},
                1},
        Gesture{"PressOverDragOffRelease", {{kInX, kInY, true}, {kOutX, kOutY, true}, {kOutX, kOutY, false}}, 0},
        Gesture{"PressOverReleaseOffInOneMove", {{kInX, kInY, true}, {kOutX, kOutY, false}}, 0},
        Gesture{"PressOutsideReleaseOver", {{kOutX, kOutY, true}, {kInX, kInY, false}}, 0},
        Gesture{"PressOutsideDragOntoThenRelease",
                {{kOutX, kOutY, true}, {kInX, kInY, true}, {kInX, kInY, false}},
                1},
        Gesture{"DragOffAndBackThenRelease",
                {{kInX, kInY, true}, {kOutX, kOutY, true}, {kInX, kInY, true}, {kInX, kInY, false}},
                1},
        Gesture{"HoverAfterAClickRaisesNothingMore",
                {{kInX, kInY, true}, {kInX, kInY, false}, {kInX, kInY, false}, {kInX + 3, kInY, false}},
                1},
        Gesture{"HoverOnly", {{kInX, kInY, false}, {kInX + 1, kInY, false}}, 0}),
    [](const ::testing::TestParamInfo<Gesture>& info) { return info.param.name; });

TEST_F(ButtonTest, EachMouseButtonArmsOnItsOwnAndTheClickNamesIt) {
    gMouse->Button_Down(2);
    Poll(kInX, kInY, 2);
    EXPECT_TRUE(m_Button.IsArmed(2));
    EXPECT_FALSE(m_Button.IsArmed(1));
    Poll(kInX, kInY, 1);  // left is up and was never armed: nothing
    EXPECT_TRUE(m_Clicks.empty());
    gMouse->Button_Up(2);
    Poll(kInX, kInY, 2);
    ASSERT_EQ(m_Clicks.size(), 1u);
    EXPECT_EQ(m_Clicks[0], 2);
}

TEST_F(ButtonTest, OnlyTheMoveCheckChangesIsMouseOver) {
    m_Button.CheckMouseMove(kInX, kInY);
    MousePress();
    m_Button.CheckMouseDown(1, kOutX, kOutY);
    MouseRelease();
    m_Button.CheckMouseUp(1, kOutX, kOutY);
    EXPECT_TRUE(m_Button.IsMouseOver());
}

TEST_F(ButtonTest, MouseButtonNumbersAbove10AreAnIndexError) {
    EXPECT_NO_THROW(Poll(kInX, kInY, 10));
    try {
        m_Button.CheckMouseDown(11, kInX, kInY);
        FAIL() << "no error raised";
    } catch (const RuntimeError& error) {
        EXPECT_EQ(error.Number(), 9);
    }
    EXPECT_THROW(m_Button.CheckMouseUp(200, kInX, kInY), RuntimeError);
}

TEST_F(ButtonTest, AButtonUsedBeforeCreateRaisesAnErrorInsteadOfCrashing) {
    cButton unbound;
    EXPECT_THROW(unbound.Render(), RuntimeError);
    EXPECT_THROW(unbound.CheckMouseMove(1, 1), RuntimeError);
}

TEST_F(ButtonTest, WithoutFramesAHeldButtonKeepsItsRestImage) {
    Hold(kInX, kInY);
    AdvanceVirtualClock(100);
    DrawOneFrame([&] { m_Button.Render(); });
    EXPECT_TRUE(m_Button.IsAnimating());
    EXPECT_EQ(m_Button.Frame(), 0);
    EXPECT_EQ(m_Sprite->GetSourceX(), kRestX);
    EXPECT_EQ(m_Sprite->GetSourceY(), kRestY);
}

TEST_F(ButtonTest, HeldDownAnimationStepsOncePerDrawAfterMoreThan50msAndStopsOnTheLastFrame) {
    m_Button.AddDownAnimation(10, 11);
    m_Button.AddDownAnimation(20, 21);
    const auto shown = [&] { return std::pair(m_Sprite->GetSourceX(), m_Sprite->GetSourceY()); };

    Hold(kInX, kInY);
    DrawOneFrame([&] { m_Button.Render(); });
    EXPECT_EQ(shown(), std::pair(10, 11)) << "the first draw shows frame 1";
    AdvanceVirtualClock(50);
    DrawOneFrame([&] { m_Button.Render(); });
    EXPECT_EQ(shown(), std::pair(10, 11)) << "exactly 50 ms is not yet more than 50 ms";
    AdvanceVirtualClock(1);
    DrawOneFrame([&] { m_Button.Render(); });
    EXPECT_EQ(shown(), std::pair(20, 21));
    AdvanceVirtualClock(500);
    DrawOneFrame([&] { m_Button.Render(); });
    EXPECT_EQ(shown(), std::pair(20, 21)) << "the last frame stays while held";
    EXPECT_EQ(m_Button.Frame(), 2);

    Release(kInX, kInY);
    EXPECT_EQ(m_Clicks.size(), 1u);
    EXPECT_EQ(shown(), std::pair(kRestX, kRestY));
    EXPECT_EQ(m_Button.Frame(), 0);

    // The step clock is not reset: a new press within 50 ms of the last step waits for it.
    AdvanceVirtualClock(10);
    Hold(kInX, kInY);
    DrawOneFrame([&] { m_Button.Render(); });
    EXPECT_EQ(shown(), std::pair(kRestX, kRestY));
}

TEST_F(ButtonTest, RenderMovesOnlyForCoordinatesThatAreNotNegativeAndDraws) {
    DrawOneFrame([&] { m_Button.Render(-1, -1); });
    EXPECT_EQ(m_Sprite->GetX(), kLeft);
    EXPECT_EQ(kwtest::Rgb(PixelAt(static_cast<int32_t>(kLeft) + 5, static_cast<int32_t>(kTop) + 5)),
              kwtest::Rgb(kwtest::kButtonsColour));
    DrawOneFrame([&] { m_Button.Render(300, -1); });
    EXPECT_EQ(m_Sprite->GetX(), 300);
    EXPECT_EQ(m_Sprite->GetY(), kTop);
    EXPECT_EQ(kwtest::Rgb(PixelAt(305, static_cast<int32_t>(kTop) + 5)), kwtest::Rgb(kwtest::kButtonsColour));
    EXPECT_EQ(kwtest::Rgb(PixelAt(static_cast<int32_t>(kLeft) + 5, static_cast<int32_t>(kTop) + 5)), 0u);
}

}  // namespace
