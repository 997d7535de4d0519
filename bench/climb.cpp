// SPDX-License-Identifier: GPL-3.0-or-later
// The shipped levels' climb, measured: every level of data/levels played by each player profile
// (KW_CLIMB_RUNS times, default 200): share won, median time to win, tightest margin of a won run.
// KW_CLIMB_FIRST_RUN (default 0) plays other runs, as a player at another time of day would.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "Setting.h"
#include "play/LevelTrial.h"

namespace {

namespace fs = std::filesystem;

fs::path ShippedLevel(int32_t number) {
    return fs::path(KW_SOURCE_DIR) / "data" / "levels" / ("level" + std::to_string(number) + ".dat");
}

void PlayLevel(benchmark::State& state, int32_t level, const PlayerProfile& player) {
    const int32_t runs = Setting("KW_CLIMB_RUNS", 200);
    TrialOptions options;
    options.player = player;
    options.firstRun = Setting("KW_CLIMB_FIRST_RUN", 0, 0);
    TrialSummary summary;
    for (auto _ : state) summary = PlayLevelTrials(ShippedLevel(level), runs, options);
    state.counters["sharePct"] = 100.0 * summary.Won() / runs;
    state.counters["medianWinS"] = summary.MedianWinMs().value_or(0) / 1000.0;
    state.counters["tightestPx"] = summary.TightestWonMargin().value_or(0);
    state.counters["undecided"] = runs - summary.Won() - summary.Lost();
}

// One benchmark per profile and level file there is, levels in order.
const bool kRegistered = [] {
    for (const PlayerProfile& player : PlayerProfiles::All)
        for (int32_t level = 1; fs::exists(ShippedLevel(level)); ++level)
            benchmark::RegisterBenchmark(
                ("Climb/" + std::string(player.name) + "/level" + std::to_string(level)).c_str(),
                [level, &player](benchmark::State& state) { PlayLevel(state, level, player); })
                ->Iterations(1)
                ->Unit(benchmark::kSecond);
    return true;
}();

}  // namespace
