// SPDX-License-Identifier: GPL-3.0-or-later
// The level tools' speed: the checker reading a level, and the casual player's game of a typical
// level played to its end on the virtual clock.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "game/LevelCheck.h"
#include "play/LevelTrial.h"

namespace {

namespace fs = std::filesystem;

fs::path ShippedLevel(int number) {
    return fs::path(KW_SOURCE_DIR) / "data" / "levels" / ("level" + std::to_string(number) + ".dat");
}

// Level 20: five colours, black orbs, white orbs of every kind.
void BM_CheckLevel(benchmark::State& state) {
    std::stringstream bytes;
    bytes << std::ifstream(ShippedLevel(20), std::ios::binary).rdbuf();
    const std::string text = bytes.str();
    const PictureExists pictures = [](const std::string&) { return true; };
    for (auto _ : state) benchmark::DoNotOptimize(CheckLevel(text, true, pictures));
}
BENCHMARK(BM_CheckLevel)->Unit(benchmark::kMicrosecond);

// Each iteration plays level N ten times, from the start to a win or a loss; the counter is the
// time of one game.
void BM_CasualGameToTheEnd(benchmark::State& state) {
    constexpr int kRuns = 10;
    int64_t playedMs = 0;
    for (auto _ : state) {
        const TrialSummary summary = PlayLevelTrials(ShippedLevel(static_cast<int>(state.range(0))), kRuns);
        for (const TrialRun& run : summary.runs) playedMs += run.playedMs;
    }
    state.counters["secondsPerGame"] = benchmark::Counter(static_cast<double>(state.iterations() * kRuns),
                                                          benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
    state.counters["virtualSecondsPerGame"] =
        static_cast<double>(playedMs) / 1000.0 / static_cast<double>(state.iterations() * kRuns);
}
BENCHMARK(BM_CasualGameToTheEnd)->Arg(5)->Arg(20)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
