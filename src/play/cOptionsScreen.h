// SPDX-License-Identifier: GPL-3.0-or-later
// The options screen, over whatever screen opened it (the title, or a paused game): the two
// volumes, window or full screen, the scaling, pause on focus loss, the keys and gamepad buttons,
// "Restore defaults" and Back, one line each. The keyboard (arrows, Enter, Esc, Delete), the mouse
// and the gamepad each reach every line. Owns its sprites on options.png; gSprites stays its host's.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

#include "base/Options.h"
#include "gfx/Gfx.h"
#include "shell/AssetTable.h"

class cOptionsScreen final {
public:
    enum Line : int {
        MusicVolume,
        EffectsVolume,
        Display,
        Scaling,
        FocusPause,
        KeyLeft,
        KeyRight,
        KeyFire,
        KeyPause,
        PadFire,
        PadPause,
        Restore,
        Back,
        LineCount
    };

    // `leave` runs once the player goes back, with the options saved; the host then releases
    // this screen, but only after the HandleInput that called it has returned.
    explicit cOptionsScreen(std::function<void()> leave);

    void HandleInput();
    void Draw();

    // For the runner's report and the tests.
    int Focus() const { return m_Focus; }
    int Slot() const { return m_Slot; }
    bool Binding() const { return m_Binding; }
    const std::string& Status() const { return m_Status; }

private:
    // Arrows, stick and d-pad held down: one step at once, then steady steps after a pause.
    struct Repeat {
        int held = 0;
        bool repeating = false;
        int32_t since = 0;
        bool Step(int direction, int32_t now);
    };

    void HandleBinding();
    void HandleKeys();
    void HandleMouse();
    void HandlePad();
    void MoveFocus(int delta);
    void Change(int direction);  // Left and Right on the focused line
    void Activate();             // Enter, A, or a click
    void ClearSlot();
    void StartBinding();
    void EndBinding(const std::string& line);
    void SetVolume(Line line, int32_t volume);
    void Leave();
    bool IsKeyLine() const { return m_Focus >= KeyLeft && m_Focus <= KeyPause; }
    bool IsPadLine() const { return m_Focus == PadFire || m_Focus == PadPause; }
    Control FocusedControl() const;

    void DrawLine(int line);
    void DrawSlots(int line, int32_t top);
    void DrawSlider(int32_t value, int32_t top);
    void DrawChoice(const std::string& value, int32_t top);
    // A piece of options.png at (x, y), cut to `width` pixels when that is not negative.
    void Piece(const assets::Rect& cell, int32_t x, int32_t y, int32_t width = -1);

    std::function<void()> m_Leave;
    int m_Focus = MusicVolume;
    int m_Slot = 0;           // on a key or gamepad line: the left (0) or right (1) box
    bool m_Binding = false;   // waiting for the key or button to bind
    bool m_Gone = false;      // Leave ran: nothing more is handled
    int32_t m_BindStart = 0;  // tick when the wait began
    std::string m_Status;     // what the last change did
    Repeat m_Vertical, m_Horizontal;
    bool m_LeftWasDown = true;  // the mouse buttons in the last frame: a click is a new press
    bool m_RightWasDown = true;
    float m_MouseX = -1, m_MouseY = -1;  // where the pointer was: only a moving pointer takes the focus
    int m_Dragging = -1;                 // the volume line whose slider the left button holds
    int32_t m_LastSample = 0;            // tick of the last sample effect played
    int32_t m_Texture = 0;               // options.png
    GfxSprite m_Sprite;                  // drawn once per picture piece
};
