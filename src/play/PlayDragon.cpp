// SPDX-License-Identifier: GPL-3.0-or-later
// The play state's dragon, firing queue, shots in flight and their landing on the board.
#include <algorithm>
#include <cmath>
#include <vector>

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "engine/cSound.h"
#include "engine/cSprites.h"
#include "game/PlayGeometry.h"
#include "game/cOrb.h"
#include "gfx/Clock.h"
#include "play/cPlayState.h"
#include "shell/AssetTable.h"

namespace {

constexpr float kDragonLeftmost = PlayGeometry::DragonX(0);
constexpr float kDragonRightmost = PlayGeometry::DragonX(PlayGeometry::Columns - 1);
constexpr int32_t kShotInterval = 12;

void ReportMissingItem(const char* procedure, const std::string& key, int32_t pendingError) {
    ReportError(ErrorNumber::KeyNotFound, "cPlayState", procedure,
                "Trying to remove the item " + key + ", but item does not exists.", true, true, false, pendingError);
}

}  // namespace

std::shared_ptr<GfxSprite> cPlayState::DragonSprite() const { return gSprites ? gSprites->Item("dragon") : nullptr; }

void cPlayState::StartDragonMove(int32_t direction) {
    if (m_DragonMoving) return;
    m_DragonMoving = true;
    m_DragonMoved = 0;
    m_DragonDirection = static_cast<int16_t>(direction);
    m_DragonMoveTime = GetTickCount();
}

void cPlayState::MoveDragon() {
    if (!m_DragonMoving) return;
    const auto dragon = DragonSprite();
    if (!dragon) return;
    const int32_t now = GetTickCount();
    if (TicksSince(now, m_DragonMoveTime) > 10) {
        dragon->MoveBy(static_cast<float>(m_DragonDirection * 4), 0, 0);
        m_DragonMoved += 4;
        m_DragonMoveTime = now;
    }
    const long x = std::lrint(dragon->GetX());
    if (x > kDragonRightmost) dragon->SetX(kDragonRightmost);
    if (x < kDragonLeftmost) dragon->SetX(kDragonLeftmost);
    if (m_DragonMoved >= PlayGeometry::Cell) {
        m_DragonMoving = false;
        m_DragonMoved = 0;
        m_DragonColumn = std::clamp(m_DragonColumn + m_DragonDirection, 0, PlayGeometry::Columns - 1);
        m_DragonDirection = 0;
    }
}

void cPlayState::AnimateDragon() {
    const auto dragon = DragonSprite();
    if (!dragon) return;
    const int32_t now = GetTickCount();
    if (TicksSince(now, m_DragonFrameTime) > 200) {
        m_DragonFrame = (m_DragonFrame + 1) % 4;
        m_DragonFrameTime = now;
    }
    // The wings beat mid, up, mid, down.
    static constexpr int kWings[] = {0, 1, 0, 2};
    const assets::Rect& cell = (m_DragonFiring ? assets::kDragonFiring : assets::kDragon)[kWings[m_DragonFrame & 3]];
    dragon->SetSourceX(cell.x);
    dragon->SetSourceY(cell.y);
}

bool cPlayState::IsDragonAligned() const {
    const auto dragon = DragonSprite();
    return dragon && std::lrint(dragon->GetX() - kDragonLeftmost) % PlayGeometry::Cell == 0;
}

bool cPlayState::ReachesDragon(const GfxSprite& dragon, float x, float y) {
    return dragon.GetY() + static_cast<float>(dragon.GetHeight()) - PlayGeometry::UndersideInset > y &&
           dragon.GetX() < x && x < dragon.GetX() + static_cast<float>(dragon.GetWidth()) - PlayGeometry::Cell;
}

void cPlayState::FireOrb() {
    if (!IsDragonAligned() || m_DragonFiring || !m_CurrentOrb || !MayShoot()) return;
    m_DragonFiring = true;
    m_FireTime = GetTickCount();
    m_CurrentOrb->Fire(m_DragonColumn);
    gSound->Play(m_CurrentOrb->OrbType() == OrbKind::Fireball ? "fireball.wav" : "shoot.wav");
    m_Moving.Add(m_CurrentOrb, m_CurrentOrb->Key());
    MakeCurrent(m_NextOrb);
    m_NextOrb = MakeQueueOrb(ChooseNextOrbType());
    OnOrbFired();
}

int32_t cPlayState::ChooseNextOrbType() {
    cOrb::SeedFromTimer();
    GfxUtility& utility = gEngine->GetUtility();
    if (utility.RandomRange(1, 110) > 100) return OrbKind::Fireball;

    std::vector<int32_t> present;
    for (int32_t t = OrbKind::Red; t <= OrbKind::Yellow; ++t)
        if (BoardHasType(t)) present.push_back(t);
    cOrb::SeedFromTimer();
    // With no colour left on the board (the last ones are falling) any colour will do.
    if (present.empty()) return utility.RandomRange(1, 5);
    // Reseeding from the clock on every try would repeat the same draw until the clock moves on,
    // so later tries continue the sequence; the cap only guards the loop, the fallback is as fair.
    for (int tries = 0; tries < 100; ++tries) {
        const int32_t t = utility.RandomRange(1, 5);
        if (BoardHasType(t)) return t;
    }
    return present[static_cast<size_t>(utility.RandomRange(1, static_cast<int32_t>(present.size())) - 1)];
}

bool cPlayState::BoardHasType(int32_t orbType) const {
    for (const auto& entry : m_Board.Entries())
        if (entry.value->OrbType() == orbType) return true;
    return false;
}

void cPlayState::AnimateQueue() {
    if (!m_CurrentOrb || !m_NextOrb) return;
    const int32_t now = GetTickCount();
    if (m_CurrentOrb->Alpha() != 235) m_CurrentOrb->SetAlpha(235);
    if (m_NextOrb->Alpha() < 235 && TicksSince(now, m_NextOrbFadeTime) > 5) {
        m_NextOrb->SetAlpha(std::min(m_NextOrb->Alpha() + 4, 235));
        m_NextOrbFadeTime = now;
    }
    if (m_CurrentOrb->PixelX() < PlayGeometry::CurrentOrbX && TicksSince(now, m_CurrentOrbSlideTime) > 5) {
        const int32_t y = m_CurrentOrb->PixelY();
        m_CurrentOrb->SetPosition(m_CurrentOrb->PixelX() + 2, y);
        if (m_CurrentOrb->PixelX() > PlayGeometry::CurrentOrbX) m_CurrentOrb->SetPosition(PlayGeometry::CurrentOrbX, y);
        m_CurrentOrbSlideTime = now;
    }
}

void cPlayState::MoveOrb(const OrbRef& orb) {
    try {
        orb->Move(orb->IsFired() || orb->IsFalling() ? kShotInterval : m_RiseInterval);

        if (orb->IsFalling() && !orb->IsFired() && orb->PixelY() >= m_FloorY) {
            orb->StopFalling(m_FloorY, 0);
            // Rise in step with the board; an empty board has no step to join, so start now.
            orb->SetLastMoved(m_Board.Count() > 0 ? m_Board.Item(1)->LastMoved() : GetTickCount());
            m_Moving.Remove(orb->Key());
            orb->ChangeKey(BoardKey(orb->PositionX(), 0));
            m_Board.Add(orb, orb->Key());
            ApplyLandingRule(orb);
        }

        if (orb->HasBeenDestroyed()) {
            m_Board.Remove(orb->Key());
            OnBurntOrbRemoved();
        }

        if (orb->IsFired() && orb->PixelY() > assets::kScreenH) {
            m_Moving.Remove(orb->Key());
            AddToScore(-10);
        }
    } catch (const RuntimeError& error) {
        ReportMissingItem("MoveOrb", orb->Key(), error.Number());
    }
}

void cPlayState::CheckCollision(const OrbRef& orb) {
    try {
        OrbRef target;
        for (int32_t row = PlayGeometry::Rows - 1; row >= 0; --row) {
            const OrbRef* found = m_Board.TryItem(BoardKey(orb->PositionX(), row));
            if (!found) continue;
            const OrbRef& candidate = *found;
            // Only an orb below stops a moving one. The orb above a stack's lowest faller may
            // still rest within reach before it begins to fall itself, most of all when short
            // frames leave the faller unmoved for a frame or two.
            if (candidate->PixelY() <= orb->PixelY()) continue;
            if (orb->CheckCollision(*candidate)) {
                target = candidate;
                break;
            }
        }
        if (!target) return;

        // A direct hit burns a white orb, afresh if a group burn has already lit it, and
        // releases its bonus the first time only.
        if (target->OrbType() == OrbKind::White) {
            target->Destroy();
            ReleaseBonus(target);
        }

        if (orb->OrbType() == OrbKind::Fireball) {
            m_Moving.Remove(orb->Key());
            target->Destroy();
            gSound->Play("burn.wav");
            return;
        }

        m_Moving.Remove(orb->Key());
        orb->ChangeKey(BoardKey(orb->PositionX(), orb->PositionY()));
        m_Board.Add(orb, orb->Key());
        if (orb->IsFired()) {
            RemoveMatches(orb, false);
            orb->StopFire();
        } else {
            ApplyLandingRule(orb);
        }
    } catch (const RuntimeError& error) {
        ReportMissingItem("CheckCollision", orb->Key(), error.Number());
    }
}
