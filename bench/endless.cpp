// SPDX-License-Identifier: GPL-3.0-or-later
// The endless mode's curve, measured: for each board number from 1 to 40 the proven board of many
// seeds, played by the casual player on runs its proof never saw: share won, median time to win,
// tightest margin of a won run. And what generating and proving one board costs in CPU time, per
// board number and over all of them. KW_ENDLESS_SEEDS (default 100) and KW_ENDLESS_RUNS (runs
// per seed, default 2) set the sample; KW_ENDLESS_BOARDS (default 40) how far it goes.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "Setting.h"
#include "game/LevelGenerator.h"
#include "play/EndlessBoard.h"
#include "play/LevelTrial.h"

namespace {

double ProcessCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t mid = values.size() / 2;
    return values.size() % 2 ? values[mid] : (values[mid - 1] + values[mid]) / 2;
}

// Seeds spread over the whole range, as players' random runs are.
// KW_ENDLESS_FIRST_SEED (default 0) moves the sample on, for a measurement on other seeds.
uint32_t SampleSeed(int32_t i) {
    static const int32_t first = Setting("KW_ENDLESS_FIRST_SEED", 0, 0);
    return static_cast<uint32_t>(first + i + 1) * 2654435761U;
}

// Every generation's cost, for the summary after the last board.
std::vector<double> gAllCosts;

void BM_EndlessBoard(benchmark::State& state) {
    const auto board = static_cast<int32_t>(state.range(0));
    const int32_t seeds = Setting("KW_ENDLESS_SEEDS", 100), runs = Setting("KW_ENDLESS_RUNS", 2);
    std::vector<double> costs, winTimes;
    int32_t won = 0, played = 0, eased = 0, failed = 0;
    double tightest = 1e9;
    for (auto _ : state) {
        for (int32_t i = 0; i < seeds; ++i) {
            const double start = ProcessCpuMs();
            const auto proven = GenerateProvenBoard(SampleSeed(i), board);
            costs.push_back(ProcessCpuMs() - start);
            if (!proven) {
                ++failed;
                continue;
            }
            eased += proven->difficultyOf < std::min(board, EndlessBoards::HardestBoard);
            TrialOptions options;
            options.firstRun = 1000;  // runs the proof never played
            const TrialSummary summary = PlayLevelTrials(proven->level, runs, options);
            won += summary.Won();
            played += runs;
            for (const TrialRun& run : summary.runs) {
                if (!run.won) continue;
                winTimes.push_back(run.playedMs / 1000.0);
                tightest = std::min(tightest, static_cast<double>(run.tightestMargin));
            }
        }
    }
    gAllCosts.insert(gAllCosts.end(), costs.begin(), costs.end());
    state.counters["sharePct"] = played ? 100.0 * won / played : 0;
    state.counters["runs"] = played;
    state.counters["medianWinS"] = Median(winTimes);
    state.counters["tightestPx"] = winTimes.empty() ? 0 : tightest;
    state.counters["eased"] = eased;
    state.counters["failed"] = failed;
    state.counters["costMedianMs"] = Median(costs);
    state.counters["costWorstMs"] = costs.empty() ? 0 : *std::max_element(costs.begin(), costs.end());
}
BENCHMARK(BM_EndlessBoard)->DenseRange(1, Setting("KW_ENDLESS_BOARDS", 40))->Iterations(1)->Unit(benchmark::kSecond);

// Over every board generated above.
void BM_EndlessCostOfAllBoards(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(gAllCosts.size());
    state.counters["boards"] = static_cast<double>(gAllCosts.size());
    state.counters["costMedianMs"] = Median(gAllCosts);
    std::vector<double> sorted = gAllCosts;
    std::sort(sorted.begin(), sorted.end());
    state.counters["costP90Ms"] = sorted.empty() ? 0 : sorted[sorted.size() * 9 / 10];
    state.counters["costWorstMs"] = sorted.empty() ? 0 : sorted.back();
}
BENCHMARK(BM_EndlessCostOfAllBoards)->Iterations(1);

}  // namespace
