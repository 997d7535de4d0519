// SPDX-License-Identifier: GPL-3.0-or-later
// The play state's bonus items: released by white orbs, rising to the dragon, caught or lost.
#include <cmath>
#include <string>

#include "base/Globals.h"
#include "engine/cSound.h"
#include "engine/cTextures.h"
#include "game/PlayGeometry.h"
#include "game/cOrb.h"
#include "gfx/Clock.h"
#include "play/cPlayState.h"
#include "play/cScores.h"

namespace {

// "+1000" or "-1000". Built by appending: GCC 12 misreads "-" + std::string as overlapping copies.
std::string SignedText(char sign, int32_t value) {
    std::string text(1, sign);
    text += std::to_string(value);
    return text;
}

}  // namespace

void cPlayState::AddToScore(int32_t amount) {
    if (m_Scores) m_Scores->AddToScore(amount);
}

void cPlayState::ReleaseBonus(const OrbRef& whiteOrb) {
    if (!whiteOrb->HasBonusBob() || whiteOrb->BonusReleased()) return;
    whiteOrb->MarkBonusReleased();
    const GfxSprite& carrier = whiteOrb->BonusBob();
    auto item = std::make_shared<BonusItem>();
    GfxSprite& sprite = item->sprite;
    sprite.SetTexture(gTextures->Texture("sprites.png"));
    sprite.SetVisible(true);
    sprite.SetBlend(true);
    ApplyBonusPicture(sprite, static_cast<int32_t>(std::lrint(carrier.GetData(1))));
    for (int32_t i = 1; i <= 3; ++i) sprite.SetData(i, carrier.GetData(i));
    item->movedAt = whiteOrb->BurnStart();

    int32_t id = m_BonusItems.Count() + 1;
    while (m_BonusItems.Exists(std::to_string(id))) ++id;
    sprite.SetData(4, static_cast<float>(id));
    sprite.SetX(carrier.GetX());
    sprite.SetY(carrier.GetY());
    m_BonusItems.Add(item, std::to_string(id));
}

void cPlayState::ProcessBonusItem(const BonusItemRef& item) {
    const int32_t now = GetTickCount();
    GfxSprite& sprite = item->sprite;
    if (TicksSince(now, item->movedAt) > 12) {
        sprite.MoveBy(0, -4);
        sprite.SetData(3, static_cast<float>(now));
        item->movedAt = now;
    }
    const std::string key = std::to_string(std::lrint(sprite.GetData(4)));

    const auto dragon = DragonSprite();
    if (dragon && ReachesDragon(*dragon, sprite.GetX(), sprite.GetY())) {
        const auto value = static_cast<int32_t>(std::lrint(sprite.GetData(2)));
        switch (static_cast<int32_t>(std::lrint(sprite.GetData(1)))) {
            case BonusKind::Fireball:
                m_BonusText = "FIREBALL";
                MakeCurrent(MakeQueueOrb(OrbKind::Fireball));
                gSound->Play("bonus.wav");
                break;
            case BonusKind::Tornado:
                m_BonusText = SignedText('-', value);
                AddToScore(-value);
                gSound->Play("penalty.wav");
                break;
            default:
                m_BonusText = SignedText('+', value);
                AddToScore(value);
                gSound->Play("bonus.wav");
                break;
        }
        m_BonusTextStart = now;
        m_BonusTextMoveTime = now;
        m_BonusTextY = static_cast<int32_t>(
            std::lrint(dragon->GetY() + static_cast<float>(dragon->GetHeight()) - PlayGeometry::BonusTextInset));
        m_BonusTextX = static_cast<int32_t>(std::lrint(sprite.GetX()));
        if (m_BonusItems.Exists(key)) m_BonusItems.Remove(key);
        OnBonusItemDone();
    } else if (sprite.GetY() <= -PlayGeometry::Cell) {
        if (m_BonusItems.Exists(key)) m_BonusItems.Remove(key);
        OnBonusItemDone();
    }
}
