// SPDX-License-Identifier: GPL-3.0-or-later
// Play-testing a level without a window: a casual player at the controls of the real play state,
// on the virtual clock, many times over with different queue draws, and what came of it.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string_view>
#include <vector>

#include "game/LevelFile.h"

// The players a trial seats. The casual player steps at most one column per step gap and fires at
// most once per fire gap; looks at the current orb only and takes the landing that burns the most,
// else one that makes a pair, else throws into an empty column, else onto the lowest stack; a
// fireball goes onto the tallest stack. It never goes after bonus items. The distracted player is
// the same player, slower to fire, and now and then throws an orb into a column at random.
struct PlayerProfile {
    std::string_view name;
    int32_t stepGapMs;
    int32_t fireGapMs;
    int32_t randomShotOneIn;  // of this many shots one on average goes to a random column; 0: none
};
namespace PlayerProfiles {
constexpr PlayerProfile Casual{"casual", 150, 260, 0};
constexpr PlayerProfile Distracted{"distracted", 150, 700, 5};
constexpr std::array<PlayerProfile, 2> All{Casual, Distracted};
// The profile of that name, or nullptr.
const PlayerProfile* Find(std::string_view name);
}  // namespace PlayerProfiles

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

struct TrialOptions {
    PlayerProfile player = PlayerProfiles::Casual;
    // Run i starts at its own time of day, so the queue draws differ from run to run and are the
    // same every time that run is played; a trial plays runs firstRun, firstRun + 1, ...
    int32_t firstRun = 0;
    int32_t maxPlayMs = 20 * 60 * 1000;  // a level is given up as undecided after this
    // Asked after each run: true ends the trial there (a verdict the remaining runs cannot change).
    std::function<bool(const TrialSummary&)> decided;
};

// Plays the level `runs` times. Runs in a headless world of its own with stand-ins for every
// picture and sound, so it reads nothing but the level and writes nothing; it owns the game's
// globals meanwhile: no game may run in the same process.
TrialSummary PlayLevelTrials(const LevelFile& level, int32_t runs, const TrialOptions& options = {});
// The same for a level file, which must be readable by the game (the caller checks it).
TrialSummary PlayLevelTrials(const std::filesystem::path& levelFile, int32_t runs, const TrialOptions& options = {});
