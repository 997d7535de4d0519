// SPDX-License-Identifier: GPL-3.0-or-later
// The cursor position in game pixels, the mouse buttons, the game's cursor image and when the
// system cursor shows. Also the activation hook of the main window.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "gfx/Gfx.h"

class cMouse final {
public:
    ~cMouse();  // shows the system cursor again if it is hidden
    float X = 0;
    float Y = 0;
    bool IsButtonPressed(int32_t button) const;
    void Button_Down(int32_t button);
    void Button_Up(int32_t button);
    void SetFullScreenPosition();
    // Full screen only: the buttons are polled from the library (in a window its events feed them).
    void PollFullScreenButtons();
    bool CursorOutsideWindow() const;
    void Render();
    void HideDefaultCursor();
    void ShowDefaultCursor();
    void Create_Mouse(const std::string& textureFile, int32_t left, int32_t top, int32_t width, int32_t height);
    // Sets the cursor image up again for the display mode now in use (after a switch).
    void SetUpCursor();

private:
    bool m_Buttons[11] = {};
    std::optional<GfxSprite> m_Sprite;  // windowed only
    struct Cell {
        std::string file;
        int32_t left, top, width, height;
    };
    std::optional<Cell> m_Cursor;  // the cursor image Create_Mouse was given
    bool m_SystemCursorVisible = true;
};

// The window hook: activation changes reach WindowProc as WM_ACTIVATEAPP (28).
constexpr uint32_t WM_ACTIVATEAPP = 28;
void HookWindow(int32_t handle);
void UnhookWindow(int32_t handle);
int32_t WindowProc(int32_t handle, uint32_t message, int32_t wParam, int32_t lParam);
