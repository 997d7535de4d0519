// SPDX-License-Identifier: GPL-3.0-or-later
// One orb: on the board, in the firing queue, in flight or falling. Owns its picture, its burn
// animation and, for white orbs, the hidden carrier of the bonus it holds.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "base/OrbKind.h"
#include "game/PlayGeometry.h"
#include "gfx/Gfx.h"

namespace BonusKind {
constexpr int32_t Chest = 1, Fireball = 2, Tornado = 3;
}

// The sprite-sheet picture of an orb type, and of a bonus kind (the fireball is flagged as animated).
void ApplyOrbPicture(GfxSprite& sprite, int32_t orbType);
void ApplyBonusPicture(GfxSprite& sprite, int32_t bonusKind);

class cOrb final {
public:
    GfxSprite& OrbBob() { return m_OrbBob; }
    const GfxSprite& OrbBob() const { return m_OrbBob; }
    bool HasBonusBob() const { return m_BonusBob.has_value(); }
    // Only for white orbs (HasBonusBob).
    GfxSprite& BonusBob() { return m_BonusBob.value(); }
    const GfxSprite& BonusBob() const { return m_BonusBob.value(); }

    int32_t OrbType() const { return m_OrbType; }
    const std::string& Key() const { return m_Key; }
    // The burn has run to its end and the play state may drop the orb.
    bool HasBeenDestroyed() const { return m_Destroyed && !m_BurnBob.GetVisible() && m_Frame == 0; }
    bool IsDestroyed() const { return m_Destroyed; }
    int32_t LastMoved() const { return m_LastMoved; }
    void SetLastMoved(int32_t tick) { m_LastMoved = tick; }
    int32_t PositionX() const { return m_PositionX; }
    int32_t PositionY() const { return m_PositionY; }
    int32_t PixelX() const;
    int32_t PixelY() const;
    bool IsFired() const { return m_IsFired; }
    bool IsFalling() const { return m_IsFalling; }
    int32_t Alpha() const;
    void SetAlpha(int32_t alpha) { m_OrbBob.SetAlpha(static_cast<float>(alpha)); }
    int32_t BonusKindHeld() const { return m_BonusKind; }
    int32_t BonusValue() const { return m_BonusValue; }
    // A white orb pays its bonus once, however often it is hit.
    bool BonusReleased() const { return m_BonusReleased; }
    void MarkBonusReleased() { m_BonusReleased = true; }

    void ChangeKey(const std::string& key) { m_Key = key; }
    // Same type and the other orb is at rest; a missing orb never matches.
    bool MatchingTypes(const cOrb* other) const;
    bool Equals(const cOrb& other) const;

    void Create_Random_Orb(int32_t column, int32_t row, const std::string& key, bool allowFireball);
    void Create_Orb(int32_t column, int32_t row, const std::string& key, int32_t orbType, int32_t bonusKind,
                    int32_t bonusValue);

    // A level row of -1 lies just under the board: place such an orb by its cell, since the
    // creation rule takes row -1 for the firing queue.
    void PlaceInCell();

    void Render() const;
    void SetPosition(int32_t x, int32_t y);
    void Destroy();
    bool Move(int32_t interval);
    void Fire(int32_t column);
    void StopFire() { m_IsFired = false; }
    void Fall() { m_IsFalling = true; }
    void StopFalling(int32_t pixelY, int32_t row);
    bool CheckCollision(const cOrb& other);

    // The random type draw, seeded from the time of day as the rules fix it.
    static int32_t DrawRandomType(bool allowFireball);
    // Seeds the generator from the whole seconds of the time of day, draws 1..3 and reseeds
    // with the time of day times that draw: the two-step seeding every random orb uses.
    static void SeedFromTimer();

private:
    void Build(int32_t column, int32_t row, const std::string& key, int32_t orbType, int32_t bonusKind,
               int32_t bonusValue, int32_t burnAlpha);
    void AnimateFireball();
    void AnimateBurn();

    GfxSprite m_OrbBob;
    GfxSprite m_BurnBob;
    std::optional<GfxSprite> m_BonusBob;  // white orbs: kind, value and burn time in data 1..3
    std::string m_Key;
    int32_t m_PositionX = 0;  // column, -1 in the queue
    int32_t m_PositionY = 0;  // row from the bottom, -1 in the queue
    int32_t m_OrbType = 0;
    bool m_IsFired = false;
    bool m_IsFalling = false;
    bool m_Destroyed = false;
    int32_t m_BonusValue = 0;
    int32_t m_BonusKind = 0;
    bool m_BonusReleased = false;
    int32_t m_LastFrameTime = 0;
    int32_t m_Frame = 0;
    int32_t m_LastMoved = 0;
};
