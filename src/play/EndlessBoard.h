// SPDX-License-Identifier: GPL-3.0-or-later
// Endless boards proven before they are shown: a designed board (game/LevelGenerator.h) that the
// level checker finds no error in and the casual player wins often enough in trial runs. A design
// that fails is drawn afresh, and after a few failures made easier, within a bound. Runs the
// casual player's trials, so it owns the game's globals while it works: no game in the process.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "game/LevelFile.h"
#include "play/LevelTrial.h"

namespace BoardProof {
// Shown when the casual player wins at least Wins of Runs runs: more often than not, so a loss is
// the player's and not the board's, yet low enough for the curve to fall past board 25 to about
// one win in two. The proof stops as soon as the remaining runs cannot change its verdict.
constexpr int32_t Runs = 20, Wins = 10;
// Designs at the board's own difficulty, then at each easier step (a quarter of the way back).
constexpr int32_t FirstAttempts = 3, EasedAttempts = 2;
}  // namespace BoardProof

struct ProvenBoard {
    LevelFile level;
    std::string text;          // the level file, as the writer the editor uses writes it
    TrialSummary proof;        // the runs the proof played
    int32_t attempts = 0;      // designs tried, this one included
    int32_t difficultyOf = 0;  // the board number whose difficulty it has; lower when eased
};

// A note for each design that failed and why goes to `log`. Nothing when no design passed.
std::optional<ProvenBoard> GenerateProvenBoard(uint32_t seed, int32_t board,
                                               const std::function<void(const std::string&)>& log = {});
