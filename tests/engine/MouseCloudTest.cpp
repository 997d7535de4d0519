// SPDX-License-Identifier: GPL-3.0-or-later
// Mouse buttons, the activation hook, and the cloud layer's scrolling.
#include <gtest/gtest.h>

#include "base/Options.h"
#include "engine/cCloud.h"
#include "engine/cMouse.h"
#include "engine/cTextures.h"
#include "support/World.h"

namespace {

TEST(MouseButtons, AreHeldUntilReleasedAndNumbersOutsideZeroToNineAreIgnored) {
    cMouse mouse;
    mouse.Button_Down(1);
    mouse.Button_Down(4);
    mouse.Button_Up(4);
    for (int32_t outside : {-1, 10, 1000}) mouse.Button_Down(outside);
    for (int32_t b = -1; b <= 10; ++b) EXPECT_EQ(mouse.IsButtonPressed(b), b == 1) << b;
}

struct Activation {
    int32_t window, message, wParam;
    bool before, after;  // paused and inactive
    bool pauseOnFocusLoss = true;
};

class WindowHook : public ::testing::TestWithParam<Activation> {};

TEST_P(WindowHook, ActivationLowWordDecidesPauseAndInactiveAndOtherWindowsOrMessagesPassThrough) {
    HookWindow(1);
    gOptions.pauseOnFocusLoss = GetParam().pauseOnFocusLoss;
    gPaused = gInactive = GetParam().before;
    EXPECT_EQ(WindowProc(GetParam().window, GetParam().message, GetParam().wParam, 0), 0);
    EXPECT_EQ(gPaused, GetParam().after);
    EXPECT_EQ(gInactive, GetParam().after);
    UnhookWindow(1);
    EXPECT_EQ(gOldWindowProc, 0);
    gOptions = GameOptions();
}

INSTANTIATE_TEST_SUITE_P(Values, WindowHook,
                         ::testing::Values(Activation{1, WM_ACTIVATEAPP, 1, true, false},
                                           Activation{1, WM_ACTIVATEAPP, 0x7FFF0001, true, false},  // high word ignored
                                           Activation{1, WM_ACTIVATEAPP, 0x00010000, false, true},  // deactivated
                                           Activation{1, WM_ACTIVATEAPP, 2, true, true},  // any other value: no change
                                           // With the option off a lost focus plays on, and a pause it made ends.
                                           Activation{1, WM_ACTIVATEAPP, 0, false, false, false},
                                           Activation{1, WM_ACTIVATEAPP, 1, true, false, false},
                                           Activation{2, WM_ACTIVATEAPP, 0, false, false},
                                           Activation{1, 5, 1, true, true}));

class Clouds : public kwtest::EngineFixture {
protected:
    void SetUp() override {
        kwtest::EngineFixture::SetUp();
        m_Folder.WriteImage("game/images/clouds.png", 300, 300);
    }
};

TEST_F(Clouds, EachScrollPositionWrapsOnItsOwnOnlyAboveThreeHundred) {
    cCloud clouds;
    for (int i = 0; i < 300; ++i) clouds.MoveClouds(1, 1);
    EXPECT_EQ(clouds.ScrollX(), 300);
    EXPECT_EQ(clouds.ScrollY(), 300);
    clouds.MoveClouds(1, 0);
    EXPECT_EQ(clouds.ScrollX(), 0);
    EXPECT_EQ(clouds.ScrollY(), 300);
}

}  // namespace
