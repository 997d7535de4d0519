// SPDX-License-Identifier: GPL-3.0-or-later
// The main window's events: they only set fields that the states read on the next pass.
#include "shell/frmMain.h"

#include "base/Globals.h"
#include "base/Options.h"
#include "engine/cMouse.h"
#include "gfx/Gfx.h"

void frmMain::SetupScreen() {
    // The library keeps a 640 x 480 logical size, so window events already arrive in game pixels.
    if (gWindowed) gEngine->ShowWindow();
    gEngine->PumpEvents();
}

void frmMain::MouseDown(int32_t button, int32_t /*shift*/, float /*x*/, float /*y*/) {
    if (gMouse) gMouse->Button_Down(button);
}

void frmMain::MouseUp(int32_t button, int32_t /*shift*/, float /*x*/, float /*y*/) {
    if (gMouse) gMouse->Button_Up(button);
}

void frmMain::MouseMove(int32_t /*button*/, int32_t /*shift*/, float x, float y) {
    if (!gMouse) return;
    gMouse->X = x;
    gMouse->Y = y;
    gMouse->HideDefaultCursor();
}

void frmMain::Unload() { gRunning = false; }

void frmMain::ToggleFullScreen() {
    // The pointer is handed back the old mode's way before the switch and taken the new mode's
    // way after it, so there is never a double cursor, nor none.
    if (gMouse) gMouse->ShowDefaultCursor();
    if (!gEngine->SetFullScreen(gWindowed)) return;
    gWindowed = !gWindowed;
    gOptions.fullScreen = !gWindowed;  // the next start opens as the player last chose
    if (gMouse) gMouse->SetUpCursor();
}
