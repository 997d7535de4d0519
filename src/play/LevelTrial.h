// SPDX-License-Identifier: GPL-3.0-or-later
// Play-testing a level without a window: a casual player at the controls of the real play state,
// on the virtual clock, many times over with different queue draws, and what came of it.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <vector>

// The simple player: steps at most one column per 150 ms and fires at most once per 260 ms; looks
// at the current orb only and takes the landing that burns the most, else one that makes a pair,
// else throws into an empty column, else onto the lowest stack; a fireball goes onto the tallest
// stack. It never goes after bonus items.
namespace CasualPlayer {
constexpr int32_t StepGapMs = 150, FireGapMs = 260;
}

struct TrialRun {
    bool won = false;
    bool lost = false;           // neither when the time ran out first
    int32_t playedMs = 0;        // play until the level was won or lost
    int32_t tightestMargin = 0;  // fewest pixels ever left between a stack and the dragon's underside
};

struct TrialSummary {
    std::vector<TrialRun> runs;
    int32_t Won() const;
    int32_t Lost() const;
    // Both empty when no run was won.
    std::optional<int32_t> MedianWinMs() const;
    std::optional<int32_t> TightestWonMargin() const;  // the tightest margin of any won run
};

// Plays the level file `runs` times, run i starting at its own time of day so the queue draws
// differ from run to run and are the same every time the trial is repeated. The file must be
// readable by the game (the caller checks it); a level is given up as undecided after
// `maxPlayMs`. Runs in a headless world of its own with stand-ins for every picture and sound, so
// it reads nothing but the level and writes nothing; it owns the game's globals meanwhile: no game
// may run in the same process.
TrialSummary PlayLevelTrials(const std::filesystem::path& levelFile, int32_t runs, int32_t maxPlayMs = 20 * 60 * 1000);
