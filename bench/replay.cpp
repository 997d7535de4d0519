// SPDX-License-Identifier: GPL-3.0-or-later
// What recording and replaying cost. Recording: one frame's share of the recorder at the event pump
// and the clock, and the size of a ten-minute game's recording, with the frame lengths the real
// clock would take from a 60 Hz display with a millisecond of jitter and a stall every minute, and
// a keyboard player pressing about four keys a second. Replaying: a recording of 10k, 100k and 1M
// events (a pointer that moves every frame, a key tapped every other frame) checked whole, then
// read a frame ahead and played into the engine's event pump as a watched replay plays it; the time
// and the heap at its peak beside the file's size should both grow with the events, not faster.
#include <benchmark/benchmark.h>
#include <malloc.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>

#include "base/Globals.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "gfx/Script.h"
#include "gfx/ScriptRecorder.h"
#include "shell/ScriptPlayer.h"

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
        recorder.Frame(static_cast<uint64_t>(game));
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

// A recording of `events` inputs, as the recorder writes them.
std::string Recording(int64_t events) {
    std::string text = "clock 12:00:00.000\nstart highestLevel 3\n";
    for (int64_t i = 0, frame = 0; i < events; ++frame) {
        const std::string at = "at " + std::to_string(frame * 16) + " ";
        text += at + "mouse move " + std::to_string(frame % 640) + " " + std::to_string(frame % 480) + "\n";
        if (++i < events && frame % 2 == 0) {
            text += at + "key space tap\n";
            ++i;
        }
    }
    return text;
}

size_t HeapInUse() {
    const struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

void BM_ReplayEvents(benchmark::State& state) {
    GfxEngine::SetHeadless(true);
    UseVirtualClock(0, 12 * 3600.0);
    gEngine = std::make_unique<GfxEngine>();
    gEngine->UseStandIns();
    if (!gEngine->Startup()) state.SkipWithError("no event pump");
    const std::string text = Recording(state.range(0));
    size_t peak = 0;
    int64_t frames = 0;
    for (auto _ : state) {
        const size_t before = HeapInUse();
        std::istringstream bytes(text);
        CheckScript(bytes, MaxScriptBytes);
        ScriptReader reader(bytes, MaxScriptBytes);
        ScriptPlayer player(reader.ReadSettings().frameMs);
        bool done = false;
        for (frames = 0; !done || !player.Queue().empty(); ++frames) {
            while (!done && player.WantsMore()) done = !player.ReadOne(reader);
            player.DeliverDue();
            gEngine->PumpEvents();
            if (frames % 64 == 0) peak = std::max(peak, HeapInUse() - before);
            player.PassDone(LoopPoint::AfterFrame);
            player.Advance();
        }
    }
    state.counters["events"] = static_cast<double>(state.range(0));
    state.counters["frames"] = static_cast<double>(frames);
    state.counters["file_MB"] = static_cast<double>(text.size()) / (1 << 20);
    state.counters["peak_heap_MB"] = static_cast<double>(peak) / (1 << 20);
    state.counters["us_per_event"] =
        benchmark::Counter(static_cast<double>(state.range(0)) / 1e6,
                           benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
    gEngine.reset();
}
BENCHMARK(BM_ReplayEvents)->Arg(10000)->Arg(100000)->Arg(1000000)->Unit(benchmark::kMillisecond);

}  // namespace
