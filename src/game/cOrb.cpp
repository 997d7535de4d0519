// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/cOrb.h"

#include <cmath>
#include <limits>

#include "base/Globals.h"
#include "engine/cSprites.h"
#include "engine/cTextures.h"
#include "game/PlayGeometry.h"
#include "gfx/Clock.h"
#include "shell/AssetTable.h"

namespace {

constexpr int32_t kBoardAlpha = 235;
constexpr int32_t kWhiteAlpha = 220;
constexpr int32_t kStepInterval = 20;  // fireball and burn frames

using assets::Rect;

Rect BonusPicture(int32_t kind) {
    switch (kind) {
        case BonusKind::Fireball:
            return assets::kFireball[0];
        case BonusKind::Tornado:
            return assets::kTornado;
        default:
            return assets::kChest;
    }
}

void SetCell(GfxSprite& sprite, const Rect& cell) { sprite.SetSourceRect(cell.x, cell.y, cell.w, cell.h); }

int32_t SpritesTexture() { return gTextures->Texture("sprites.png"); }

// Pixels of a sprite as the rules read them: rounded, ties to even, kept inside 32 bits.
int32_t RoundPixel(float value) {
    if (!std::isfinite(value)) return 0;
    const double clamped = std::fmax(static_cast<double>(std::numeric_limits<int32_t>::min()),
                                     std::fmin(static_cast<double>(value), std::numeric_limits<int32_t>::max()));
    return static_cast<int32_t>(std::lrint(clamped));
}

}  // namespace

void ApplyOrbPicture(GfxSprite& sprite, int32_t orbType) { SetCell(sprite, assets::OrbPicture(orbType)); }

void ApplyBonusPicture(GfxSprite& sprite, int32_t bonusKind) {
    SetCell(sprite, BonusPicture(bonusKind));
    if (bonusKind == BonusKind::Fireball) sprite.SetFlagC(true);
}

int32_t cOrb::PixelX() const { return RoundPixel(m_OrbBob.GetX()); }
int32_t cOrb::PixelY() const { return RoundPixel(m_OrbBob.GetY()); }
int32_t cOrb::Alpha() const { return RoundPixel(m_OrbBob.GetAlpha()); }

bool cOrb::MatchingTypes(const cOrb* other) const {
    return other != nullptr && !other->IsFalling() && other->OrbType() == m_OrbType;
}

bool cOrb::Equals(const cOrb& other) const {
    return m_PositionY == other.PositionY() && m_PositionX == other.PositionX() && PixelX() == other.PixelX() &&
           PixelY() == other.PixelY();
}

void cOrb::SeedFromTimer() {
    GfxUtility& utility = gEngine->GetUtility();
    utility.SeedRandom(static_cast<int32_t>(std::lrint(Timer())));
    const int32_t r1 = utility.RandomRange(1, 3);
    utility.SeedRandom(static_cast<int32_t>(std::lrint(static_cast<double>(Timer()) * r1)));
}

int32_t cOrb::DrawRandomType(bool allowFireball) {
    SeedFromTimer();
    const int32_t r = gEngine->GetUtility().RandomRange(1, allowFireball ? 110 : 100);
    if (r <= 20) return OrbKind::Blue;
    if (r <= 40) return OrbKind::Green;
    if (r <= 60) return OrbKind::Purple;
    if (r <= 80) return OrbKind::Red;
    if (r <= 100) return OrbKind::Yellow;
    return OrbKind::Fireball;
}

void cOrb::Create_Random_Orb(int32_t column, int32_t row, const std::string& key, bool allowFireball) {
    // Random orbs carry no bonus and always burn at the brighter alpha.
    Build(column, row, key, DrawRandomType(allowFireball), 0, 0, kBoardAlpha);
}

void cOrb::Create_Orb(int32_t column, int32_t row, const std::string& key, int32_t orbType, int32_t bonusKind,
                      int32_t bonusValue) {
    Build(column, row, key, orbType, bonusKind, bonusValue, orbType == OrbKind::White ? kBoardAlpha : 190);
}

void cOrb::Build(int32_t column, int32_t row, const std::string& key, int32_t orbType, int32_t bonusKind,
                 int32_t bonusValue, int32_t burnAlpha) {
    m_Key = key;
    m_PositionX = column;
    m_PositionY = row;
    m_IsFired = false;
    m_IsFalling = false;
    m_Frame = 0;

    const int32_t texture = SpritesTexture();
    m_OrbBob = GfxSprite();
    m_OrbBob.SetTexture(texture);
    m_OrbBob.SetVisible(true);
    m_OrbBob.SetBlend(true);
    if (column == -1 || row == -1) {
        m_OrbBob.SetX(static_cast<float>(PlayGeometry::NextOrbX));
        m_OrbBob.SetY(static_cast<float>(PlayGeometry::NextOrbY));
        m_OrbBob.SetScale(PlayGeometry::NextOrbScale);
        m_OrbBob.SetAlpha(0);
    } else {
        // Computed in double: a level may name rows far outside the screen.
        m_OrbBob.SetX(static_cast<float>(PlayGeometry::Left + static_cast<double>(PlayGeometry::Cell) * column));
        m_OrbBob.SetY(static_cast<float>(PlayGeometry::Bottom - static_cast<double>(PlayGeometry::Cell) * row));
        m_OrbBob.SetAlpha(kBoardAlpha);
    }

    m_OrbType = orbType;
    ApplyOrbPicture(m_OrbBob, orbType);
    if (orbType == OrbKind::White) {
        m_BonusKind = bonusKind;
        m_BonusValue = bonusValue;
        m_OrbBob.SetAlpha(kWhiteAlpha);
    }
    if (orbType == OrbKind::Invisible) m_OrbBob.SetVisible(false);

    m_BurnBob = GfxSprite();
    m_BurnBob.SetTexture(texture);
    m_BurnBob.SetVisible(false);
    m_BurnBob.SetBlend(true);
    SetCell(m_BurnBob, orbType == OrbKind::White ? assets::kWhiteBurnFirst : assets::BurnFrame(0));
    m_BurnBob.SetAlpha(static_cast<float>(burnAlpha));

    m_BonusBob.reset();
    if (orbType == OrbKind::White) {
        GfxSprite bonus;
        bonus.SetTexture(texture);
        bonus.SetVisible(true);
        bonus.SetBlend(true);
        ApplyBonusPicture(bonus, bonusKind);
        bonus.SetData(1, static_cast<float>(bonusKind));
        bonus.SetData(2, static_cast<float>(bonusValue));
        bonus.SetX(m_OrbBob.GetX());
        bonus.SetY(m_OrbBob.GetY());
        m_BonusBob = bonus;
    }
    m_LastMoved = GetTickCount();
}

void cOrb::PlaceInCell() {
    m_OrbBob.SetX(static_cast<float>(PlayGeometry::Left + static_cast<double>(PlayGeometry::Cell) * m_PositionX));
    m_OrbBob.SetY(static_cast<float>(PlayGeometry::Bottom - static_cast<double>(PlayGeometry::Cell) * m_PositionY));
    m_OrbBob.SetScale(1.0F);
    m_OrbBob.SetAlpha(m_OrbType == OrbKind::White ? kWhiteAlpha : kBoardAlpha);
    if (m_BonusBob) {
        m_BonusBob->SetX(m_OrbBob.GetX());
        m_BonusBob->SetY(m_OrbBob.GetY());
    }
}

void cOrb::Render() const {
    m_OrbBob.Render();
    if (m_Destroyed) m_BurnBob.Render();
}

void cOrb::SetPosition(int32_t x, int32_t y) {
    m_OrbBob.SetX(static_cast<float>(x));
    m_OrbBob.SetY(static_cast<float>(y));
    m_OrbBob.SetScale(1.0F);
}

void cOrb::Destroy() {
    m_Destroyed = true;
    m_BurnBob.SetVisible(true);
    m_BurnBob.SetX(m_OrbBob.GetX());
    m_BurnBob.SetY(m_OrbBob.GetY());
    m_Frame = 0;
    m_LastFrameTime = GetTickCount();
    if (m_BonusBob) {
        m_BonusBob->SetVisible(false);
        m_BonusBob->SetData(3, static_cast<float>(m_LastFrameTime));
    }
}

bool cOrb::Move(int32_t interval) {
    if (m_OrbType == OrbKind::Fireball) AnimateFireball();
    if (m_Destroyed) AnimateBurn();
    const int32_t now = GetTickCount();
    if (TicksSince(now, m_LastMoved) <= interval) return false;
    if (m_IsFired || m_IsFalling) {
        m_OrbBob.MoveBy(0, 6);
        if (m_BonusBob) m_BonusBob->MoveBy(0, 6);
    } else {
        m_OrbBob.MoveBy(0, -1);
        if (m_Destroyed) m_BurnBob.MoveBy(0, -1);
        if (m_BonusBob) m_BonusBob->MoveBy(0, -1);
    }
    m_LastMoved = now;
    return true;
}

void cOrb::AnimateFireball() {
    const int32_t now = GetTickCount();
    if (TicksSince(now, m_LastFrameTime) <= kStepInterval) return;
    m_Frame = (m_Frame + 1) % 4;
    static constexpr int32_t kLefts[] = {0, 25, 0, 50};
    m_OrbBob.SetSourceX(kLefts[m_Frame]);
    m_LastFrameTime = now;
}

void cOrb::AnimateBurn() {
    const int32_t now = GetTickCount();
    if (TicksSince(now, m_LastFrameTime) <= kStepInterval) return;
    ++m_Frame;
    Rect cell;
    if (m_OrbType == OrbKind::White) {
        m_OrbBob.SetVisible(false);
        if (m_Frame > assets::kWhiteBurnFrames) {
            m_BurnBob.SetVisible(false);
            m_Frame = 0;
        }
        cell = assets::WhiteBurnFrame(m_Frame);
    } else {
        if (m_Frame >= assets::kBurnFrames) {
            m_BurnBob.SetVisible(false);
            m_Frame = 0;
        }
        if (m_Frame == assets::kBurnOrbGoneFrame) m_OrbBob.SetVisible(false);
        cell = assets::BurnFrame(m_Frame);
    }
    SetCell(m_BurnBob, cell);
    m_LastFrameTime = now;
}

void cOrb::Fire(int32_t column) {
    m_IsFired = true;
    m_PositionX = column;
    float dragonX = PlayGeometry::DragonStartX;
    float dragonY = PlayGeometry::DragonStartY;
    if (const auto dragon = gSprites ? gSprites->Item("dragon") : nullptr) {
        dragonX = dragon->GetX();
        dragonY = dragon->GetY();
    }
    m_OrbBob.SetX(dragonX + PlayGeometry::ShotX);
    m_OrbBob.SetY(dragonY + PlayGeometry::ShotY);
}

void cOrb::StopFalling(int32_t pixelY, int32_t row) {
    m_IsFalling = false;
    m_OrbBob.SetY(static_cast<float>(pixelY));
    m_PositionY = row;
}

bool cOrb::CheckCollision(const cOrb& other) {
    const int64_t gap = static_cast<int64_t>(other.PixelY()) - PixelY();
    if (gap < -PlayGeometry::Cell || gap > PlayGeometry::Cell) return false;
    m_IsFalling = false;
    m_OrbBob.SetY(static_cast<float>(other.PixelY() - PlayGeometry::Cell));
    m_PositionY = other.PositionY() + 1;
    m_LastMoved = other.LastMoved();
    return true;
}
