// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/cOptionsScreen.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "base/Globals.h"
#include "engine/Controls.h"
#include "engine/cMouse.h"
#include "engine/cSound.h"
#include "engine/cTextures.h"
#include "gfx/Clock.h"
#include "shell/frmMain.h"
#include "shell/modOptions.h"
#include "shell/modSettings.h"

namespace {
constexpr int32_t kPanelX = 20, kPanelY = 5;
constexpr int32_t kFirstTop = 66, kPitch = 26;  // the lines, top to bottom
constexpr int32_t kRowLeft = 36, kRowWidth = 568;
constexpr int32_t kLabelX = 56, kLabelWidth = 222;
constexpr int32_t kLessX = 280, kTrackX = 310, kTrackWidth = 200, kMoreX = 518, kNumberX = 544;
constexpr int32_t kSlotX[kSlots] = {310, 446};
constexpr int32_t kStatusY = 408, kHintY = 434;
constexpr int32_t kVolumeStep = 5;
constexpr int32_t kRepeatDelayMs = 350, kRepeatMs = 70;
constexpr int32_t kBindWaitMs = 5000;  // a wait for a key that never comes ends by itself
constexpr int32_t kSampleGapMs = 150;  // a held or dragged volume plays its sample at this pace
constexpr int32_t kJoystick = 1, kPadA = 0, kPadB = 1, kPadX = 2;
constexpr int32_t kDelete = 211, kBackspace = 14;
constexpr int32_t kWhite = -1;
const int32_t kFocused = GfxUtility::MakeColor(255, 255, 226, 122);
const int32_t kHint = GfxUtility::MakeColor(255, 200, 196, 232);
const int32_t kOutline = GfxUtility::MakeColor(255, 16, 8, 32);

constexpr const char* kLabels[cOptionsScreen::LineCount] = {"Music volume",
                                                            "Effects volume",
                                                            "Display",
                                                            "Scaling",
                                                            "Pause when the window loses focus",
                                                            "Left",
                                                            "Right",
                                                            "Fire",
                                                            "Pause",
                                                            "Gamepad fire",
                                                            "Gamepad pause",
                                                            "Restore defaults",
                                                            "Back"};

int32_t Top(int line) { return kFirstTop + kPitch * line; }

// Bold Arial with an outline, so it reads over the panel and over whatever shows through it.
void Text(int32_t x, int32_t y, int32_t width, const std::string& text, int32_t align, int32_t colour, float size) {
    gEngine->GetText().DrawText(static_cast<float>(x), static_cast<float>(y), static_cast<float>(width), 24, text,
                                align, colour, "Arial", size, true, 0, 1, 1, kOutline);
}

// The volume a point of the slider stands for.
int32_t VolumeAt(float x) { return static_cast<int32_t>(std::lrint((x - kTrackX) * 100.0f / kTrackWidth)); }

int Direction(bool less, bool more) { return less == more ? 0 : less ? -1 : 1; }

bool Within(float v, int32_t from, int32_t size) {
    return v >= static_cast<float>(from) && v < static_cast<float>(from + size);
}

std::string Hint(int line) {
    switch (line) {
        case cOptionsScreen::MusicVolume:
        case cOptionsScreen::EffectsVolume:
            return "Left and Right, the arrows or the slider change it.";
        case cOptionsScreen::Display:
        case cOptionsScreen::Scaling:
        case cOptionsScreen::FocusPause:
            return "Enter, Left, Right, A or a click switches it.";
        case cOptionsScreen::PadFire:
        case cOptionsScreen::PadPause:
            return "A, Enter or a click binds a box; X, Delete or a right click empties it.";
        case cOptionsScreen::Restore:
        case cOptionsScreen::Back:
            return "Esc or B goes back from anywhere.";
        default:
            return "Enter or a click binds a box; Delete or a right click empties it.";
    }
}
}  // namespace

bool cOptionsScreen::Repeat::Step(int direction, int32_t now) {
    if (direction != held) {
        held = direction;
        repeating = false;
        since = now;
        return direction != 0;
    }
    if (direction == 0 || TicksSince(now, since) <= (repeating ? kRepeatMs : kRepeatDelayMs)) return false;
    repeating = true;
    since = now;
    return true;
}

cOptionsScreen::cOptionsScreen(std::function<void()> leave) : m_Leave(std::move(leave)) {
    m_Texture = gTextures->Texture(std::string(assets::kOptions));
    m_Sprite.SetTexture(m_Texture);
    m_Sprite.SetBlend(true);
    for (const char* sound : {"bonus.wav", "buttonclick.wav"}) gSound->Sound(sound);
    // What is heard is what the slider shows, whatever a fade had reached.
    gEngine->GetMusic().SetMusicVolume(static_cast<float>(gMusicVolume));
    m_LeftWasDown = gMouse->IsButtonPressed(1);
    m_RightWasDown = gMouse->IsButtonPressed(2);
    m_MouseX = gMouse->X;
    m_MouseY = gMouse->Y;
}

Control cOptionsScreen::FocusedControl() const {
    switch (m_Focus) {
        case KeyLeft:
            return Control::Left;
        case KeyRight:
            return Control::Right;
        case KeyFire:
        case PadFire:
            return Control::Fire;
        default:
            return Control::Pause;
    }
}

void cOptionsScreen::HandleInput() {
    gMouse->PollFullScreenButtons();
    gEngine->GetJoystick().Poll();
    if (m_Binding)
        HandleBinding();
    else
        HandleKeys();
    if (!m_Gone && !m_Binding) HandlePad();
    if (!m_Gone) HandleMouse();
    m_LeftWasDown = gMouse->IsButtonPressed(1);
    m_RightWasDown = gMouse->IsButtonPressed(2);
    m_MouseX = gMouse->X;
    m_MouseY = gMouse->Y;
}

void cOptionsScreen::HandleBinding() {
    const GfxKeyboard& keyboard = gEngine->GetKeyboard();
    const GfxJoystick& joystick = gEngine->GetJoystick();
    const bool click =
        (gMouse->IsButtonPressed(1) && !m_LeftWasDown) || (gMouse->IsButtonPressed(2) && !m_RightWasDown);
    // Esc is never bound; with the pad alone, B leaves a key's wait and time a button's.
    if (keyboard.IsKeyPressed(GfxKey::Escape) || click || TicksSince(GetTickCount(), m_BindStart) > kBindWaitMs ||
        (IsKeyLine() && joystick.IsButtonPressed(kJoystick, kPadB)))
        return EndBinding("Nothing was bound.");
    if (IsKeyLine()) {
        for (int32_t code = 1; code < 256; ++code)
            if (keyboard.IsKeyPressed(code))
                return EndBinding(BindKey(gOptions.controls, FocusedControl(), m_Slot, code).line);
    } else {
        for (int32_t button = 0; button <= 20; ++button)
            if (joystick.IsButtonPressed(kJoystick, button))
                return EndBinding(BindPadButton(gOptions.controls, FocusedControl(), m_Slot, button).line);
    }
}

void cOptionsScreen::HandleKeys() {
    const GfxKeyboard& keyboard = gEngine->GetKeyboard();
    const GfxJoystick& joystick = gEngine->GetJoystick();
    if (keyboard.IsKeyPressed(GfxKey::Escape)) return Leave();
    const auto held = [&keyboard](int32_t code) { return keyboard.IsKeyDown(code) || keyboard.IsKeyPressed(code); };
    const int32_t now = GetTickCount();
    int vertical = Direction(held(GfxKey::Up), held(GfxKey::Down));
    if (vertical == 0) vertical = joystick.GetAxisY(kJoystick);
    if (m_Vertical.Step(vertical, now)) MoveFocus(vertical);
    int horizontal = Direction(held(GfxKey::Left), held(GfxKey::Right));
    if (horizontal == 0) horizontal = joystick.GetAxisX(kJoystick);
    if (m_Horizontal.Step(horizontal, now)) Change(horizontal);
    if (keyboard.IsKeyPressed(GfxKey::Enter)) Activate();
    if (!m_Gone && (keyboard.IsKeyPressed(kDelete) || keyboard.IsKeyPressed(kBackspace))) ClearSlot();
}

void cOptionsScreen::HandlePad() {
    const GfxJoystick& joystick = gEngine->GetJoystick();
    if (joystick.IsButtonPressed(kJoystick, kPadB)) return Leave();
    if (joystick.IsButtonPressed(kJoystick, kPadA)) Activate();
    if (!m_Gone && !m_Binding && joystick.IsButtonPressed(kJoystick, kPadX)) ClearSlot();
}

void cOptionsScreen::HandleMouse() {
    const float x = gMouse->X, y = gMouse->Y;
    const bool left = gMouse->IsButtonPressed(1);
    if (m_Dragging >= 0) {
        if (left) SetVolume(static_cast<Line>(m_Dragging), VolumeAt(x));
        if (!left) m_Dragging = -1;
        return;
    }
    if (m_Binding || !Within(x, kRowLeft, kRowWidth) || y < static_cast<float>(kFirstTop)) return;
    const int line = static_cast<int>((y - static_cast<float>(kFirstTop)) / kPitch);
    if (line >= LineCount) return;
    if (x != m_MouseX || y != m_MouseY) m_Focus = line;  // a pointer standing still leaves the keys' focus alone
    int slot = -1;
    for (int s = 0; s < kSlots; ++s)
        if (Within(x, kSlotX[s], assets::kOptionsSlot.w)) slot = s;
    const bool slots = line >= KeyLeft && line <= PadPause;
    if (gMouse->IsButtonPressed(2) && !m_RightWasDown && slots && slot >= 0) {
        m_Focus = line;
        m_Slot = slot;
        ClearSlot();
    }
    if (!left || m_LeftWasDown) return;
    m_Focus = line;
    if (line == MusicVolume || line == EffectsVolume) {
        if (Within(x, kLessX, assets::kOptionsLess.w)) {
            Change(-1);
        } else if (Within(x, kMoreX, assets::kOptionsMore.w)) {
            Change(+1);
        } else if (Within(x, kTrackX - 8, kTrackWidth + 16)) {
            m_Dragging = line;
            SetVolume(static_cast<Line>(line), VolumeAt(x));
        }
    } else if (slots) {
        if (slot < 0) return;
        m_Slot = slot;
        StartBinding();
    } else {
        Activate();
    }
}

void cOptionsScreen::MoveFocus(int delta) { m_Focus = (m_Focus + delta + LineCount) % LineCount; }

void cOptionsScreen::Change(int direction) {
    switch (m_Focus) {
        case MusicVolume:
            return SetVolume(MusicVolume, gMusicVolume + direction * kVolumeStep);
        case EffectsVolume:
            return SetVolume(EffectsVolume, gSoundVolume + direction * kVolumeStep);
        case Display: {
            const bool windowed = gWindowed;
            gMainForm->ToggleFullScreen();
            m_Status = gWindowed == windowed ? "The display could not be switched." : "";
            return;
        }
        case Scaling:
            gOptions.scaling = gOptions.scaling == GfxScaling::Sharp ? GfxScaling::Fill : GfxScaling::Sharp;
            gEngine->SetScaling(gOptions.scaling);
            return;
        case FocusPause:
            gOptions.pauseOnFocusLoss = !gOptions.pauseOnFocusLoss;
            return;
        case Restore:
        case Back:
            return;
        default:
            m_Slot = direction > 0 ? 1 : 0;
            return;
    }
}

void cOptionsScreen::Activate() {
    switch (m_Focus) {
        case MusicVolume:
            return;
        case EffectsVolume:
            gSound->Play("bonus.wav");
            return;
        case Display:
        case Scaling:
        case FocusPause:
            return Change(+1);
        case Restore:
            gOptions.controls = Controls();
            gSound->Play("buttonclick.wav");
            m_Status = "Keys and gamepad buttons are back to their defaults.";
            return;
        case Back:
            return Leave();
        default:
            return StartBinding();
    }
}

void cOptionsScreen::ClearSlot() {
    if (IsKeyLine()) m_Status = ClearKey(gOptions.controls, FocusedControl(), m_Slot).line;
    if (IsPadLine()) m_Status = ClearPadButton(gOptions.controls, FocusedControl(), m_Slot).line;
}

void cOptionsScreen::StartBinding() {
    m_Binding = true;
    m_BindStart = GetTickCount();
    m_Status = std::string(IsKeyLine() ? "Press a key" : "Press a gamepad button") + " for " +
               ControlName(FocusedControl()) + "; Esc, a click or five seconds cancel.";
}

void cOptionsScreen::EndBinding(const std::string& line) {
    m_Binding = false;
    m_Status = line;
}

void cOptionsScreen::SetVolume(Line line, int32_t volume) {
    volume = std::clamp(volume, 0, 100);
    if (line == MusicVolume) {
        gMusicVolume = volume;
        gEngine->GetMusic().SetMusicVolume(static_cast<float>(volume));
        return;
    }
    if (volume == gSoundVolume) return;
    gSound->SetVolume(volume);
    // Heard at once: a sample at the new volume, however fast the slider moves.
    const int32_t now = GetTickCount();
    if (TicksSince(now, m_LastSample) <= kSampleGapMs) return;
    m_LastSample = now;
    gSound->Play("bonus.wav");
}

void cOptionsScreen::Leave() {
    if (m_Gone) return;
    m_Gone = true;
    m_Binding = false;
    gSound->Play("buttonclick.wav");
    // Kept at once, so a crash or a killed game later loses none of it.
    SaveOptions();
    SaveProgress();
    m_Leave();
}

void cOptionsScreen::Piece(const assets::Rect& cell, int32_t x, int32_t y, int32_t width) {
    if (width == 0) return;  // a source rectangle without width would show the whole sheet
    m_Sprite.SetSourceRect(cell.x, cell.y, width < 0 ? cell.w : width, cell.h);
    m_Sprite.SetX(static_cast<float>(x));
    m_Sprite.SetY(static_cast<float>(y));
    m_Sprite.Render();
}

void cOptionsScreen::Draw() {
    Piece(assets::kOptionsPanel, kPanelX, kPanelY);
    for (int line = 0; line < LineCount; ++line) DrawLine(line);
    Text(kRowLeft, kStatusY, kRowWidth, m_Status, 2, kFocused, 9);
    Text(kRowLeft, kHintY, kRowWidth, Hint(m_Focus), 2, kHint, 8);
}

void cOptionsScreen::DrawLine(int line) {
    const int32_t top = Top(line);
    const bool focused = line == m_Focus;
    if (focused) Piece(assets::kOptionsFocus, kRowLeft, top);
    const int32_t colour = focused ? kFocused : kWhite;
    if (line == Restore || line == Back) {
        Text(kRowLeft, top + 4, kRowWidth, kLabels[line], 2, colour, 10);
        return;
    }
    Text(kLabelX, top + 4, kLabelWidth, kLabels[line], 0, colour, 10);
    switch (line) {
        case MusicVolume:
            return DrawSlider(gMusicVolume, top);
        case EffectsVolume:
            return DrawSlider(gSoundVolume, top);
        case Display:
            return DrawChoice(gWindowed ? "Window" : "Full screen", top);
        case Scaling:
            return DrawChoice(gOptions.scaling == GfxScaling::Sharp ? "Sharp, whole pixels" : "Fill, same shape", top);
        case FocusPause:
            return DrawChoice(gOptions.pauseOnFocusLoss ? "On" : "Off", top);
        default:
            return DrawSlots(line, top);
    }
}

void cOptionsScreen::DrawSlots(int line, int32_t top) {
    const bool pad = line == PadFire || line == PadPause;
    const int row = pad ? line - PadFire : line - KeyLeft;
    const Slots& slots =
        pad ? gOptions.controls.pad[static_cast<size_t>(row)] : gOptions.controls.keys[static_cast<size_t>(row)];
    for (int s = 0; s < kSlots; ++s) {
        const bool lit = line == m_Focus && s == m_Slot;
        Piece(lit ? assets::kOptionsSlotLit : assets::kOptionsSlot, kSlotX[s], top + 1);
        const int32_t value = slots[static_cast<size_t>(s)];
        std::string label = pad ? PadLabel(value) : KeyLabel(value);
        if (lit && m_Binding) label = "?";
        Text(kSlotX[s], top + 6, assets::kOptionsSlot.w, label.empty() ? "-" : label, 2, lit ? kFocused : kWhite, 9);
    }
}

void cOptionsScreen::DrawSlider(int32_t value, int32_t top) {
    const int32_t filled = kTrackWidth * value / 100;
    Piece(assets::kOptionsLess, kLessX, top + 2);
    Piece(assets::kOptionsTrack, kTrackX, top + 6);
    Piece(assets::kOptionsFill, kTrackX, top + 6, filled);
    Piece(assets::kOptionsKnob, kTrackX + filled - assets::kOptionsKnob.w / 2, top + 2);
    Piece(assets::kOptionsMore, kMoreX, top + 2);
    Text(kNumberX, top + 4, 44, std::to_string(value), 1, kWhite, 10);
}

void cOptionsScreen::DrawChoice(const std::string& value, int32_t top) {
    Piece(assets::kOptionsLess, kLessX, top + 2);
    Text(kTrackX, top + 4, kTrackWidth, value, 2, kWhite, 10);
    Piece(assets::kOptionsMore, kMoreX, top + 2);
}
