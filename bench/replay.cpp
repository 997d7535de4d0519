// SPDX-License-Identifier: GPL-3.0-or-later
// What recording costs: one frame's share of the recorder at the event pump and the clock, and
// the size of a ten-minute game's recording, with the frame lengths the real clock would take
// from a 60 Hz display with a millisecond of jitter and a stall every minute, and a keyboard
// player pressing about four keys a second.
#include <benchmark/benchmark.h>

#include <cstdint>
#include <string>

#include "gfx/Clock.h"
#include "gfx/ScriptRecorder.h"

namespace {

// Ten minutes of frames through the real clock's stepping, with the player's keys; answers the
// recording's text.
std::string TenMinutes() {
    ScriptRecorder recorder(0, 12 * 3600.0 + 0.25, DefaultVirtualDay, "");
    uint64_t seed = 12345;
    const auto next = [&seed](uint32_t range) {
        seed = seed * 6364136223846793005ULL + 1442695040888963407ULL;
        return static_cast<uint32_t>(seed >> 33) % range;
    };
    FrameStepper stepper;
    int64_t game = 0, lastReal = 0;
    int32_t frame = 0;
    bool held = false;
    for (int64_t present = 0; present < 10 * 60 * 1000 * 1000; ++frame) {
        present += frame % 3600 == 1800 ? 250000 : 16667;  // microseconds: the display's pace, a stall
        const int64_t real = present / 1000 + next(2);
        game += stepper.Next(real - (game + stepper.stepMs), real - lastReal);
        lastReal = real;
        recorder.Frame(static_cast<int32_t>(game));
        // About four key changes a second: arrows held and let go, shots tapped.
        if (next(15) == 0) {
            const int32_t key = next(3) == 0 ? 57 : (next(2) == 0 ? 203 : 205);
            held = !held;
            recorder.Key(key, held);
        }
        if (next(600) == 0) recorder.MouseMove(static_cast<float>(next(640)), static_cast<float>(next(480)));
        recorder.JoyAxes(0, 0);
        recorder.PumpDone();
    }
    return recorder.Text();
}

void BM_RecordTenMinutes(benchmark::State& state) {
    std::string text;
    for (auto _ : state) {
        text = TenMinutes();
        benchmark::DoNotOptimize(text);
    }
    const double frames = 10 * 60 * 60.0;
    state.counters["bytes"] = static_cast<double>(text.size());
    state.counters["s_per_frame"] =
        benchmark::Counter(frames, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_RecordTenMinutes)->Unit(benchmark::kMillisecond);

}  // namespace
