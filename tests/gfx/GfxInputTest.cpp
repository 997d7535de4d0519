// SPDX-License-Identifier: GPL-3.0-or-later
// Keys, mouse, joystick and window events arrive through the event pump: presses are reported
// once, in the frame after they happened, and the window's handlers see the mouse.
#include <gtest/gtest.h>

#include <vector>

#include "GfxFixture.h"
#include "gfx/GfxTestSupport.h"

namespace {

class KeysAndMouse : public GfxFixture {
protected:
    void SetUp() override {
        GfxFixture::SetUp();
        OpenDisplay();
    }
    GfxKeyboard& Keys() { return m_Engine->GetKeyboard(); }
    // Handlers that note in m_Seen what reaches them, mouse positions in game pixels.
    void Listen() {
        GfxWindowEvents e;
        const auto at = [](int32_t b, float x, float y) {
            return std::to_string(b) + " " + std::to_string(int(x)) + "," + std::to_string(int(y));
        };
        e.MouseMove = [=, this](int32_t, int32_t, float x, float y) { m_Seen.push_back("move " + at(0, x, y)); };
        e.MouseDown = [=, this](int32_t b, int32_t, float x, float y) { m_Seen.push_back("down " + at(b, x, y)); };
        e.MouseUp = [=, this](int32_t b, int32_t, float x, float y) { m_Seen.push_back("up " + at(b, x, y)); };
        e.ToggleFullScreen = [this] { m_Seen.push_back("switch"); };
        m_Engine->SetWindowEvents(std::move(e));
    }
    std::vector<std::string> m_Seen;
};

TEST_F(KeysAndMouse, AKeyPressIsReportedOnceInTheNextFrameEvenIfReleasedBeforeItAndRepeatsAreNoNewPress) {
    struct KeyFrame {
        std::vector<bool> downs;  // events before the pump
        bool pressed, down;       // then asked after it
    };
    m_Engine->InjectKey(GfxKey::Space, true);
    EXPECT_FALSE(Keys().IsKeyPressed(GfxKey::Space));  // not before the pump
    const std::vector<KeyFrame> frames{{{}, true, true},
                                       {{true}, false, true} /* auto-repeat */,
                                       {{false}, false, false},
                                       {{true, false}, true, false},
                                       {{}, false, false}};
    for (size_t i = 0; i < frames.size(); ++i) {
        for (bool down : frames[i].downs) m_Engine->InjectKey(GfxKey::Space, down);
        m_Engine->PumpEvents();
        EXPECT_EQ(std::pair(Keys().IsKeyPressed(GfxKey::Space), Keys().IsKeyDown(GfxKey::Space)),
                  std::pair(frames[i].pressed, frames[i].down))
            << "frame " << i;
    }
}

struct DisplayModeCase {
    const char* name;
    std::vector<std::pair<int32_t, bool>> keys;  // scan code, down
    size_t switches;
    bool enterPressed;
};
class DisplayModeKeys : public KeysAndMouse, public ::testing::WithParamInterface<DisplayModeCase> {};

TEST_P(DisplayModeKeys, AltEnterAndF11SwitchOncePerPressAndAreNotGameKeys) {
    Listen();
    for (const auto& [code, down] : GetParam().keys) m_Engine->InjectKey(code, down);
    m_Engine->PumpEvents();
    EXPECT_EQ(m_Seen, std::vector<std::string>(GetParam().switches, "switch"));
    EXPECT_EQ(Keys().IsKeyPressed(GfxKey::Enter), GetParam().enterPressed);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DisplayModeKeys,
    ::testing::Values(
        DisplayModeCase{"AltEnter", {{GfxKey::LeftAlt, true}, {GfxKey::Enter, true}}, 1, false},
        DisplayModeCase{"AltKeypadEnter", {{GfxKey::RightAlt, true}, {GfxKey::NumpadEnter, true}}, 1, false},
        DisplayModeCase{
            "AltLetGoBeforeEnter", {{GfxKey::LeftAlt, true}, {GfxKey::LeftAlt, false}, {GfxKey::Enter, true}}, 0, true},
        DisplayModeCase{"F11HeldDown", {{GfxKey::F11, true}, {GfxKey::F11, true}}, 1, false},
        DisplayModeCase{"F11Twice", {{GfxKey::F11, true}, {GfxKey::F11, false}, {GfxKey::F11, true}}, 2, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(KeysAndMouse, MouseEventsReachTheHandlersInGamePixelsAndClicksQuickerThanAFrameSpanTwoFrames) {
    Listen();
    m_Engine->InjectMouseMove(320, 200);
    for (bool down : {true, false, true, false}) m_Engine->InjectMouseButton(1, down);  // a double tap
    m_Engine->InjectMouseButton(2, true);  // another button is not held back by the first
    std::vector<bool> left;
    for (int frame = 0; frame < 5; ++frame) {
        m_Engine->PumpEvents();
        left.push_back(m_Engine->GetMouse().IsLeftButtonDown());
    }
    EXPECT_TRUE(m_Engine->GetMouse().IsRightButtonDown());
    EXPECT_EQ(m_Engine->GetMouse().GetCursorX(), 320);
    EXPECT_EQ(left, (std::vector<bool>{true, false, true, false, false}));
    EXPECT_EQ(m_Seen, (std::vector<std::string>{"move 0 320,200", "down 1 320,200", "up 1 320,200", "down 1 320,200",
                                                "up 1 320,200", "down 2 320,200"}));
}

struct PointerCase {
    const char* name;
    GfxScaling scaling;
    int32_t width, height;
    GfxArea picture;  // where the picture shows in a window of that size
};
class PointerMapping : public KeysAndMouse, public ::testing::WithParamInterface<PointerCase> {};

// A window pixel maps to the game pixel the output shows there: the picture's first and last
// pixels to the screen's edges, a border pixel beside them to just outside it.
TEST_P(PointerMapping, WindowPixelsMapToTheGamePixelsShownThereUnderEachScaling) {
    const PointerCase& c = GetParam();
    m_Engine->SetScaling(c.scaling);
    const GfxArea& p = c.picture;
    const auto mapped = [&](int32_t x, int32_t y) {
        EXPECT_TRUE(GfxTestSupport::MovePointerInWindow(*m_Engine, c.width, c.height, x, y));
        m_Engine->PumpEvents();
        return std::pair(m_Engine->GetMouse().GetCursorX(), m_Engine->GetMouse().GetCursorY());
    };
    EXPECT_EQ(mapped(p.x, p.y), std::pair(0.0f, 0.0f));
    EXPECT_EQ(mapped(p.x + p.w - 1, p.y + p.h - 1), std::pair(639.0f, 479.0f));
    EXPECT_EQ(mapped(p.x - 1, p.y + p.h), std::pair(-1.0f, 480.0f));
    EXPECT_EQ(mapped(p.x + p.w / 2, p.y + p.h / 2), std::pair(320.0f, 240.0f));
}

INSTANTIATE_TEST_SUITE_P(
    Screens, PointerMapping,
    ::testing::Values(PointerCase{"Fill1280x1024", GfxScaling::Fill, 1280, 1024, {0, 32, 1280, 960}},
                      PointerCase{"Sharp1280x1024", GfxScaling::Sharp, 1280, 1024, {0, 32, 1280, 960}},
                      PointerCase{"Fill1920x1080", GfxScaling::Fill, 1920, 1080, {240, 0, 1440, 1080}},
                      PointerCase{"Sharp1920x1080", GfxScaling::Sharp, 1920, 1080, {320, 60, 1280, 960}},
                      PointerCase{"Fill1001x757", GfxScaling::Fill, 1001, 757, {0, 3, 1001, 750}},
                      PointerCase{"Sharp1001x757", GfxScaling::Sharp, 1001, 757, {180, 138, 640, 480}},
                      PointerCase{"SharpTooSmall", GfxScaling::Sharp, 500, 400, {0, 12, 500, 375}}),
    [](const auto& info) { return std::string(info.param.name); });

class Gamepad : public KeysAndMouse {
protected:
    void SetUp() override {
        GfxFixture::SetUp();
        ASSERT_TRUE(m_Engine->AttachVirtualJoystick());  // before start-up, as the runner does
        OpenDisplay();
        m_Engine->PumpEvents();
    }
    GfxJoystick& Pad() { return m_Engine->GetJoystick(); }
    // Pressed and down for button `b` of device 1 after the next pump.
    std::pair<bool, bool> NextFrame(int32_t b = 0) {
        m_Engine->PumpEvents();
        Pad().Poll();
        return {Pad().IsButtonPressed(1, b), Pad().IsButtonDown(1, b)};
    }
};

TEST_F(Gamepad, AButtonPressIsReportedOnceAndATapWithinAFrameIsHeldForThatFrame) {
    m_Engine->InjectJoyButton(0, true);
    EXPECT_EQ(NextFrame(), std::pair(true, true));
    EXPECT_EQ(NextFrame(), std::pair(false, true));
    m_Engine->InjectJoyButton(0, false);
    EXPECT_EQ(NextFrame(), std::pair(false, false));
    m_Engine->InjectJoyButton(0, true);
    m_Engine->InjectJoyButton(0, false);
    EXPECT_EQ(NextFrame(), std::pair(true, true)) << "a held-button rule (firing) sees the tap too";
    EXPECT_EQ(NextFrame(), std::pair(false, false));
    m_Engine->InjectJoyButton(6, true);  // Start
    EXPECT_EQ(NextFrame(6), std::pair(true, true));
    EXPECT_FALSE(Pad().IsButtonPressed(2, 6));  // there is only device 1
}

}  // namespace
