// SPDX-License-Identifier: GPL-3.0-or-later
// The event pump: SDL's pending events become key, mouse, joystick and window state and reach
// the game's window handlers. Injected input is pushed as SDL events so it takes the same path.
//
// A "frame" for IsKeyPressed and IsButtonPressed runs from one PumpEvents to the next: each
// PumpEvents first forgets the previous presses, then latches every press among the events it
// handles, so a key that went down and up again between two pumps still reads as pressed once.
// Mouse and controller buttons change at most once per pump: a second change of the same button
// (a touchpad tap, a click quicker than a frame) waits, with every event after it, for the next
// pump, so the game sees each press in one frame and its release in a later one.
#include <SDL.h>

#include <algorithm>

#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "gfx/GfxImpl.h"
#include "gfx/ScriptRecorder.h"

namespace {
// Mouse buttons as the game numbers them: 1 left, 2 right, 4 middle; 0 for any other.
int32_t GameButton(Uint8 sdlButton) {
    switch (sdlButton) {
        case SDL_BUTTON_LEFT:
            return 1;
        case SDL_BUTTON_RIGHT:
            return 2;
        case SDL_BUTTON_MIDDLE:
            return 4;
        default:
            return 0;
    }
}

Uint8 SdlButton(int32_t gameButton) {
    switch (gameButton) {
        case 1:
            return SDL_BUTTON_LEFT;
        case 2:
            return SDL_BUTTON_RIGHT;
        case 4:
            return SDL_BUTTON_MIDDLE;
        default:
            return 0;
    }
}

// Alt+Enter and F11 switch between window and full screen, as in other SDL games.
bool IsDisplayModeKey(int32_t code, const std::array<bool, 256>& held) {
    using namespace GfxKey;
    return code == F11 || ((code == Enter || code == NumpadEnter) && (held[LeftAlt] || held[RightAlt]));
}

// The next event: first those held over from the previous pump, then SDL's queue.
bool NextEvent(GfxEngine::Impl& d, SDL_Event& e) {
    if (d.HeldOver.empty()) return SDL_PollEvent(&e) != 0;
    e = d.HeldOver.front();
    d.HeldOver.pop_front();
    return true;
}

// Which mouse button (bits 0..7) or joystick button (bits 8..39) an event changes; 0 for none.
uint64_t ButtonChanged(const GfxEngine::Impl& d, const SDL_Event& e) {
    switch (e.type) {
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            return static_cast<uint64_t>(GameButton(e.button.button));
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP:
            if (!d.Controller || e.cbutton.which != d.JoystickId || e.cbutton.button >= d.JoyDown.size()) return 0;
            return uint64_t{1} << (8 + e.cbutton.button);
        case SDL_JOYBUTTONDOWN:
        case SDL_JOYBUTTONUP:
            if (!d.RawJoystick || e.jbutton.which != d.JoystickId || e.jbutton.button >= d.JoyDown.size()) return 0;
            return uint64_t{1} << (8 + e.jbutton.button);
        default:
            return 0;
    }
}

// The shift argument of the mouse handlers: 1 Shift, 2 Ctrl, 4 Alt.
int32_t ShiftState() {
    const SDL_Keymod mod = SDL_GetModState();
    return ((mod & KMOD_SHIFT) ? 1 : 0) | ((mod & KMOD_CTRL) ? 2 : 0) | ((mod & KMOD_ALT) ? 4 : 0);
}
}  // namespace

void GfxEngine::SetWindowEvents(GfxWindowEvents events) { m_Impl->Events = std::move(events); }

void GfxEngine::PumpEvents() {
    Impl& d = *m_Impl;
    d.KeyPressed.fill(false);
    d.JoyPressed.fill(false);
    d.WheelSteps = 0;
    if (!d.EventsStarted) return;
    // While minimised the game only pumps; wait for an event instead of spinning a core.
    if (d.Minimized && !IsVirtualClock()) SDL_WaitEventTimeout(nullptr, 20);
    SDL_Event e;
    uint64_t changed = 0;                    // buttons that changed in this pump
    ScriptRecorder* const rec = d.Recorder;  // told what this pump delivers, after the hold-over
    while (NextEvent(d, e)) {
        const uint64_t button = ButtonChanged(d, e);
        if ((changed & button) != 0) {
            d.HeldOver.push_front(e);
            break;
        }
        changed |= button;
        switch (e.type) {
            case SDL_KEYDOWN:
            case SDL_KEYUP: {
                const int32_t code = gfx_detail::ScanCodeFromSdl(e.key.keysym.scancode);
                if (code <= 0 || code >= 256 || e.key.repeat != 0) break;
                const bool down = e.type == SDL_KEYDOWN;
                if (down && !d.KeyDown[static_cast<size_t>(code)] && d.Events.ToggleFullScreen &&
                    IsDisplayModeKey(code, d.KeyDown)) {
                    d.KeyDown[static_cast<size_t>(code)] = true;  // held, but never a press the game sees
                    d.Events.ToggleFullScreen();
                    break;
                }
                if (down && !d.KeyDown[static_cast<size_t>(code)]) d.KeyPressed[static_cast<size_t>(code)] = true;
                d.KeyDown[static_cast<size_t>(code)] = down;
                if (rec) rec->Key(code, down);
                break;
            }
            case SDL_MOUSEMOTION:
                d.MouseX = static_cast<float>(e.motion.x);
                d.MouseY = static_cast<float>(e.motion.y);
                if (rec) rec->MouseMove(d.MouseX, d.MouseY);
                if (d.Events.MouseMove) d.Events.MouseMove(d.MouseButtons, ShiftState(), d.MouseX, d.MouseY);
                break;
            case SDL_MOUSEBUTTONDOWN:
            case SDL_MOUSEBUTTONUP: {
                const int32_t button = GameButton(e.button.button);
                if (button == 0) break;
                d.MouseX = static_cast<float>(e.button.x);
                d.MouseY = static_cast<float>(e.button.y);
                if (rec) rec->MouseButton(button, e.type == SDL_MOUSEBUTTONDOWN, d.MouseX, d.MouseY);
                if (e.type == SDL_MOUSEBUTTONDOWN) {
                    d.MouseButtons |= button;
                    if (d.Events.MouseDown) d.Events.MouseDown(button, ShiftState(), d.MouseX, d.MouseY);
                } else {
                    d.MouseButtons &= ~button;
                    if (d.Events.MouseUp) d.Events.MouseUp(button, ShiftState(), d.MouseX, d.MouseY);
                }
                break;
            }
            case SDL_MOUSEWHEEL: {
                const Sint32 y = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -e.wheel.y : e.wheel.y;
                const int32_t steps = std::clamp<int32_t>(y, -GfxMouse::MaxWheelSteps, GfxMouse::MaxWheelSteps);
                if (steps == 0) break;  // a sideways scroll
                d.WheelSteps += steps;
                if (rec) rec->MouseWheel(steps);
                break;
            }
            case SDL_JOYDEVICEADDED:
                d.OpenJoystick(e.jdevice.which);
                break;
            case SDL_JOYDEVICEREMOVED:
                if (e.jdevice.which == d.JoystickId) {
                    d.CloseJoystick();
                    for (int i = 0; i < SDL_NumJoysticks() && !d.Controller && !d.RawJoystick; ++i) d.OpenJoystick(i);
                }
                break;
            case SDL_CONTROLLERBUTTONDOWN:
            case SDL_CONTROLLERBUTTONUP:
                if (d.Controller && e.cbutton.which == d.JoystickId && e.cbutton.button < d.JoyDown.size()) {
                    const bool down = e.type == SDL_CONTROLLERBUTTONDOWN;
                    if (down && !d.JoyDown[e.cbutton.button]) d.JoyPressed[e.cbutton.button] = true;
                    d.JoyDown[e.cbutton.button] = down;
                    if (rec) rec->JoyButton(e.cbutton.button, down);
                }
                break;
            case SDL_JOYBUTTONDOWN:
            case SDL_JOYBUTTONUP:
                if (d.RawJoystick && e.jbutton.which == d.JoystickId && e.jbutton.button < d.JoyDown.size()) {
                    const bool down = e.type == SDL_JOYBUTTONDOWN;
                    if (down && !d.JoyDown[e.jbutton.button]) d.JoyPressed[e.jbutton.button] = true;
                    d.JoyDown[e.jbutton.button] = down;
                    if (rec) rec->JoyButton(e.jbutton.button, down);
                }
                break;
            case SDL_WINDOWEVENT:
                switch (e.window.event) {
                    case SDL_WINDOWEVENT_FOCUS_LOST:
                        if (rec) rec->Window(GfxWindowAction::FocusLost);
                        if (d.Events.Activation) d.Events.Activation(false);
                        break;
                    case SDL_WINDOWEVENT_FOCUS_GAINED:
                        if (rec) rec->Window(GfxWindowAction::FocusGained);
                        if (d.Events.Activation) d.Events.Activation(true);
                        break;
                    case SDL_WINDOWEVENT_MINIMIZED:
                        if (rec) rec->Window(GfxWindowAction::Minimize);
                        d.Minimized = true;
                        break;
                    case SDL_WINDOWEVENT_RESTORED:
                    case SDL_WINDOWEVENT_MAXIMIZED:
                        if (rec) rec->Window(GfxWindowAction::Restore);
                        d.Minimized = false;
                        break;
                    default:
                        break;
                }
                break;
            case SDL_RENDER_DEVICE_RESET:
                // Every texture is gone with the device; the game reports that rather than draw garbage.
                d.DeviceLost = true;
                break;
            case SDL_QUIT:
                if (rec) rec->Window(GfxWindowAction::Close);
                if (d.Events.Unload) d.Events.Unload();
                break;
            default:
                break;
        }
    }
    if (rec) {
        rec->JoyAxes(m_Joystick.GetAxisX(1), m_Joystick.GetAxisY(1));
        rec->PumpDone();
    }
}

void GfxEngine::SetRecorder(ScriptRecorder* recorder) { m_Impl->Recorder = recorder; }

void GfxEngine::SetScriptedInputOnly(bool only) {
    Impl& d = *m_Impl;
    d.ScriptedOnly = only;
    if (only) {
        d.CloseJoystick();
        return;
    }
    d.KeyDown.fill(false);
    d.MouseButtons = 0;
    d.JoyDown.fill(false);
    d.Minimized = false;
    d.HeldOver.clear();
}

GfxEngine::PlayerInput GfxEngine::TakePlayerInput(uint32_t waitMs) {
    // Called between two pumps, when every injected event has been handled: what is pending now
    // is the player's own, and none of it reaches the game.
    Impl& d = *m_Impl;
    PlayerInput input;
    if (!d.EventsStarted) {
        SDL_Delay(waitMs);  // nothing can arrive, but the wait is still the caller's pace
        return input;
    }
    if (waitMs > 0) SDL_WaitEventTimeout(nullptr, static_cast<int>(waitMs));
    SDL_Event e;
    while (SDL_PollEvent(&e) != 0) {
        if (e.type == SDL_KEYDOWN && e.key.repeat == 0)
            input.keys.push_back(gfx_detail::ScanCodeFromSdl(e.key.keysym.scancode));
        else if (e.type == SDL_QUIT)
            input.close = true;
        else if (e.type == SDL_RENDER_DEVICE_RESET)
            d.DeviceLost = true;
        else if (e.type == SDL_JOYDEVICEADDED && e.jdevice.which == d.VirtualIndex)
            d.OpenJoystick(e.jdevice.which);
    }
    return input;
}

namespace {
// Pushed mouse events name a window no renderer scales from, since they are in game pixels already.
Uint32 InjectedWindowId(const GfxEngine::Impl& d) {
    return d.Window && !d.Renderer ? SDL_GetWindowID(d.Window.get()) : 0;
}
}  // namespace

void GfxEngine::InjectKey(int32_t scanCode, bool down) {
    const SDL_Scancode code = gfx_detail::SdlFromScanCode(scanCode);
    if (code == SDL_SCANCODE_UNKNOWN || !m_Impl->EnsureEvents()) return;
    SDL_Event e{};
    e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
    e.key.timestamp = SDL_GetTicks();
    e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.scancode = code;
    e.key.keysym.sym = SDL_GetKeyFromScancode(code);
    SDL_PushEvent(&e);
}

void GfxEngine::InjectMouseMove(float x, float y) {
    Impl& d = *m_Impl;
    if (!d.EnsureEvents()) return;
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = InjectedWindowId(d);
    e.motion.x = static_cast<Sint32>(x);
    e.motion.y = static_cast<Sint32>(y);
    d.InjectedX = x;
    d.InjectedY = y;
    SDL_PushEvent(&e);
}

void GfxEngine::InjectMouseButton(int32_t button, bool down) {
    Impl& d = *m_Impl;
    const Uint8 sdlButton = SdlButton(button);
    if (sdlButton == 0 || !d.EnsureEvents()) return;
    SDL_Event e{};
    e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
    e.button.windowID = InjectedWindowId(d);
    e.button.button = sdlButton;
    e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
    e.button.clicks = 1;
    e.button.x = static_cast<Sint32>(d.InjectedX);
    e.button.y = static_cast<Sint32>(d.InjectedY);
    SDL_PushEvent(&e);
}

void GfxEngine::InjectMouseWheel(int32_t steps) {
    Impl& d = *m_Impl;
    if (!d.EnsureEvents()) return;
    SDL_Event e{};
    e.type = SDL_MOUSEWHEEL;
    e.wheel.windowID = InjectedWindowId(d);
    e.wheel.y = steps;
    e.wheel.direction = SDL_MOUSEWHEEL_NORMAL;
    SDL_PushEvent(&e);
}

bool GfxEngine::AttachVirtualJoystick() {
    Impl& d = *m_Impl;
    if (d.VirtualJoystick) return true;
    if (!d.EnsureEvents()) return false;
    if (!d.JoystickStarted) {
        if (SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) != 0) return false;
        d.JoystickStarted = true;
    }
    SDL_VirtualJoystickDesc desc;
    SDL_zero(desc);
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.name = "Kindlewisp virtual controller";
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    if (index < 0) return false;
    d.VirtualIndex = index;
    d.VirtualJoystick = SDL_JoystickOpen(index);
    if (!d.VirtualJoystick) return false;
    if (d.Started) d.OpenJoystick(index);
    return true;
}

void GfxEngine::InjectJoyAxis(char axis, int32_t value) {
    Impl& d = *m_Impl;
    if (!d.VirtualJoystick) return;
    const Sint16 raw = value > 0 ? SDL_JOYSTICK_AXIS_MAX : value < 0 ? SDL_JOYSTICK_AXIS_MIN : 0;
    const int index = (axis == 'y' || axis == 'Y') ? SDL_CONTROLLER_AXIS_LEFTY : SDL_CONTROLLER_AXIS_LEFTX;
    SDL_JoystickSetVirtualAxis(d.VirtualJoystick, index, raw);
}

void GfxEngine::InjectJoyButton(int32_t button, bool down) {
    Impl& d = *m_Impl;
    if (!d.VirtualJoystick || button < 0 || button >= SDL_CONTROLLER_BUTTON_MAX) return;
    SDL_JoystickSetVirtualButton(d.VirtualJoystick, button, down ? SDL_PRESSED : SDL_RELEASED);
    // Queue the change now, as a pushed key is, so a press and release before one pump are two events.
    SDL_JoystickUpdate();
}

void GfxEngine::InjectWindow(GfxWindowAction action) {
    Impl& d = *m_Impl;
    if (!d.EnsureEvents()) return;
    SDL_Event e{};
    if (action == GfxWindowAction::Close) {
        e.type = SDL_QUIT;
    } else {
        e.type = SDL_WINDOWEVENT;
        e.window.windowID = d.Window ? SDL_GetWindowID(d.Window.get()) : 0;
        switch (action) {
            case GfxWindowAction::FocusLost:
                e.window.event = SDL_WINDOWEVENT_FOCUS_LOST;
                break;
            case GfxWindowAction::FocusGained:
                e.window.event = SDL_WINDOWEVENT_FOCUS_GAINED;
                break;
            case GfxWindowAction::Minimize:
                e.window.event = SDL_WINDOWEVENT_MINIMIZED;
                break;
            default:
                e.window.event = SDL_WINDOWEVENT_RESTORED;
                break;
        }
    }
    SDL_PushEvent(&e);
}
