// SPDX-License-Identifier: GPL-3.0-or-later
// A half-transparent cloud layer drifting over the board: one 300 x 300 image in a 2 x 2 grid,
// each tile drawn in up to four pieces so the scrolled image wraps seamlessly.
#pragma once

#include <cstdint>

#include "gfx/Gfx.h"

class cCloud final {
public:
    cCloud();
    void Render();
    void MoveClouds(int32_t deltaX, int32_t deltaY);
    int32_t ScrollX() const { return m_ScrollX; }
    int32_t ScrollY() const { return m_ScrollY; }

private:
    void DrawCloud(int32_t x, int32_t y);
    GfxSprite m_Sprite;
    int32_t m_ScrollX = 0;  // 0..300
    int32_t m_ScrollY = 0;  // 0..300
};
