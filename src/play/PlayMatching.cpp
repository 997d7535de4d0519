// SPDX-License-Identifier: GPL-3.0-or-later
// The play state's matching: the group of an orb that came to rest, its burn and its points.
#include <string>

#include "base/Globals.h"
#include "engine/cSound.h"
#include "game/cBonus.h"
#include "game/cOrb.h"
#include "play/cPlayState.h"

void cPlayState::RemoveMatches(const OrbRef& orb, bool chainBonus) {
    m_MatchList = Collection<std::string>();
    m_MatchList.Add(orb->Key(), orb->Key());
    CheckMatches(orb);

    const int32_t n = m_MatchList.Count();
    if (n < 3) return;

    gSound->Play("burn.wav");
    int32_t total = 0;
    for (int32_t i = 1; i <= n; ++i) {
        m_Board.Item(m_MatchList.Item(i))->Destroy();
        total += 2 * i;
    }
    AddToScore(total);

    if (chainBonus && HasChainBonus()) {
        ++m_PopupCounter;
        const std::string id = std::to_string(m_PopupCounter);
        auto popup = std::make_shared<cBonus>();
        popup->Create(n * 20, orb->PixelX() - 24, orb->PixelY(), id);
        // A popup left over from an earlier level may still hold this number.
        if (m_Popups.Exists(id)) m_Popups.Remove(id);
        m_Popups.Add(popup, id);
        AddToScore(n * 20);
    }
}

void cPlayState::CheckMatches(const OrbRef& orb) {
    const int32_t column = orb->PositionX();
    const int32_t row = orb->PositionY();
    const int32_t neighbours[4][2] = {{column + 1, row}, {column - 1, row}, {column, row + 1}, {column, row - 1}};
    for (const auto& cell : neighbours) {
        if (!OrbExists(cell[0], cell[1])) continue;
        const std::string key = BoardKey(cell[0], cell[1]);
        const OrbRef neighbour = m_Board.Item(key);
        if (orb->MatchingTypes(neighbour.get()) && !IsInMatchList(key) && !neighbour->IsDestroyed()) {
            m_MatchList.Add(key, key);
            CheckMatches(neighbour);
        }
    }
}

bool cPlayState::IsInMatchList(const std::string& key) const { return m_MatchList.Exists(key); }
