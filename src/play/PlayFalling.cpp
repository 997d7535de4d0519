// SPDX-License-Identifier: GPL-3.0-or-later
// The play state's falling orbs: losing support, and what a landing sets off.
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "game/cOrb.h"
#include "play/cPlayState.h"

void cPlayState::CheckForFall(const OrbRef& orb) {
    try {
        if (orb->PositionY() < 1) return;
        if (OrbExists(orb->PositionX(), orb->PositionY() - 1)) return;
        orb->Fall();
        m_Board.Remove(orb->Key());
        m_Moving.Add(orb, orb->Key());
    } catch (const RuntimeError& error) {
        ReportError(ErrorNumber::KeyNotFound, "cPlayState", "CheckForFall",
                    "Trying to remove the item " + orb->Key() + ", but item does not exists.", true, true, false,
                    error.Number());
    }
}

void cPlayState::ApplyLandingRule(const OrbRef& orb) {
    // An orb of the same type still falling onto this one will search when it lands, so a
    // falling column burns once, not once per orb.
    const std::string above = BoardKey(orb->PositionX(), orb->PositionY() + 1);
    if (m_Moving.Exists(above) && m_Moving.Item(above)->OrbType() == orb->OrbType()) return;
    RemoveMatches(orb, true);
}
