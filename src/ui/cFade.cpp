// SPDX-License-Identifier: GPL-3.0-or-later
#include "ui/cFade.h"

#include <algorithm>
#include <cstdint>

#include "base/Globals.h"
#include "engine/cTextures.h"
#include "gfx/Clock.h"

cFade::cFade() {
    m_Sprite.SetTexture(gTextures->Texture("fade.png"));
    m_Sprite.SetSourceRect(0, 0, 640, 480);
    m_Sprite.SetVisible(true);
    m_Sprite.SetBlend(true);
    m_Sprite.SetX(0);
    m_Sprite.SetY(0);
}

void cFade::StartFade(int32_t fadeType, int32_t duration) {
    m_StartTime = GetTickCount();
    m_FadeType = fadeType;
    // A zero or negative length would divide by zero; the shortest fade is one millisecond.
    m_Duration = std::max<int32_t>(duration, 1);
    m_Fading = true;
}

void cFade::Render() {
    if (!m_Fading || (m_FadeType != FadeIn && m_FadeType != FadeOut)) return;

    // The elapsed time is held to the fade's length so that a screen left covered for hours
    // cannot overflow the product; within the fade the alpha is the plain elapsed share.
    const int64_t elapsed = std::min<int64_t>(TicksSince(GetTickCount(), m_StartTime), m_Duration);
    const double covered = static_cast<double>(elapsed * 255) / m_Duration;
    if (m_FadeType == FadeOut) {
        m_Sprite.SetAlpha(static_cast<float>(covered));
        if (m_Sprite.GetAlpha() > 255) m_Sprite.SetAlpha(255);
    } else {
        m_Sprite.SetAlpha(static_cast<float>(255 - covered));
        if (m_Sprite.GetAlpha() < 0) m_Sprite.SetAlpha(0);
    }
    m_Sprite.Render();

    if (TicksSince(GetTickCount(), m_StartTime) > m_Duration && FadeDone) FadeDone();
}
