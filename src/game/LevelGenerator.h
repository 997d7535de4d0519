// SPDX-License-Identifier: GPL-3.0-or-later
// Endless boards by design: from a run's seed and a board number only, a board a person would call
// designed (a mirror-symmetric silhouette of mounds, towers, terraces or a valley, coloured in pairs,
// blocks or stripes), as hard as its number asks. Pure: it reads no clock and no shared generator,
// so a seed and a number give the same board on every machine. Proving a board is play's work.
#pragma once

#include <cstdint>

#include "game/LevelFile.h"

namespace EndlessBoards {
// Far past any run a player can survive; the difficulty stops rising long before, at HardestBoard.
constexpr int32_t MaxBoard = 1000000, HardestBoard = 40;
}  // namespace EndlessBoards

// What a board number asks for.
struct BoardDifficulty {
    int32_t riseInterval = 0;  // milliseconds per pixel of rise
    int32_t colours = 3;       // the first this many of red, blue, green, yellow, purple
    int32_t rows = 3;          // the silhouette's height, bonus orbs on top not counted
    int32_t orbs = 0;          // about this many cells filled
    int32_t hardPatterns = 0;  // colourings of lone orbs and pairs out of the four patterns (0 to 4)
    // Orb kinds in play, each from the board where the shipped levels bring it in, and how many.
    int32_t chests = 0, tornadoes = 0, fallingBlacks = 0, shelves = 0, fireballs = 0, invisibles = 0, randomOrbs = 0,
            randomBonuses = 0;
};

BoardDifficulty DifficultyOf(int32_t board);
// One design of a board: each attempt is another board of the same difficulty. The background and
// clouds follow the board number, five boards to each of the shipped levels' worlds.
LevelFile DesignBoard(uint32_t seed, int32_t board, int32_t attempt, const BoardDifficulty& difficulty);
