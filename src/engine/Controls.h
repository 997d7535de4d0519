// SPDX-License-Identifier: GPL-3.0-or-later
// The bound controls: what play reads from the keyboard and gamepad, how the options screen binds
// them, and their name=value form for options.txt and recordings. A key or button goes to one
// control only, and every control keeps at least one of each, so no binding can lock a player out.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "base/Options.h"

// This frame's input for a control, from the keys and gamepad buttons gOptions binds to it.
bool KeyHeld(Control control);
bool KeyPressed(Control control);  // once per press, as GfxKeyboard::IsKeyPressed
bool PadHeld(Control control);     // Left and Right have no pad buttons: always false
bool PadPressed(Control control);

std::string ControlName(Control control);  // "Left", "Right", "Fire", "Pause"
std::string KeyLabel(int32_t code);        // "Space", "Left arrow"; "" for kNoKey
std::string PadLabel(int32_t button);      // "A", "Start"; "" for kNoButton
// Fire and Pause have pad slots; -1 for the others.
int PadRow(Control control);

// What a binding did, and the line the options screen shows about it.
struct BindOutcome {
    bool changed = false;
    std::string line;
};
// Binds to one slot of a control. A key bound elsewhere moves here, and the key this slot held
// goes where it was; refused when that would leave the other control without a key, and for
// keys that stay the game's own (Esc, F7, F8, F11) or that a recording cannot name.
BindOutcome BindKey(Controls& controls, Control control, int slot, int32_t code);
BindOutcome BindPadButton(Controls& controls, Control control, int slot, int32_t button);
// Empties a slot, unless it holds the control's last key (or button).
BindOutcome ClearKey(Controls& controls, Control control, int slot);
BindOutcome ClearPadButton(Controls& controls, Control control, int slot);

// The controls as name=value entries: KeyLeft=left,a ... PadPause=back,start.
std::vector<std::pair<std::string, std::string>> ControlEntries(const Controls& controls);
// Reads one entry: false when the name is a control's but the value is not (the control keeps
// what it had); unknown names are not read (IsControlEntry).
bool IsControlEntry(std::string_view name);
bool ReadControlEntry(Controls& controls, std::string_view name, std::string_view value);
// Every control has a key (and a button where it has pad slots), and nothing is bound twice.
bool ControlsUsable(const Controls& controls);
