// SPDX-License-Identifier: GPL-3.0-or-later
// Darkens (type 1) or uncovers (type 0) the whole screen over a given time by drawing "fade.png"
// with a changing alpha on top of everything, and raises FadeDone once the time is up.
// Owns its full-screen sprite.
#pragma once

#include <cstdint>
#include <functional>

#include "gfx/Gfx.h"

class cFade final {
public:
    static constexpr int32_t FadeIn = 0;   // alpha falls from 255 to 0
    static constexpr int32_t FadeOut = 1;  // alpha rises from 0 to 255

    // Raised inside Render on every call once the time is up (not just once): the owner reacts to
    // the first and usually replaces itself there, which ends the repetition.
    std::function<void()> FadeDone;

    cFade();
    bool IsFading() const { return m_Fading; }
    // Draws the current step when a fade has been started; call once per frame, last.
    void Render();
    // Starts (or restarts) a fade from now. A duration below 1 ms is taken as 1 ms.
    void StartFade(int32_t fadeType, int32_t duration);

    const GfxSprite& Sprite() const { return m_Sprite; }

private:
    GfxSprite m_Sprite;       // the full-screen fade image
    bool m_Fading = false;    // a fade has been started; stays true until the object is released
    int32_t m_StartTime = 0;  // tick at StartFade
    int32_t m_Duration = 1;   // milliseconds, at least 1
    int32_t m_FadeType = 0;   // FadeIn, FadeOut; any other value draws nothing
};
