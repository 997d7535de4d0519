// SPDX-License-Identifier: GPL-3.0-or-later
// The drifting cloud layer.
#include "engine/cCloud.h"

#include "base/Globals.h"
#include "engine/cTextures.h"

namespace {
constexpr int32_t TileSize = 300;
}

cCloud::cCloud() {
    m_Sprite.SetTexture(gTextures->Texture("clouds.png"));
    m_Sprite.SetSourceRect(0, 0, TileSize, TileSize);
    m_Sprite.SetVisible(true);
    m_Sprite.SetBlend(true);
    m_Sprite.SetX(130.0f);
    m_Sprite.SetY(0.0f);
    m_Sprite.SetAlpha(125.0f);
}

void cCloud::Render() {
    DrawCloud(130, 0);
    DrawCloud(430, 0);
    DrawCloud(130, 300);
    DrawCloud(430, 300);
}

void cCloud::MoveClouds(int32_t deltaX, int32_t deltaY) {
    m_ScrollX += deltaX;
    m_ScrollY += deltaY;
    if (m_ScrollX > TileSize) m_ScrollX = 0;
    if (m_ScrollY > TileSize) m_ScrollY = 0;
}

void cCloud::DrawCloud(int32_t x, int32_t y) {
    const int32_t ox = m_ScrollX, oy = m_ScrollY;
    const auto piece = [&](int32_t left, int32_t top, int32_t width, int32_t height, int32_t atX, int32_t atY) {
        m_Sprite.SetSourceRect(left, top, width, height);
        m_Sprite.SetX(static_cast<float>(atX));
        m_Sprite.SetY(static_cast<float>(atY));
        m_Sprite.Render();
    };
    piece(ox, oy, TileSize - ox, TileSize - oy, x, y);
    piece(0, 0, ox, oy, x + TileSize - ox, y + TileSize - oy);
    piece(0, oy, ox, TileSize - oy, x + TileSize - ox, y);
    piece(ox, 0, TileSize - ox, oy, x, y + TileSize - oy);
}
