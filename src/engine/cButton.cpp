// SPDX-License-Identifier: GPL-3.0-or-later
#include "engine/cButton.h"

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "engine/cMouse.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"

namespace {
// Captions are trimmed of spaces only, as the caption text is laid out by hand.
std::string TrimSpaces(const std::string& text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return {};
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}
}  // namespace

size_t cButton::CheckedIndex(uint8_t mouseButton) {
    if (mouseButton >= kMouseButtons) throw RuntimeError(9, "Subscript out of range");
    return mouseButton;
}

GfxSprite& cButton::Bound() const {
    if (!m_Sprite) throw RuntimeError(91, "Object variable or With block variable not set");
    return *m_Sprite;
}

bool cButton::Hit(float x, float y) const {
    const GfxSprite& sprite = Bound();
    const float left = sprite.GetX();
    const float top = sprite.GetY();
    // Right and bottom edges are inclusive: the hit area is one pixel wider and taller than the image.
    const float right = left + static_cast<float>(m_Width);
    const float bottom = top + static_cast<float>(m_Height);
    return x >= left && x <= right && y >= top && y <= bottom;
}

void cButton::Create(SpriteRef sprite, const std::string& caption) {
    m_Sprite = std::move(sprite);
    m_Caption = caption;
    const GfxSprite& bound = Bound();
    m_RestSourceX = bound.GetSourceX();
    m_RestSourceY = bound.GetSourceY();
    m_Width = bound.GetWidth();
    m_Height = bound.GetHeight();
    m_Frame = 0;
    m_Frames.assign(1, {0, 0});
}

void cButton::AddDownAnimation(int32_t left, int32_t top) { m_Frames.emplace_back(left, top); }

void cButton::Render(int32_t x, int32_t y) {
    GfxSprite& sprite = Bound();
    if (x >= 0) sprite.SetX(static_cast<float>(x));
    if (y >= 0) sprite.SetY(static_cast<float>(y));

    if (m_Animating) {
        const int32_t now = GetTickCount();
        if (TicksSince(now, m_LastFrameTime) > 50) {
            ++m_Frame;
            const auto last = static_cast<int32_t>(m_Frames.size()) - 1;
            if (m_Frame <= last) {
                sprite.SetSourceX(m_Frames[static_cast<size_t>(m_Frame)].first);
                sprite.SetSourceY(m_Frames[static_cast<size_t>(m_Frame)].second);
            } else {
                m_Frame = last;  // the last frame stays on screen while the press is held
            }
            m_LastFrameTime = now;
        }
    }

    sprite.Render();

    const std::string caption = TrimSpaces(m_Caption);
    if (!caption.empty()) {
        GfxText& text = gEngine->GetText();
        const double textWidth = text.MeasureWidth(caption, "Arial", 8, true);
        const double textHeight = text.MeasureHeight(caption, "Arial", 8, true);
        const double boxX = sprite.GetX() + m_Width / 2.0 - textWidth / 2.0 - 5;
        const double boxY = sprite.GetY() + m_Height / 2.0 - textHeight / 2.0;
        text.DrawText(static_cast<float>(boxX), static_cast<float>(boxY), static_cast<float>(textWidth + 10),
                      static_cast<float>(textHeight + 10), caption, 0, -1, "Arial", 8, true, 0, 0, 0, 0);
    }
}

void cButton::CheckMouseMove(float x, float y) { m_MouseOver = Hit(x, y); }

void cButton::CheckMouseDown(uint8_t mouseButton, float x, float y) {
    const size_t index = CheckedIndex(mouseButton);
    if (!gMouse->IsButtonPressed(mouseButton)) return;
    if (Hit(x, y)) {
        // Holding does not restart the animation: the frame index is left alone.
        m_ButtonDown[index] = true;
        m_Animating = true;
    } else {
        // Dragged off while held: disarm.
        m_ButtonDown[index] = false;
        ResetAnimation();
    }
}

void cButton::CheckMouseUp(uint8_t mouseButton, float x, float y) {
    const size_t index = CheckedIndex(mouseButton);
    if (gMouse->IsButtonPressed(mouseButton) || !m_ButtonDown[index]) return;
    if (Hit(x, y) && ButtonClick) {
        int32_t released = mouseButton;
        ButtonClick(released);
    }
    // The handler may have switched states; our owner stays alive until this call returns.
    m_ButtonDown[index] = false;
    ResetAnimation();
}

void cButton::ChangeTexture(int32_t texture) {
    GfxSprite& sprite = Bound();
    if (sprite.GetTexture() != texture) sprite.SetTexture(texture);
}

void cButton::ResetAnimation() {
    GfxSprite& sprite = Bound();
    m_Animating = false;
    m_Frame = 0;
    sprite.SetSourceX(m_RestSourceX);
    sprite.SetSourceY(m_RestSourceY);
}
