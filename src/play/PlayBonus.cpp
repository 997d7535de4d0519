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

// Ticks travel in the sprite's float data values; read them back as 32-bit ticks.
int32_t TickFromData(float value) {
    if (!std::isfinite(value)) return 0;
    return static_cast<int32_t>(static_cast<uint32_t>(static_cast<int64_t>(std::llrint(value))));
}

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
    auto item = std::make_shared<GfxSprite>();
    item->SetTexture(gTextures->Texture("sprites.png"));
    item->SetVisible(true);
    item->SetBlend(true);
    ApplyBonusPicture(*item, static_cast<int32_t>(std::lrint(carrier.GetData(1))));
    for (int32_t i = 1; i <= 3; ++i) item->SetData(i, carrier.GetData(i));

    int32_t id = m_BonusItems.Count() + 1;
    while (m_BonusItems.Exists(std::to_string(id))) ++id;
    item->SetData(4, static_cast<float>(id));
    item->SetX(carrier.GetX());
    item->SetY(carrier.GetY());
    m_BonusItems.Add(item, std::to_string(id));
}

void cPlayState::ProcessBonusItem(const BonusItemRef& item) {
    const int32_t now = GetTickCount();
    if (TicksSince(now, TickFromData(item->GetData(3))) > 12) {
        item->MoveBy(0, -4);
        item->SetData(3, static_cast<float>(now));
    }
    const std::string key = std::to_string(std::lrint(item->GetData(4)));

    const auto dragon = DragonSprite();
    if (dragon && ReachesDragon(*dragon, item->GetX(), item->GetY())) {
        const auto value = static_cast<int32_t>(std::lrint(item->GetData(2)));
        switch (static_cast<int32_t>(std::lrint(item->GetData(1)))) {
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
        m_BonusTextX = static_cast<int32_t>(std::lrint(item->GetX()));
        if (m_BonusItems.Exists(key)) m_BonusItems.Remove(key);
        OnBonusItemDone();
    } else if (item->GetY() <= -PlayGeometry::Cell) {
        if (m_BonusItems.Exists(key)) m_BonusItems.Remove(key);
        OnBonusItemDone();
    }
}
