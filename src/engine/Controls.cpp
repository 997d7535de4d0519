// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/Controls.h"

#include <algorithm>
#include <iterator>
#include <span>

#include "base/Globals.h"
#include "gfx/Gfx.h"
#include "gfx/Script.h"

namespace {
constexpr int32_t kJoystick = 1;
constexpr Control kAll[kControls] = {Control::Left, Control::Right, Control::Fire, Control::Pause};
constexpr Control kPadOwners[kPadControls] = {Control::Fire, Control::Pause};
constexpr const char* kNames[kControls] = {"Left", "Right", "Fire", "Pause"};
constexpr const char* kVerbs[kControls] = {"moves left", "moves right", "fires", "pauses"};
// SDL's controller buttons 0..10; the d-pad after them moves the dragon, Guide belongs to the system.
constexpr const char* kPadWords[] = {"a", "b", "x", "y", "back", "guide", "start", "ls", "rs", "lb", "rb"};
constexpr const char* kPadLabels[] = {"A",     "B",          "X",           "Y",  "Back", "Guide",
                                      "Start", "Left stick", "Right stick", "LB", "RB"};
constexpr int32_t kGuide = 5;

const char* Verb(Control control) { return kVerbs[static_cast<int>(control)]; }

bool BindableKey(int32_t code) {
    // Esc goes back, F7 and F8 set the music volume; a key a recording cannot name would not replay.
    return code != GfxKey::Escape && code != GfxKey::F7 && code != GfxKey::F8 && !KeyNameForScanCode(code).empty();
}

bool BindableButton(int32_t button) {
    return button >= 0 && button < static_cast<int32_t>(std::size(kPadWords)) && button != kGuide;
}

// One kind of binding: the keys of all four controls, or the buttons of Fire and Pause.
struct Table {
    std::span<Slots> rows;
    std::span<const Control> owners;  // the control of each row
    int32_t none;
    std::string (*label)(int32_t);
    bool (*bindable)(int32_t);
    const char* thing;
};
Table KeyTable(Controls& c) { return {c.keys, kAll, kNoKey, KeyLabel, BindableKey, "key"}; }
Table PadTable(Controls& c) { return {c.pad, kPadOwners, kNoButton, PadLabel, BindableButton, "button"}; }

BindOutcome Bind(const Table& t, int row, int slot, int32_t value) {
    Slots& mine = t.rows[static_cast<size_t>(row)];
    const Control control = t.owners[static_cast<size_t>(row)];
    const std::string what = t.label(value);
    if (!t.bindable(value))
        return {false, (what.empty() ? std::string("That ") + t.thing : what) + " cannot be bound; choose another."};
    if (mine[static_cast<size_t>(slot)] == value) return {false, what + " already " + Verb(control) + "."};
    const int32_t old = mine[static_cast<size_t>(slot)];
    for (size_t r = 0; r < t.rows.size(); ++r) {
        for (size_t s = 0; s < kSlots; ++s) {
            if (t.rows[r][s] != value || (r == static_cast<size_t>(row) && s == static_cast<size_t>(slot))) continue;
            Slots& theirs = t.rows[r];
            const Control other = t.owners[r];
            theirs[s] = old;
            if (r != static_cast<size_t>(row) && theirs[0] == t.none && theirs[1] == t.none) {
                theirs[s] = value;
                return {false, what + " is the only " + t.thing + " that " + Verb(other) + "; give " +
                                   kNames[static_cast<int>(other)] + " another " + t.thing + " first."};
            }
            mine[static_cast<size_t>(slot)] = value;
            if (other == control) return {true, what + " now " + Verb(control) + "."};
            if (old == t.none) return {true, what + " now " + Verb(control) + " and no longer " + Verb(other) + "."};
            return {true, what + " now " + Verb(control) + "; " + t.label(old) + " now " + Verb(other) + "."};
        }
    }
    mine[static_cast<size_t>(slot)] = value;
    return {true, what + " now " + Verb(control) + "."};
}

BindOutcome Clear(const Table& t, int row, int slot) {
    Slots& mine = t.rows[static_cast<size_t>(row)];
    const Control control = t.owners[static_cast<size_t>(row)];
    const int32_t held = mine[static_cast<size_t>(slot)];
    if (held == t.none) return {};
    if (mine[static_cast<size_t>(1 - slot)] == t.none)
        return {false,
                kNames[static_cast<int>(control)] + std::string(" needs a ") + t.thing + "; bind another first."};
    mine[static_cast<size_t>(slot)] = t.none;
    return {true, t.label(held) + " no longer " + Verb(control) + "."};
}

bool Usable(const Table& t) {
    std::vector<int32_t> seen;
    for (const Slots& row : t.rows) {
        if (row[0] == t.none && row[1] == t.none) return false;
        for (const int32_t value : row) {
            if (value == t.none) continue;
            if (!t.bindable(value) || std::find(seen.begin(), seen.end(), value) != seen.end()) return false;
            seen.push_back(value);
        }
    }
    return true;
}

std::string PadWord(int32_t button) { return BindableButton(button) ? kPadWords[button] : ""; }

int32_t PadButtonForWord(std::string_view word) {
    for (int32_t b = 0; b < static_cast<int32_t>(std::size(kPadWords)); ++b)
        if (word == kPadWords[b] && BindableButton(b)) return b;
    return kNoButton;
}

int32_t KeyForWord(std::string_view word) {
    const int32_t code = ScanCodeForKeyName(std::string(word));
    return BindableKey(code) ? code : kNoKey;
}

// "left,a": the filled slots in order, by the names recordings use for them.
std::string SlotsText(const Slots& slots, int32_t none, std::string (*word)(int32_t)) {
    std::string text;
    for (const int32_t value : slots) {
        if (value == none) continue;
        if (!text.empty()) text += ',';
        text += word(value);
    }
    return text;
}

bool ReadSlots(Slots& slots, std::string_view text, int32_t none, int32_t (*value)(std::string_view)) {
    Slots read{none, none};
    for (size_t slot = 0; slot < kSlots; ++slot) {
        const auto comma = text.find(',');
        read[slot] = value(text.substr(0, comma));
        if (read[slot] == none) return false;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
        if (slot + 1 == kSlots) return false;  // a third one
    }
    slots = read;
    return true;
}
const Slots* KeySlots(Control control) { return &gOptions.controls.keys[static_cast<size_t>(control)]; }

const Slots* PadSlots(Control control) {
    const int row = PadRow(control);
    return row < 0 ? nullptr : &gOptions.controls.pad[static_cast<size_t>(row)];
}

// Whether `test` holds for any key (or button) bound in the slots; false without slots.
template <typename Test>
bool AnyBound(const Slots* slots, int32_t none, Test test) {
    return slots &&
           std::any_of(slots->begin(), slots->end(), [&](int32_t value) { return value != none && test(value); });
}
}  // namespace

bool KeyHeld(Control control) {
    return AnyBound(KeySlots(control), kNoKey, [](int32_t code) { return gEngine->GetKeyboard().IsKeyDown(code); });
}

bool KeyPressed(Control control) {
    return AnyBound(KeySlots(control), kNoKey, [](int32_t code) { return gEngine->GetKeyboard().IsKeyPressed(code); });
}

bool PadHeld(Control control) {
    return AnyBound(PadSlots(control), kNoButton,
                    [](int32_t button) { return gEngine->GetJoystick().IsButtonDown(kJoystick, button); });
}

bool PadPressed(Control control) {
    return AnyBound(PadSlots(control), kNoButton,
                    [](int32_t button) { return gEngine->GetJoystick().IsButtonPressed(kJoystick, button); });
}

std::string ControlName(Control control) { return kNames[static_cast<int>(control)]; }

std::string KeyLabel(int32_t code) {
    // The arrows share their names with two of the controls.
    switch (code) {
        case kNoKey:
            return "";
        case GfxKey::Left:
            return "Left arrow";
        case GfxKey::Right:
            return "Right arrow";
        case GfxKey::Up:
            return "Up arrow";
        case GfxKey::Down:
            return "Down arrow";
        case GfxKey::Enter:
            return "Enter";
        default:
            return GfxKeyboard::KeyLabel(code);
    }
}

std::string PadLabel(int32_t button) {
    return button >= 0 && button < static_cast<int32_t>(std::size(kPadLabels)) ? kPadLabels[button] : "";
}

int PadRow(Control control) { return control == Control::Fire ? 0 : control == Control::Pause ? 1 : -1; }

BindOutcome BindKey(Controls& controls, Control control, int slot, int32_t code) {
    return Bind(KeyTable(controls), static_cast<int>(control), slot, code);
}

BindOutcome BindPadButton(Controls& controls, Control control, int slot, int32_t button) {
    return PadRow(control) < 0 ? BindOutcome{} : Bind(PadTable(controls), PadRow(control), slot, button);
}

BindOutcome ClearKey(Controls& controls, Control control, int slot) {
    return Clear(KeyTable(controls), static_cast<int>(control), slot);
}

BindOutcome ClearPadButton(Controls& controls, Control control, int slot) {
    return PadRow(control) < 0 ? BindOutcome{} : Clear(PadTable(controls), PadRow(control), slot);
}

std::vector<std::pair<std::string, std::string>> ControlEntries(const Controls& controls) {
    std::vector<std::pair<std::string, std::string>> entries;
    for (const Control control : kAll)
        entries.emplace_back("Key" + ControlName(control),
                             SlotsText(controls.keys[static_cast<size_t>(control)], kNoKey, KeyNameForScanCode));
    for (const Control control : kPadOwners)
        entries.emplace_back("Pad" + ControlName(control),
                             SlotsText(controls.pad[static_cast<size_t>(PadRow(control))], kNoButton, PadWord));
    return entries;
}

bool IsControlEntry(std::string_view name) {
    for (const Control control : kAll)
        if (name == "Key" + ControlName(control) || (PadRow(control) >= 0 && name == "Pad" + ControlName(control)))
            return true;
    return false;
}

bool ReadControlEntry(Controls& controls, std::string_view name, std::string_view value) {
    for (const Control control : kAll) {
        if (name == "Key" + ControlName(control))
            return ReadSlots(controls.keys[static_cast<size_t>(control)], value, kNoKey, KeyForWord);
        if (PadRow(control) >= 0 && name == "Pad" + ControlName(control))
            return ReadSlots(controls.pad[static_cast<size_t>(PadRow(control))], value, kNoButton, PadButtonForWord);
    }
    return false;
}

bool ControlsUsable(const Controls& controls) {
    Controls copy = controls;
    return Usable(KeyTable(copy)) && Usable(PadTable(copy));
}
