// Headless test bed for screens and widgets: a GfxEngine on the dummy drivers in a temporary game
// folder with small generated pictures and sounds, the registries, sprite list and mouse, and the
// virtual clock. Owns the temporary folder and removes it afterwards.
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <memory>
#include <string>

#include "base/Globals.h"
#include "engine/cMouse.h"
#include "engine/cSound.h"
#include "engine/cSprites.h"
#include "engine/cTextures.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "gfx/GfxTestSupport.h"
#include "shell/cBaseState.h"

namespace kwtest {

// Colours of the test pictures, so a screen pixel tells which picture was drawn there.
constexpr uint32_t kTitleColour = 0xFF202060, kButtonsColour = 0xFF808080, kHighlitColour = 0xFFE0C000,
                   kBackOkColour = 0xFF00A000;

// text.png encodes each texel's own coordinates, so a screen pixel names the texel drawn there.
inline uint32_t TextTexel(int32_t x, int32_t y) {
    return 0xFF000000u | static_cast<uint32_t>((x & 0xFF) << 16 | (y & 0xFF) << 8 | (x >> 8) << 4 | y >> 8);
}

// MPEG-1 layer III frames (128 kbit/s, 44.1 kHz, mono) whose side information is all zero: silence.
inline void WriteSilentMp3(const std::filesystem::path& path) {
    std::string frame(417, '\0');
    frame.replace(0, 4, "\xFF\xFB\x90\xC0");
    std::ofstream out(path, std::ios::binary);
    for (int i = 0; i < 40; ++i) out << frame;
}

inline uint32_t Rgb(uint32_t argb) { return argb & 0x00FFFFFFu; }

class HeadlessGame : public ::testing::Test {
protected:
    void SetUp() override {
        static int counter = 0;
        m_Dir = std::filesystem::temp_directory_path() /
                ("kw_ui_" + std::to_string(::getpid()) + "_" + std::to_string(++counter));
        std::filesystem::create_directories(m_Dir / "game/images");
        std::filesystem::create_directories(m_Dir / "game/sounds");
        const auto image = [&](const char* name) { return (m_Dir / "game/images" / name).string(); };
        using namespace GfxTestSupport;
        ASSERT_TRUE(WriteSolidPng(image("titlescreen.png"), 640, 480, kTitleColour));
        ASSERT_TRUE(WriteSolidPng(image("buttons1b.png"), 512, 512, kButtonsColour));
        ASSERT_TRUE(WriteSolidPng(image("buttons2b.png"), 512, 512, kHighlitColour));
        ASSERT_TRUE(WriteSolidPng(image("backok1.png"), 512, 512, kBackOkColour));
        ASSERT_TRUE(WriteSolidPng(image("fade.png"), 640, 480, 0xFF000000));
        ASSERT_TRUE(WritePng(image("text.png"), 512, 512, TextTexel));
        ASSERT_TRUE(WriteWav((m_Dir / "game/sounds/buttonclick.wav").string(), 20));
        WriteSilentMp3(m_Dir / "game/sounds/puzzle3.mp3");

        UseVirtualClock(100000, 12 * 3600.0);
        GfxEngine::SetHeadless(true);
        gProgramFolder = m_Dir;
        gEngine = std::make_unique<GfxEngine>();
        gEngine->SetWorkingFolder(m_Dir.string());
        ASSERT_TRUE(gEngine->Startup());
        ASSERT_TRUE(gEngine->InitializeDisplay());
        gSound = std::make_unique<cSound>();
        gTextures = std::make_unique<cTextures>();
        gSprites = std::make_unique<cSprites>();
        gMouse = std::make_unique<cMouse>();
        gRunning = gWindowed = true;
        gPaused = gInactive = false;
        gHighestLevel = 1;
        gCurrentLevel = 0;
    }

    void TearDown() override {
        gCurrentState.reset();
        ReleaseRetiredState();
        gMouse.reset();
        gSprites.reset();
        gTextures.reset();
        gSound.reset();
        if (gEngine) gEngine->Shutdown();
        gEngine.reset();
        UseRealClock();
        std::error_code ignored;
        std::filesystem::remove_all(m_Dir, ignored);
    }

    // One pass of the frame loop on the current state, in the loop's order, then time moves on.
    void Frame(uint32_t ms = 16) {
        gEngine->GetDevice().BeginFrame();
        for (auto op : {&cBaseState::HandleInput, &cBaseState::ProcessState, &cBaseState::DrawState}) {
            if (gCurrentState) (gCurrentState.get()->*op)();
            ReleaseRetiredState();
        }
        gEngine->GetDevice().EndFrame();
        gEngine->PumpEvents();
        AdvanceVirtualClock(ms);
    }
    void RunFor(uint32_t ms, uint32_t frameMs = 16) {
        for (uint32_t spent = 0; spent < ms; spent += frameMs) Frame(frameMs);
    }

    // A key tapped before the next frame: down now, up after that frame.
    void TapKey(int32_t code) {
        gEngine->InjectKey(code, true);
        gEngine->PumpEvents();
        Frame();
        gEngine->InjectKey(code, false);
        gEngine->PumpEvents();
    }

    // The window's mouse events, as the main window delivers them: hover, press, release.
    void ClickAt(float x, float y) {
        gMouse->X = x;
        gMouse->Y = y;
        Frame();
        gMouse->Button_Down(1);
        Frame();
        gMouse->Button_Up(1);
        Frame();
    }

    int32_t ClickSounds() const { return gEngine->GetSoundStore().PlayCount(gSound->Sound("buttonclick.wav")); }
    uint32_t PixelAt(float x, float y) const {
        return gEngine->ReadPixel(static_cast<int32_t>(x), static_cast<int32_t>(y));
    }

    std::filesystem::path m_Dir;
};

// Draws inside one frame of its own, so a test can read what a widget put on the screen.
template <typename Draw>
void DrawOneFrame(Draw&& draw) {
    gEngine->GetDevice().BeginFrame();
    draw();
    gEngine->GetDevice().EndFrame();
}

}  // namespace kwtest
