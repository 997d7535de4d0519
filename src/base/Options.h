// SPDX-License-Identifier: GPL-3.0-or-later
// The player's options beyond game.dat, as the options screen sets them and game/data/options.txt
// keeps them: the controls, how the picture fills the screen, and whether losing focus pauses.
// The one copy in use is gOptions (Globals.h).
#pragma once

#include <array>
#include <cstdint>

#include "gfx/Gfx.h"

// What a player binds. The gamepad binds Fire and Pause only: its stick and d-pad move the dragon.
enum class Control : int { Left, Right, Fire, Pause };
inline constexpr int kControls = 4;
inline constexpr int kPadControls = 2;  // Fire and Pause, in that order
inline constexpr int kSlots = 2;        // keys, or buttons, per control
inline constexpr int32_t kNoKey = 0;
inline constexpr int32_t kNoButton = -1;

using Slots = std::array<int32_t, kSlots>;

struct Controls {
    // DirectInput scan codes by Control; the defaults are the keys the game always had.
    std::array<Slots, kControls> keys{
        {{GfxKey::Left, kNoKey}, {GfxKey::Right, kNoKey}, {GfxKey::Space, kNoKey}, {GfxKey::P, kNoKey}}};
    // Gamepad buttons for Fire and Pause, in SDL's order: A fires, Back or Start pauses.
    std::array<Slots, kPadControls> pad{{{0, kNoButton}, {4, 6}}};
    bool operator==(const Controls&) const = default;
};

struct GameOptions {
    Controls controls;
    bool fullScreen = false;  // how the game starts when the command line does not say
    GfxScaling scaling = GfxScaling::Fill;
    bool pauseOnFocusLoss = true;
};
