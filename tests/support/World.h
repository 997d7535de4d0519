// SPDX-License-Identifier: GPL-3.0-or-later
// The one headless test world: a game folder, a GfxEngine on the dummy drivers with its display,
// the virtual clock, and (for HeadlessGame) the registries, sprite list, mouse and globals as
// start-up leaves them, with frames run in the frame loop's order.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>

#include "base/Globals.h"
#include "engine/cMouse.h"
#include "engine/cSound.h"
#include "engine/cSprites.h"
#include "engine/cTextures.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "shell/cBaseState.h"
#include "support/GameFolder.h"

namespace kwtest {

// Starts the engine on the virtual clock at `tick` and a time of day; the folder comes first.
class EngineFixture : public ::testing::Test {
protected:
    explicit EngineFixture(uint32_t tick = 100000, double timeOfDay = 12 * 3600.0)
        : m_Tick(tick), m_TimeOfDay(timeOfDay) {}
    void SetUp() override;
    void TearDown() override;

    GameFolder m_Folder;

private:
    uint32_t m_Tick;
    double m_TimeOfDay;
};

// The engine and the game's shared services, with the error log open.
class HeadlessGame : public EngineFixture {
protected:
    using EngineFixture::EngineFixture;
    void SetUp() override;
    void TearDown() override;

    // One pass of the frame loop on the current state, in the loop's order, then time moves on.
    static void Frame(uint32_t ms = 16);
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
