// SPDX-License-Identifier: GPL-3.0-or-later
// The game's object for its one window: receives the mouse and close events from the library.
#pragma once

#include <cstdint>

class frmMain final {
public:
    void SetupScreen();
    int32_t WindowHandle() const { return 1; }
    void MouseDown(int32_t button, int32_t shift, float x, float y);
    void MouseUp(int32_t button, int32_t shift, float x, float y);
    void MouseMove(int32_t button, int32_t shift, float x, float y);
    void Unload();
    void ToggleFullScreen();  // Alt+Enter, F11 or the options screen, in any screen
};
