// SPDX-License-Identifier: GPL-3.0-or-later
// What a frame of HUD text costs: steady text from the line cache, against text that changes
// every frame and must be laid out and rasterised again. Headless, on the software renderer.
#include <benchmark/benchmark.h>

#include <string>

#include "gfx/Clock.h"
#include "gfx/Gfx.h"

namespace {
struct Headless {
    Headless() {
        UseVirtualClock(0, 12 * 3600.0);
        GfxEngine::SetHeadless(true);
        ok = engine.Startup() && engine.InitializeDisplay();
    }
    GfxEngine engine;
    bool ok = false;
};

void DrawHud(GfxEngine& engine, const std::string& score) {
    GfxText& text = engine.GetText();
    text.DrawText(20, 20, 200, 40, score, 0, -1, "Arial", 12, true, 0, 1, 1, GfxUtility::MakeColor(255, 0, 0, 0));
    text.DrawText(20, 60, 200, 40, "Level 3\r\nNext orb", 0, -1, "Arial", 10, false, 0, 0, 0, 0);
}

void BM_SteadyText(benchmark::State& state) {
    Headless h;
    if (!h.ok) state.SkipWithError("no display");
    for (auto _ : state) DrawHud(h.engine, "Score: 12345");
    state.counters["rasterised"] = static_cast<double>(h.engine.GetText().GetRasterisedLineCount());
}
BENCHMARK(BM_SteadyText);

void BM_ChangingText(benchmark::State& state) {
    Headless h;
    if (!h.ok) state.SkipWithError("no display");
    int32_t score = 0;
    for (auto _ : state) DrawHud(h.engine, "Score: " + std::to_string(++score));
}
BENCHMARK(BM_ChangingText);
}  // namespace
