// SPDX-License-Identifier: GPL-3.0-or-later
// The cell alphabet of level files: each letter and the orb it creates. The level reader, the
// board set-up and the content test read this one table; any other character is an empty cell.
#pragma once

#include <array>
#include <cstdint>

#include "game/cOrb.h"

struct LevelCell {
    char letter;
    int32_t orbType;    // OrbKind; 0 for a coloured orb drawn at random
    int32_t bonusKind;  // for white orbs; 0 for a kind drawn at random
};

inline constexpr std::array<LevelCell, 13> kLevelCells = {{
    {'R', OrbKind::Red, BonusKind::Chest},
    {'B', OrbKind::Blue, BonusKind::Chest},
    {'G', OrbKind::Green, BonusKind::Chest},
    {'P', OrbKind::Purple, BonusKind::Chest},
    {'Y', OrbKind::Yellow, BonusKind::Chest},
    {'1', OrbKind::BlackFalling, BonusKind::Chest},
    {'2', OrbKind::BlackFixed, BonusKind::Chest},
    {'I', OrbKind::Invisible, BonusKind::Chest},
    {'W', OrbKind::White, BonusKind::Chest},
    {'X', OrbKind::White, BonusKind::Tornado},
    {'Z', OrbKind::White, BonusKind::Fireball},
    {'U', OrbKind::White, 0},
    {'A', 0, BonusKind::Chest},
}};

// The cell of a letter, or nullptr for an empty cell.
constexpr const LevelCell* FindLevelCell(char letter) {
    for (const LevelCell& cell : kLevelCells)
        if (cell.letter == letter) return &cell;
    return nullptr;
}
