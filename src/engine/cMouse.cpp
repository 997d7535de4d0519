// SPDX-License-Identifier: GPL-3.0-or-later
// The mouse, the game's cursor and the window hook that learns about activation changes.
#include "engine/cMouse.h"

#include "base/Globals.h"
#include "base/Options.h"
#include "engine/cTextures.h"

namespace {
bool ValidButton(int32_t button) { return button >= 0 && button <= 9; }

// Stands for the window's own procedure: the library's event pump already handles every
// message the game does not take, so there is nothing more to do with it here.
constexpr int32_t DefaultWindowProc = 1;
int32_t CallOldWindowProc(int32_t /*handle*/, uint32_t /*message*/, int32_t /*wParam*/, int32_t /*lParam*/) {
    return 0;
}
}  // namespace

cMouse::~cMouse() {
    if (!m_SystemCursorVisible && gEngine) ShowDefaultCursor();
}

bool cMouse::IsButtonPressed(int32_t button) const { return ValidButton(button) && m_Buttons[button]; }

void cMouse::Button_Down(int32_t button) {
    if (ValidButton(button)) m_Buttons[button] = true;
}

void cMouse::Button_Up(int32_t button) {
    if (ValidButton(button)) m_Buttons[button] = false;
}

void cMouse::PollFullScreenButtons() {
    if (gWindowed) return;
    const GfxMouse& mouse = gEngine->GetMouse();
    if (mouse.IsLeftButtonDown())
        Button_Down(1);
    else
        Button_Up(1);
    if (mouse.IsRightButtonDown())
        Button_Down(2);
    else
        Button_Up(2);
}

void cMouse::SetFullScreenPosition() {
    X = gEngine->GetMouse().GetCursorX();
    Y = gEngine->GetMouse().GetCursorY();
}

bool cMouse::CursorOutsideWindow() const {
    if (!gWindowed) return false;
    // The window's real client rectangle: the player may have moved or resized it.
    int32_t x = 0, y = 0, left = 0, top = 0, width = 0, height = 0;
    if (!gEngine->GetPointerOnDesktop(x, y) || !gEngine->GetClientRectOnDesktop(left, top, width, height)) return false;
    return !(x >= left && x <= left + width && y >= top && y <= top + height);
}

void cMouse::Render() {
    if (!gWindowed || !m_Sprite) return;
    m_Sprite->SetX(X);
    m_Sprite->SetY(Y);
    m_Sprite->Render();
}

void cMouse::HideDefaultCursor() {
    if (!m_SystemCursorVisible) return;
    if (gWindowed)
        gEngine->SetSystemCursorVisible(false);
    else
        gEngine->GetUtility().HideCursor();
    m_SystemCursorVisible = false;
}

void cMouse::ShowDefaultCursor() {
    if (m_SystemCursorVisible) return;
    if (gWindowed)
        gEngine->SetSystemCursorVisible(true);
    else
        gEngine->GetUtility().ShowCursor();
    m_SystemCursorVisible = true;
}

void cMouse::Create_Mouse(const std::string& textureFile, int32_t left, int32_t top, int32_t width, int32_t height) {
    m_Cursor = Cell{textureFile, left, top, width, height};
    SetUpCursor();
}

void cMouse::SetUpCursor() {
    if (!m_Cursor) return;
    const auto& [file, left, top, width, height] = *m_Cursor;
    const int32_t texture = gTextures->Texture(file);
    m_SystemCursorVisible = true;
    if (gWindowed) {
        m_Sprite.emplace();
        m_Sprite->SetTexture(texture);
        m_Sprite->SetSourceRect(left, top, width, height);
        m_Sprite->SetVisible(true);
        m_Sprite->SetBlend(true);
        m_Sprite->SetX(0);
        m_Sprite->SetY(0);
        return;
    }
    gEngine->GetMouse().SetCursorImage(texture, static_cast<float>(left), static_cast<float>(top),
                                       static_cast<float>(width), static_cast<float>(height), 2.0f, 255.0f, 0, 2.0f,
                                       2.0f, 30.0f, 0, true);
    HideDefaultCursor();
}

void HookWindow(int32_t handle) {
    gHookedWindow = handle;
    gOldWindowProc = DefaultWindowProc;
}

void UnhookWindow(int32_t /*handle*/) {
    if (gOldWindowProc != 0) gOldWindowProc = 0;
}

int32_t WindowProc(int32_t handle, uint32_t message, int32_t wParam, int32_t lParam) {
    if (handle == gHookedWindow && message == WM_ACTIVATEAPP) {
        // With the option off, the game plays on behind other windows; a pause that began while it
        // was on still ends when the focus comes back.
        switch (static_cast<int16_t>(wParam & 0xFFFF)) {
            case 0:
                if (!gOptions.pauseOnFocusLoss) break;
                gPaused = true;
                gInactive = true;
                break;
            case 1:
                if (!gOptions.pauseOnFocusLoss && !gInactive) break;
                gPaused = false;
                gInactive = false;
                break;
            default:
                break;
        }
        return 0;
    }
    return CallOldWindowProc(handle, message, wParam, lParam);
}
