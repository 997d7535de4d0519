// SPDX-License-Identifier: GPL-3.0-or-later
// The tests' world: a game folder of their own with the game's headless world over it (the
// engine on the dummy drivers with its display, the virtual clock, the registries, sprite list,
// mouse and globals as start-up leaves them), and (for HeadlessGame) the menu pictures, sounds
// and error log that screens need, with frames run in the frame loop's order.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>

#include "base/Globals.h"
#include "engine/cMouse.h"
#include "engine/cSound.h"
#include "engine/cSprites.h"
#include "engine/cTextures.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "shell/World.h"
#include "shell/cBaseState.h"
#include "support/GameFolder.h"

namespace kwtest {

// The world on the virtual clock at `tick` and a time of day; the folder comes first.
class EngineFixture : public ::testing::Test {
protected:
    explicit EngineFixture(uint32_t tick = 100000, double timeOfDay = 12 * 3600.0)
        : m_Tick(tick), m_TimeOfDay(timeOfDay) {}
    void SetUp() override;
    void TearDown() override { m_World.reset(); }

    GameFolder m_Folder;
    bool m_ErrorLog = false;

private:
    uint32_t m_Tick;
    double m_TimeOfDay;
    std::optional<HeadlessWorld> m_World;
};

// The world with the menu pictures and sounds written and the error log open.
class HeadlessGame : public EngineFixture {
protected:
    using EngineFixture::EngineFixture;
    void SetUp() override;

    // One pass of the frame loop on the current state, in the loop's order, then time moves on.
    static void Frame(uint32_t ms = 16) { HeadlessWorld::Frame(ms); }
    static void RunFor(uint32_t ms, uint32_t frameMs = 16);
    // A key tapped before the next frame: down now, up after that frame.
    static void TapKey(int32_t code);
    // The window's mouse events, as the main window delivers them: hover, press, release.
    static void ClickAt(float x, float y);
    static int32_t ClickSounds();
    static uint32_t PixelAt(float x, float y);
};

// text.png encodes each texel's own coordinates, so a screen pixel names the texel drawn there.
inline uint32_t TextTexel(int32_t x, int32_t y) {
    return 0xFF000000u | static_cast<uint32_t>((x & 0xFF) << 16 | (y & 0xFF) << 8 | (x >> 8) << 4 | y >> 8);
}
inline uint32_t Rgb(uint32_t argb) { return argb & 0x00FFFFFFu; }
// Colours of the menu pictures HeadlessGame writes, so a screen pixel tells which was drawn there.
constexpr uint32_t kTitleColour = 0xFF202060, kButtonsColour = 0xFF808080, kHighlitColour = 0xFFE0C000,
                   kBackOkColour = 0xFF00A000;

void BeginTestFrame();
void EndTestFrame();
// Draws inside one frame of its own, so a test can read what a widget put on the screen.
template <typename Draw>
void DrawOneFrame(Draw&& draw) {
    BeginTestFrame();
    draw();
    EndTestFrame();
}

}  // namespace kwtest
