// SPDX-License-Identifier: GPL-3.0-or-later
// Keyboard, mouse and joystick answers from the state that PumpEvents keeps, and the map between
// SDL scancodes and DirectInput scan codes.
#include <SDL.h>

#include <cmath>
#include <utility>

#include "gfx/Gfx.h"
#include "gfx/GfxImpl.h"

namespace gfx_detail {
namespace {
// DirectInput scan code for each SDL scancode we know.
constexpr std::pair<SDL_Scancode, int32_t> KeyMap[] = {
    {SDL_SCANCODE_ESCAPE, 1},
    {SDL_SCANCODE_1, 2},
    {SDL_SCANCODE_2, 3},
    {SDL_SCANCODE_3, 4},
    {SDL_SCANCODE_4, 5},
    {SDL_SCANCODE_5, 6},
    {SDL_SCANCODE_6, 7},
    {SDL_SCANCODE_7, 8},
    {SDL_SCANCODE_8, 9},
    {SDL_SCANCODE_9, 10},
    {SDL_SCANCODE_0, 11},
    {SDL_SCANCODE_MINUS, 12},
    {SDL_SCANCODE_EQUALS, 13},
    {SDL_SCANCODE_BACKSPACE, 14},
    {SDL_SCANCODE_TAB, 15},
    {SDL_SCANCODE_Q, 16},
    {SDL_SCANCODE_W, 17},
    {SDL_SCANCODE_E, 18},
    {SDL_SCANCODE_R, 19},
    {SDL_SCANCODE_T, 20},
    {SDL_SCANCODE_Y, 21},
    {SDL_SCANCODE_U, 22},
    {SDL_SCANCODE_I, 23},
    {SDL_SCANCODE_O, 24},
    {SDL_SCANCODE_P, 25},
    {SDL_SCANCODE_LEFTBRACKET, 26},
    {SDL_SCANCODE_RIGHTBRACKET, 27},
    {SDL_SCANCODE_RETURN, 28},
    {SDL_SCANCODE_LCTRL, 29},
    {SDL_SCANCODE_A, 30},
    {SDL_SCANCODE_S, 31},
    {SDL_SCANCODE_D, 32},
    {SDL_SCANCODE_F, 33},
    {SDL_SCANCODE_G, 34},
    {SDL_SCANCODE_H, 35},
    {SDL_SCANCODE_J, 36},
    {SDL_SCANCODE_K, 37},
    {SDL_SCANCODE_L, 38},
    {SDL_SCANCODE_SEMICOLON, 39},
    {SDL_SCANCODE_APOSTROPHE, 40},
    {SDL_SCANCODE_GRAVE, 41},
    {SDL_SCANCODE_LSHIFT, 42},
    {SDL_SCANCODE_BACKSLASH, 43},
    {SDL_SCANCODE_Z, 44},
    {SDL_SCANCODE_X, 45},
    {SDL_SCANCODE_C, 46},
    {SDL_SCANCODE_V, 47},
    {SDL_SCANCODE_B, 48},
    {SDL_SCANCODE_N, 49},
    {SDL_SCANCODE_M, 50},
    {SDL_SCANCODE_COMMA, 51},
    {SDL_SCANCODE_PERIOD, 52},
    {SDL_SCANCODE_SLASH, 53},
    {SDL_SCANCODE_RSHIFT, 54},
    {SDL_SCANCODE_KP_MULTIPLY, 55},
    {SDL_SCANCODE_LALT, 56},
    {SDL_SCANCODE_SPACE, 57},
    {SDL_SCANCODE_CAPSLOCK, 58},
    {SDL_SCANCODE_F1, 59},
    {SDL_SCANCODE_F2, 60},
    {SDL_SCANCODE_F3, 61},
    {SDL_SCANCODE_F4, 62},
    {SDL_SCANCODE_F5, 63},
    {SDL_SCANCODE_F6, 64},
    {SDL_SCANCODE_F7, 65},
    {SDL_SCANCODE_F8, 66},
    {SDL_SCANCODE_F9, 67},
    {SDL_SCANCODE_F10, 68},
    {SDL_SCANCODE_NUMLOCKCLEAR, 69},
    {SDL_SCANCODE_SCROLLLOCK, 70},
    {SDL_SCANCODE_KP_7, 71},
    {SDL_SCANCODE_KP_8, 72},
    {SDL_SCANCODE_KP_9, 73},
    {SDL_SCANCODE_KP_MINUS, 74},
    {SDL_SCANCODE_KP_4, 75},
    {SDL_SCANCODE_KP_5, 76},
    {SDL_SCANCODE_KP_6, 77},
    {SDL_SCANCODE_KP_PLUS, 78},
    {SDL_SCANCODE_KP_1, 79},
    {SDL_SCANCODE_KP_2, 80},
    {SDL_SCANCODE_KP_3, 81},
    {SDL_SCANCODE_KP_0, 82},
    {SDL_SCANCODE_KP_PERIOD, 83},
    {SDL_SCANCODE_NONUSBACKSLASH, 86},
    {SDL_SCANCODE_F11, 87},
    {SDL_SCANCODE_F12, 88},
    {SDL_SCANCODE_F13, 100},
    {SDL_SCANCODE_F14, 101},
    {SDL_SCANCODE_F15, 102},
    {SDL_SCANCODE_KP_EQUALS, 141},
    {SDL_SCANCODE_KP_ENTER, 156},
    {SDL_SCANCODE_RCTRL, 157},
    {SDL_SCANCODE_KP_COMMA, 179},
    {SDL_SCANCODE_KP_DIVIDE, 181},
    {SDL_SCANCODE_PRINTSCREEN, 183},
    {SDL_SCANCODE_RALT, 184},
    {SDL_SCANCODE_PAUSE, 197},
    {SDL_SCANCODE_HOME, 199},
    {SDL_SCANCODE_UP, 200},
    {SDL_SCANCODE_PAGEUP, 201},
    {SDL_SCANCODE_LEFT, 203},
    {SDL_SCANCODE_RIGHT, 205},
    {SDL_SCANCODE_END, 207},
    {SDL_SCANCODE_DOWN, 208},
    {SDL_SCANCODE_PAGEDOWN, 209},
    {SDL_SCANCODE_INSERT, 210},
    {SDL_SCANCODE_DELETE, 211},
    {SDL_SCANCODE_LGUI, 219},
    {SDL_SCANCODE_RGUI, 220},
    {SDL_SCANCODE_APPLICATION, 221},
};
}  // namespace

int32_t ScanCodeFromSdl(SDL_Scancode code) {
    for (const auto& [sdl, dik] : KeyMap) {
        if (sdl == code) return dik;
    }
    return 0;
}

SDL_Scancode SdlFromScanCode(int32_t code) {
    for (const auto& [sdl, dik] : KeyMap) {
        if (dik == code) return sdl;
    }
    return SDL_SCANCODE_UNKNOWN;
}

}  // namespace gfx_detail

bool GfxKeyboard::IsKeyDown(int32_t code) const {
    const auto& d = m_Engine->GetImpl();
    return code > 0 && code < 256 && d.KeyDown[static_cast<size_t>(code)];
}

bool GfxKeyboard::IsKeyPressed(int32_t code) const {
    const auto& d = m_Engine->GetImpl();
    return code > 0 && code < 256 && d.KeyPressed[static_cast<size_t>(code)];
}

void GfxMouse::SetCursorImage(int32_t texture, float left, float top, float width, float height, float, float, int32_t,
                              float, float, float, int32_t, bool) {
    auto& d = m_Engine->GetImpl();
    d.CursorTexture = texture;
    d.CursorSource = SDL_Rect{static_cast<int>(std::lrint(left)), static_cast<int>(std::lrint(top)),
                              static_cast<int>(std::lrint(width)), static_cast<int>(std::lrint(height))};
}

float GfxMouse::GetCursorX() const { return m_Engine->GetImpl().MouseX; }
float GfxMouse::GetCursorY() const { return m_Engine->GetImpl().MouseY; }
bool GfxMouse::IsLeftButtonDown() const { return (m_Engine->GetImpl().MouseButtons & 1) != 0; }
bool GfxMouse::IsRightButtonDown() const { return (m_Engine->GetImpl().MouseButtons & 2) != 0; }
int32_t GfxMouse::GetWheelSteps() const { return m_Engine->GetImpl().WheelSteps; }

void GfxEngine::Impl::OpenJoystick(int deviceIndex) {
    // A game controller takes over from a plain joystick; otherwise the first device stays.
    if (Controller || (RawJoystick && !SDL_IsGameController(deviceIndex))) return;
    if (ScriptedOnly && deviceIndex != VirtualIndex) return;
    if (RawJoystick) CloseJoystick();
    if (SDL_IsGameController(deviceIndex)) {
        Controller = SDL_GameControllerOpen(deviceIndex);
        if (Controller) JoystickId = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(Controller));
    } else {
        RawJoystick = SDL_JoystickOpen(deviceIndex);
        if (RawJoystick) JoystickId = SDL_JoystickInstanceID(RawJoystick);
    }
    JoyDown.fill(false);
    JoyPressed.fill(false);
}

void GfxEngine::Impl::CloseJoystick() {
    if (Controller) SDL_GameControllerClose(Controller);
    if (RawJoystick) SDL_JoystickClose(RawJoystick);
    Controller = nullptr;
    RawJoystick = nullptr;
    JoystickId = -1;
    JoyDown.fill(false);
    JoyPressed.fill(false);
}

void GfxJoystick::Poll() {
    // Buttons and axes follow the events PumpEvents handles; here we only catch a controller
    // that is connected but not yet open (plugged in before its event could be seen).
    auto& d = m_Engine->GetImpl();
    if (d.Controller || d.RawJoystick || SDL_WasInit(SDL_INIT_JOYSTICK) == 0) return;
    for (int i = 0; i < SDL_NumJoysticks() && !d.Controller && !d.RawJoystick; ++i) d.OpenJoystick(i);
}

bool GfxJoystick::IsButtonDown(int32_t device, int32_t button) const {
    const auto& d = m_Engine->GetImpl();
    return device == 1 && button >= 0 && button < 32 && d.JoyDown[static_cast<size_t>(button)];
}

bool GfxJoystick::IsButtonPressed(int32_t device, int32_t button) const {
    const auto& d = m_Engine->GetImpl();
    return device == 1 && button >= 0 && button < 32 && d.JoyPressed[static_cast<size_t>(button)];
}

namespace {
constexpr Sint16 DeadZone = 8000;  // about a quarter of the stick's travel

int32_t Direction(Sint16 value) {
    if (value > DeadZone) return 1;
    if (value < -DeadZone) return -1;
    return 0;
}

// -1, 0 or 1 from the left stick, else from the d-pad (or hat 0 on a plain joystick).
int32_t ReadAxis(const GfxEngine::Impl& d, bool vertical) {
    if (d.Controller) {
        SDL_GameController* c = d.Controller;
        const int32_t stick =
            Direction(SDL_GameControllerGetAxis(c, vertical ? SDL_CONTROLLER_AXIS_LEFTY : SDL_CONTROLLER_AXIS_LEFTX));
        if (stick != 0) return stick;
        const auto held = [c](SDL_GameControllerButton b) { return SDL_GameControllerGetButton(c, b) != 0; };
        if (vertical) return held(SDL_CONTROLLER_BUTTON_DPAD_DOWN) ? 1 : held(SDL_CONTROLLER_BUTTON_DPAD_UP) ? -1 : 0;
        return held(SDL_CONTROLLER_BUTTON_DPAD_RIGHT) ? 1 : held(SDL_CONTROLLER_BUTTON_DPAD_LEFT) ? -1 : 0;
    }
    if (d.RawJoystick) {
        SDL_Joystick* j = d.RawJoystick;
        if (SDL_JoystickNumAxes(j) > (vertical ? 1 : 0)) {
            const int32_t stick = Direction(SDL_JoystickGetAxis(j, vertical ? 1 : 0));
            if (stick != 0) return stick;
        }
        if (SDL_JoystickNumHats(j) > 0) {
            const Uint8 hat = SDL_JoystickGetHat(j, 0);
            if (vertical) return (hat & SDL_HAT_DOWN) ? 1 : (hat & SDL_HAT_UP) ? -1 : 0;
            return (hat & SDL_HAT_RIGHT) ? 1 : (hat & SDL_HAT_LEFT) ? -1 : 0;
        }
    }
    return 0;
}
}  // namespace

int32_t GfxJoystick::GetAxisX(int32_t device) const { return device == 1 ? ReadAxis(m_Engine->GetImpl(), false) : 0; }
int32_t GfxJoystick::GetAxisY(int32_t device) const { return device == 1 ? ReadAxis(m_Engine->GetImpl(), true) : 0; }
