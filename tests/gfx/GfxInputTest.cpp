// Keys, mouse, joystick and window events arrive through the event pump: presses are reported
// once, in the frame after they happened, and the window's handlers see mouse and focus changes.
#include <gtest/gtest.h>

#include <vector>

#include "GfxFixture.h"
#include "gfx/GfxTestSupport.h"

namespace {

class InputTest : public GfxFixture {
protected:
    void SetUp() override {
        GfxFixture::SetUp();
        OpenDisplay();
    }
    GfxKeyboard& Keys() { return m_Engine->GetKeyboard(); }
};

TEST_F(InputTest, AKeyPressIsReportedInTheNextFrameOnlyAndRepeatsAreNoNewPress) {
    m_Engine->InjectKey(GfxKey::Space, true);
    EXPECT_FALSE(Keys().IsKeyPressed(GfxKey::Space));  // not before the pump
    m_Engine->PumpEvents();
    EXPECT_TRUE(Keys().IsKeyPressed(GfxKey::Space));
    EXPECT_TRUE(Keys().IsKeyDown(GfxKey::Space));
    m_Engine->InjectKey(GfxKey::Space, true);  // a second down without an up: auto-repeat
    m_Engine->PumpEvents();
    EXPECT_FALSE(Keys().IsKeyPressed(GfxKey::Space));
    EXPECT_TRUE(Keys().IsKeyDown(GfxKey::Space));
    m_Engine->InjectKey(GfxKey::Space, false);
    m_Engine->PumpEvents();
    EXPECT_FALSE(Keys().IsKeyDown(GfxKey::Space));
}

TEST_F(InputTest, APressReleasedBeforeTheFrameStillCountsOnce) {
    m_Engine->InjectKey(GfxKey::Enter, true);
    m_Engine->InjectKey(GfxKey::Enter, false);
    m_Engine->PumpEvents();
    EXPECT_TRUE(Keys().IsKeyPressed(GfxKey::Enter));
    EXPECT_FALSE(Keys().IsKeyDown(GfxKey::Enter));
    m_Engine->PumpEvents();
    EXPECT_FALSE(Keys().IsKeyPressed(GfxKey::Enter));
}

struct DisplayModeCase {
    const char* name;
    std::vector<std::pair<int32_t, bool>> keys;  // scan code, down
    int switches;
    bool enterPressed;
};
class DisplayModeKeys : public InputTest, public ::testing::WithParamInterface<DisplayModeCase> {};

TEST_P(DisplayModeKeys, AltEnterAndF11SwitchOncePerPressAndAreNotGameKeys) {
    int switches = 0;
    GfxWindowEvents events;
    events.ToggleFullScreen = [&] { ++switches; };
    m_Engine->SetWindowEvents(std::move(events));
    for (const auto& [code, down] : GetParam().keys) m_Engine->InjectKey(code, down);
    m_Engine->PumpEvents();
    EXPECT_EQ(switches, GetParam().switches);
    EXPECT_EQ(Keys().IsKeyPressed(GfxKey::Enter), GetParam().enterPressed);
}

INSTANTIATE_TEST_SUITE_P(
    Keys, DisplayModeKeys,
    ::testing::Values(
        DisplayModeCase{"Enter", {{GfxKey::Enter, true}}, 0, true},
        DisplayModeCase{"AltEnter", {{GfxKey::LeftAlt, true}, {GfxKey::Enter, true}}, 1, false},
        DisplayModeCase{"AltKeypadEnter", {{GfxKey::RightAlt, true}, {GfxKey::NumpadEnter, true}}, 1, false},
        DisplayModeCase{
            "AltLetGoBeforeEnter", {{GfxKey::LeftAlt, true}, {GfxKey::LeftAlt, false}, {GfxKey::Enter, true}}, 0, true},
        DisplayModeCase{"F11HeldDown", {{GfxKey::F11, true}, {GfxKey::F11, true}}, 1, false},
        DisplayModeCase{"F11Twice", {{GfxKey::F11, true}, {GfxKey::F11, false}, {GfxKey::F11, true}}, 2, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InputTest, MouseEventsReachTheHandlersInGamePixels) {
    std::vector<std::string> seen;
    GfxWindowEvents events;
    events.MouseMove = [&](int32_t, int32_t, float x, float y) {
        seen.push_back("move " + std::to_string(int(x)) + "," + std::to_string(int(y)));
    };
    events.MouseDown = [&](int32_t b, int32_t, float x, float y) {
        seen.push_back("down " + std::to_string(b) + " " + std::to_string(int(x)) + "," + std::to_string(int(y)));
    };
    events.MouseUp = [&](int32_t b, int32_t, float, float) { seen.push_back("up " + std::to_string(b)); };
    m_Engine->SetWindowEvents(events);
    m_Engine->InjectMouseMove(320, 200);
    m_Engine->InjectMouseButton(2, true);
    m_Engine->PumpEvents();
    EXPECT_TRUE(m_Engine->GetMouse().IsRightButtonDown());
    EXPECT_FALSE(m_Engine->GetMouse().IsLeftButtonDown());
    EXPECT_EQ(m_Engine->GetMouse().GetCursorX(), 320);
    m_Engine->InjectMouseButton(2, false);
    m_Engine->PumpEvents();
    EXPECT_FALSE(m_Engine->GetMouse().IsRightButtonDown());
    EXPECT_EQ(seen, (std::vector<std::string>{"move 320,200", "down 2 320,200", "up 2"}));
}

TEST_F(InputTest, ClicksQuickerThanAFrameAreSeenDownInOneFrameAndUpInTheNext) {
    std::vector<std::string> seen;
    GfxWindowEvents events;
    events.MouseDown = [&](int32_t b, int32_t, float, float) { seen.push_back("down " + std::to_string(b)); };
    events.MouseUp = [&](int32_t b, int32_t, float, float) { seen.push_back("up " + std::to_string(b)); };
    m_Engine->SetWindowEvents(events);
    for (bool down : {true, false, true, false}) m_Engine->InjectMouseButton(1, down);  // a double tap
    m_Engine->InjectMouseButton(2, true);  // another button is not held back by the first
    std::vector<bool> left;
    for (int frame = 0; frame < 5; ++frame) {
        m_Engine->PumpEvents();
        left.push_back(m_Engine->GetMouse().IsLeftButtonDown());
    }
    EXPECT_EQ(left, (std::vector<bool>{true, false, true, false, false}));
    EXPECT_EQ(seen, (std::vector<std::string>{"down 1", "up 1", "down 1", "up 1", "down 2"}));
}

TEST_F(InputTest, WindowActionsReachTheHandlersAndMinimiseHoldsUntilRestore) {
    std::vector<std::string> seen;
    GfxWindowEvents events;
    events.Activation = [&](bool active) { seen.push_back(active ? "active" : "inactive"); };
    events.Unload = [&] { seen.push_back("unload"); };
    m_Engine->SetWindowEvents(events);
    m_Engine->InjectWindow(GfxWindowAction::FocusLost);
    m_Engine->InjectWindow(GfxWindowAction::Minimize);
    m_Engine->PumpEvents();
    EXPECT_TRUE(m_Engine->IsMinimized());
    m_Engine->PumpEvents();
    EXPECT_TRUE(m_Engine->IsMinimized());
    m_Engine->InjectWindow(GfxWindowAction::Restore);
    m_Engine->InjectWindow(GfxWindowAction::FocusGained);
    m_Engine->InjectWindow(GfxWindowAction::Close);
    m_Engine->PumpEvents();
    EXPECT_FALSE(m_Engine->IsMinimized());
    EXPECT_EQ(seen, (std::vector<std::string>{"inactive", "active", "unload"}));
}

TEST_F(InputTest, InFullScreenTheCursorImageReplacesTheHiddenSystemPointer) {
    m_Engine->Shutdown();
    m_Engine->GetDisplaySettings().SetWindowed(false);
    OpenDisplay();
    ASSERT_TRUE(GfxTestSupport::WriteSolidPng(PathOf("cursor.png"), 4, 4, 0xFFFFFFFFu));
    ASSERT_TRUE(m_Engine->GetTextureStore().LoadTexture(1, "cursor.png", true, 0));
    m_Engine->GetMouse().SetCursorImage(1, 0, 0, 4, 4, 2, 255, 0, 2, 2, 30, 0, true);
    m_Engine->InjectMouseMove(50, 60);
    m_Engine->PumpEvents();
    Frame([] {});
    EXPECT_EQ(m_Engine->ReadPixel(51, 61), 0xFF000000u);  // the system pointer shows: no image
    m_Engine->GetUtility().HideCursor();
    ASSERT_TRUE(GfxTestSupport::WriteSolidPng(PathOf("dark.png"), 100, 100, 0xFF102030u));
    ASSERT_TRUE(m_Engine->GetTextureStore().LoadTexture(2, "dark.png", true, 0));
    GfxSprite dark;  // drawn by the game; the cursor still goes on top
    dark.SetTexture(2);
    Frame([&] { dark.Render(); });
    EXPECT_EQ(m_Engine->ReadPixel(51, 61), 0xFFFFFFFFu);
    EXPECT_EQ(m_Engine->ReadPixel(55, 61), 0xFF102030u);
    m_Engine->GetUtility().ShowCursor();
    Frame([&] { dark.Render(); });
    EXPECT_EQ(m_Engine->ReadPixel(51, 61), 0xFF102030u);
}

TEST_F(InputTest, InAWindowTheLibraryDrawsNoCursor) {
    ASSERT_TRUE(GfxTestSupport::WriteSolidPng(PathOf("cursor.png"), 4, 4, 0xFFFFFFFFu));
    ASSERT_TRUE(m_Engine->GetTextureStore().LoadTexture(1, "cursor.png", true, 0));
    m_Engine->GetMouse().SetCursorImage(1, 0, 0, 4, 4, 2, 255, 0, 2, 2, 30, 0, true);
    m_Engine->GetUtility().HideCursor();
    m_Engine->InjectMouseMove(50, 60);
    m_Engine->PumpEvents();
    Frame([] {});
    EXPECT_EQ(m_Engine->ReadPixel(51, 61), 0xFF000000u);
}

class JoystickTest : public InputTest {
protected:
    void SetUp() override {
        GfxFixture::SetUp();
        ASSERT_TRUE(m_Engine->AttachVirtualJoystick());  // before start-up, as the runner does
        OpenDisplay();
        m_Engine->PumpEvents();
    }
    GfxJoystick& Pad() { return m_Engine->GetJoystick(); }
};

TEST_F(JoystickTest, AButtonPressIsReportedOncePerPress) {
    m_Engine->InjectJoyButton(0, true);
    m_Engine->PumpEvents();
    Pad().Poll();
    EXPECT_TRUE(Pad().IsButtonPressed(1, 0));
    EXPECT_TRUE(Pad().IsButtonDown(1, 0));
    m_Engine->PumpEvents();
    EXPECT_FALSE(Pad().IsButtonPressed(1, 0));
    EXPECT_TRUE(Pad().IsButtonDown(1, 0));
    m_Engine->InjectJoyButton(0, false);
    m_Engine->PumpEvents();
    EXPECT_FALSE(Pad().IsButtonDown(1, 0));
    m_Engine->InjectJoyButton(6, true);  // Start
    m_Engine->PumpEvents();
    EXPECT_TRUE(Pad().IsButtonPressed(1, 6));
    EXPECT_FALSE(Pad().IsButtonPressed(2, 6));  // there is only device 1
}

TEST_F(JoystickTest, APressReleasedBeforeTheFrameIsHeldInThatFrameAndReleasedInTheNext) {
    m_Engine->InjectJoyButton(0, true);
    m_Engine->InjectJoyButton(0, false);
    m_Engine->PumpEvents();
    EXPECT_TRUE(Pad().IsButtonPressed(1, 0));
    EXPECT_TRUE(Pad().IsButtonDown(1, 0)) << "a held-button rule (firing) sees the tap too";
    m_Engine->PumpEvents();
    EXPECT_FALSE(Pad().IsButtonPressed(1, 0));
    EXPECT_FALSE(Pad().IsButtonDown(1, 0));
}

TEST_F(JoystickTest, AxesAnswerMinusOneZeroOrOne) {
    for (int32_t value : {-1, 1, 0}) {
        m_Engine->InjectJoyAxis('x', value);
        m_Engine->InjectJoyAxis('y', -value);
        m_Engine->PumpEvents();
        EXPECT_EQ(Pad().GetAxisX(1), value);
        EXPECT_EQ(Pad().GetAxisY(1), -value);
    }
}

}  // namespace
