// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/cBonus.h"

#include "base/Globals.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"

void cBonus::Create(int32_t amount, int32_t x, int32_t y, const std::string& id) {
    m_Amount = amount;
    m_X = x;
    m_Y = y;
    m_ID = id;
    m_StartTime = GetTickCount();
    m_MoveTime = m_StartTime;
}

void cBonus::Render() const {
    // Outlined in opaque black: the colour value 0 would be transparent, and the popup rises over
    // every kind of background.
    gEngine->GetText().DrawText(static_cast<float>(m_X), static_cast<float>(m_Y), 150, 30,
                                "BONUS +" + std::to_string(m_Amount), 0, -1, "Arial", 10, true, 0, 1, 1,
                                GfxUtility::MakeColor(255, 0, 0, 0));
}

void cBonus::Process() {
    const int32_t now = GetTickCount();
    if (TicksSince(now, m_MoveTime) > 50) {
        --m_Y;
        m_MoveTime = now;
    }
}
