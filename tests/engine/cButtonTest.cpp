// SPDX-License-Identifier: GPL-3.0-or-later
// The button widget: its inclusive hit box, arming per mouse button, clicks and the held-down look.
#include <gtest/gtest.h>

#include <vector>

#include "base/RuntimeError.h"
#include "engine/cButton.h"
#include "shell/AssetTable.h"
#include "support/World.h"

namespace {
// New Game's picture, placed at (100, 50).
constexpr assets::Rect kPicture = assets::kNewGame.rect;
constexpr float kLeft = 100, kTop = 50, kRight = kLeft + kPicture.w, kBottom = kTop + kPicture.h, kInX = 150, kInY = 80,
                kOut = 20;

class Buttons : public kwtest::HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        m_Sprite = std::make_shared<GfxSprite>();
        m_Sprite->SetTexture(gTextures->Texture(std::string(assets::kButtonsRest)));
        m_Sprite->SetSourceRect(kPicture.x, kPicture.y, kPicture.w, kPicture.h);
        m_Sprite->SetX(kLeft);
        m_Sprite->SetY(kTop);
        m_Button.Create(m_Sprite, "");
        m_Button.ButtonClick = [this](int32_t& mouseButton) { m_Clicks.push_back(mouseButton); };
    }
    // What a screen does once per frame: move, down, up, with the mouse button held or not.
    void Poll(float x, float y, bool held, uint8_t mouseButton = 1) {
        held ? gMouse->Button_Down(mouseButton) : gMouse->Button_Up(mouseButton);
        m_Button.CheckMouseMove(x, y);
        m_Button.CheckMouseDown(mouseButton, x, y);
        m_Button.CheckMouseUp(mouseButton, x, y);
    }
    std::pair<int32_t, int32_t> Shown() const { return {m_Sprite->GetSourceX(), m_Sprite->GetSourceY()}; }

    SpriteRef m_Sprite;
    cButton m_Button;
    std::vector<int32_t> m_Clicks;
};

// A gesture is the cursor and the left mouse button, frame by frame: (x, y, held).
using Steps = std::vector<std::tuple<float, float, bool>>;
struct Gesture {
    const char* name;
    Steps steps;
    size_t clicks;
};
Steps Tap(float x, float y) { return {{x, y, true}, {x, y, false}}; }
class ButtonGesture : public Buttons, public ::testing::WithParamInterface<Gesture> {};

TEST_P(ButtonGesture, ClicksOnlyWhenHeldOverTheButtonAndReleasedOverIt) {
    for (const auto& [x, y, held] : GetParam().steps) Poll(x, y, held);
    Poll(kOut, kOut, false);
    EXPECT_EQ(m_Clicks.size(), GetParam().clicks);
    EXPECT_FALSE(m_Button.IsArmed(1));
    EXPECT_EQ(Shown(), std::pair(kPicture.x, kPicture.y)) << "the rest image is back";
}

// All four edges of the hit box are inclusive, so it is one pixel larger than the picture.
INSTANTIATE_TEST_SUITE_P(
    Gestures, ButtonGesture,
    ::testing::Values(
        Gesture{"HeldForManyFramesOneClick", {{kInX, kInY, true}, {kInX + 5, kInY, true}, {kInX, kInY, false}}, 1},
        Gesture{"PressOverDragOffRelease", {{kInX, kInY, true}, {kOut, kOut, true}, {kOut, kOut, false}}, 0},
        Gesture{"PressOutsideReleaseOver", {{kOut, kOut, true}, {kInX, kInY, false}}, 0},
        Gesture{"PressOutsideDragOntoRelease", {{kOut, kOut, true}, {kInX, kInY, true}, {kInX, kInY, false}}, 1},
        Gesture{"HoverAfterAClickRaisesNothing", {{kInX, kInY, true}, {kInX, kInY, false}, {kInX, kInY, false}}, 1},
        Gesture{"TopLeftEdge", Tap(kLeft, kTop), 1}, Gesture{"BottomRightEdge", Tap(kRight, kBottom), 1},
        Gesture{"JustLeft", Tap(kLeft - 0.5f, kInY), 0}, Gesture{"JustRight", Tap(kRight + 0.5f, kInY), 0},
        Gesture{"JustAbove", Tap(kInX, kTop - 0.5f), 0}, Gesture{"JustBelow", Tap(kInX, kBottom + 0.5f), 0}),
    [](const auto& info) { return info.param.name; });

TEST_F(Buttons, EachMouseButtonArmsOnItsOwnAndTheClickNamesIt) {
    Poll(kInX, kInY, true, 2);
    EXPECT_FALSE(m_Button.IsArmed(1));
    Poll(kInX, kInY, false, 1);
    EXPECT_TRUE(m_Clicks.empty());
    Poll(kInX, kInY, false, 2);
    EXPECT_EQ(m_Clicks, std::vector<int32_t>{2});
    EXPECT_TRUE(m_Button.IsMouseOver());
    m_Button.CheckMouseMove(kRight + 0.5f, kInY);
    EXPECT_FALSE(m_Button.IsMouseOver());
    EXPECT_NO_THROW(Poll(kInX, kInY, false, 10));
    EXPECT_THROW(m_Button.CheckMouseDown(11, kInX, kInY), RuntimeError) << "11 buttons, numbered 0 to 10";
}

}  // namespace
