// SPDX-License-Identifier: GPL-3.0-or-later
// Frame times of real play through the runner's display path: the whole game runs headless on
// the virtual clock from start-up, with a player at the keys who starts a new game, wins a
// one-pair first level (its end, the level-complete display and the music change) and then plays
// a busy second level under drifting clouds until the time is up (a lost level too, if it comes
// to that). Each frame's CPU time is kept. Frames in which a level is set up (a new state, or the
// next level inside the level-complete display) are counted apart: loading belongs there.
// The endless run (Endless=SEED on the command line) plays three small boards for 15 s each and then
// a busy one, from a stand-in worker: there every frame counts, the boards' changes too, since a board
// comes in the middle of a run.
#include <benchmark/benchmark.h>
#include <time.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "Bot.h"
#include "base/Globals.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "play/cEndlessState.h"
#include "play/cPlayState.h"
#include "shell/modMain.h"
#include "ui/GameStates.h"

namespace {
namespace fs = std::filesystem;

constexpr int32_t kFrameMs = 16;
constexpr int32_t kPlayMs = 60 * 1000;

double ThreadCpuMs() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

double Percentile(std::vector<double> times, double share) {
    if (times.empty()) return 0;
    std::sort(times.begin(), times.end());
    return times[std::min(times.size() - 1, static_cast<size_t>(share * static_cast<double>(times.size())))];
}

constexpr int32_t kBoardMs = 15 * 1000;

// The endless run, its end of a board opened to the benchmark.
class BenchRun final : public cEndlessState {
public:
    using cEndlessState::AdvanceLevel;
    using cEndlessState::cEndlessState;
};

class Session {
public:
    // A copy of the built game folder whose override folder holds the two levels (or, endless,
    // whose worker hands out the four boards).
    explicit Session(bool endless) : m_Endless(endless) {
        m_Folder = fs::temp_directory_path() / "kw_bench_frames";
        fs::remove_all(m_Folder);
        fs::copy(KW_GAME_DIR, m_Folder, fs::copy_options::recursive);
        if (m_Endless) {
            const char* pictures[] = {"meadow", "sunset", "cave"};
            for (int board = 1; board <= 3; ++board)
                WriteLevel(m_Folder / ("board" + std::to_string(board) + ".dat"), 3000, 4, pictures[board - 1], true);
            WriteLevel(m_Folder / "board4.dat", 700, 12, "night", true);
            const fs::path worker = m_Folder / "kindlewisp-level";  // generate --seed S --board N --out FILE
            std::ofstream(worker) << "#!/bin/sh\nb=$5; [ $b -gt 4 ] && b=4\nexec cp \"$(dirname \"$0\")/board$b.dat\" "
                                     "\"$7\"\n";
            fs::permissions(worker, fs::perms::owner_all);
            return;
        }
        std::ofstream(m_Folder / "game" / "override" / "level1.dat", std::ios::binary)
            << "1000000\r\n1\r\nmeadow\r\nNO\r\n.......RR..........\r\n";
        WriteLevel(m_Folder / "game" / "override" / "level2.dat", 700, 12, "night", true);
    }
    ~Session() {
        std::error_code ec;
        fs::remove_all(m_Folder, ec);
    }

    bool HasGame() const { return fs::exists(m_Folder / "game" / "images" / "kwgfx.pak"); }

    void Run() {
        gProgramFolder = m_Folder;
        UseVirtualClock(0, 12 * 3600.0);
        GfxEngine::SetHeadless(true);
        RegisterGameStates();
        RegisterStateFactory(StateEndless,
                             [] { return std::make_unique<BenchRun>(cEndlessState::TakeRequestedSeed()); });
        SetFrameHook([this](LoopPoint point) { OnLoop(point); });
        Main(m_Endless ? "Endless=7" : "");
        SetFrameHook(nullptr);
        UseRealClock();
    }

    std::vector<double> m_Play;   // CPU milliseconds of each frame of play (and of the title)
    std::vector<double> m_SetUp;  // of each frame that set up a level
    int32_t m_WorstAt = 0;        // virtual time of the slowest frame of play

private:
    void OnLoop(LoopPoint point) {
        const double now = ThreadCpuMs();
        if (point == LoopPoint::AfterFrame) {
            const double spent = now - m_LastCpu;
            const bool setUp = gCurrentState.get() != m_State || (!m_Endless && gCurrentLevel != m_Level);
            if (!setUp && (m_Play.empty() || spent > *std::max_element(m_Play.begin(), m_Play.end())))
                m_WorstAt = m_Time;
            (setUp ? m_SetUp : m_Play).push_back(spent);
            m_Time += kFrameMs;
            AdvanceVirtualClock(kFrameMs);
            Steer();
        }
        m_State = gCurrentState.get();
        m_Level = Level();
        m_LastCpu = ThreadCpuMs();  // the hook's own work is not the frame's
    }

    // The level in play, or the endless run's board.
    int32_t Level() const {
        const auto* run = dynamic_cast<const cEndlessState*>(gCurrentState.get());
        return m_Endless ? (run ? run->BoardNumber() : 0) : gCurrentLevel;
    }

    void Steer() {
        if (!m_Endless) gEngine->InjectKey(GfxKey::Enter, m_Time == 20 * kFrameMs);  // New Game, one frame long
        const auto* play = dynamic_cast<const cPlayState*>(gCurrentState.get());
        if (play) SteerAndFire(*play);
        if (auto* run = dynamic_cast<BenchRun*>(gCurrentState.get())) SteerRun(*run);
        if (Level() == (m_Endless ? 4 : 2) && m_LevelTwoFrom == 0) m_LevelTwoFrom = m_Time;
        // A run ends with its first lost board: its game-over display is played for some seconds.
        const bool over = (m_OverFrom != 0 && m_Time - m_OverFrom >= 3000) || m_Time >= 5 * kPlayMs;
        if (((m_LevelTwoFrom != 0 && m_Time - m_LevelTwoFrom >= kPlayMs) || over) && !m_Closing) {
            gEngine->InjectWindow(GfxWindowAction::Close);
            m_Closing = true;
        }
    }

    // The player here cannot be trusted to clear a board: each of the first three ends as won
    // after kBoardMs of play, and the next one is asked for as a win asks for it.
    void SteerRun(BenchRun& run) {
        if (run.BoardNumber() != m_Level) m_BoardFrom = m_Time;
        if (run.BoardNumber() < 4 && !run.WaitingForBoard() && m_Time - m_BoardFrom >= kBoardMs) run.AdvanceLevel();
        if (run.GameOver() && m_OverFrom == 0) m_OverFrom = m_Time;
    }

    bool m_Endless;
    int32_t m_BoardFrom = 0;  // when the run's board in play came
    int32_t m_OverFrom = 0;   // when the run was lost
    fs::path m_Folder;
    const cBaseState* m_State = nullptr;
    int32_t m_Level = 0;
    double m_LastCpu = 0;
    int32_t m_Time = 0;
    int32_t m_LevelTwoFrom = 0;
    bool m_Closing = false;
};

void BM_FrameTimesOfPlay(benchmark::State& state) {
    Session session(state.range(0) != 0);
    if (!session.HasGame()) {
        state.SkipWithError("no built game folder (build kw_content first)");
        return;
    }
    for (auto _ : state) session.Run();
    const auto& play = session.m_Play;
    state.counters["frames"] = static_cast<double>(play.size());
    state.counters["p50_ms"] = Percentile(play, 0.50);
    state.counters["p99_ms"] = Percentile(play, 0.99);
    state.counters["worst_ms"] = Percentile(play, 1.0);
    state.counters["over_8ms"] =
        static_cast<double>(std::count_if(play.begin(), play.end(), [](double ms) { return ms > 8.0; }));
    state.counters["setups"] = static_cast<double>(session.m_SetUp.size());
    state.counters["setup_worst_ms"] = Percentile(session.m_SetUp, 1.0);
    state.SetLabel("slowest frame of play at " + std::to_string(session.m_WorstAt) + " ms");
}
// 0: a new game from the title; 1: an endless run.
BENCHMARK(BM_FrameTimesOfPlay)->Arg(0)->Arg(1)->Iterations(1)->Unit(benchmark::kMillisecond);
}  // namespace
