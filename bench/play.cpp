// SPDX-License-Identifier: GPL-3.0-or-later
// The play state's cost: one busy frame's update, the same frame's drawing (headless), and ten
// simulated minutes of play on the virtual clock with a simple bot at the controls.
#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "Bot.h"
#include "base/Globals.h"
#include "engine/cMouse.h"
#include "engine/cTextures.h"
#include "game/PlayGeometry.h"
#include "game/cBonus.h"
#include "game/cOrb.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "gfx/GfxTestSupport.h"
#include "play/cPlayState.h"
#include "play/cScores.h"
#include "shell/World.h"
#include "shell/cBaseState.h"

namespace {
namespace fs = std::filesystem;

constexpr int32_t kFrameMs = 16;

// The play state with its rule fields open to the benchmark's scene builder.
class BenchPlay final : public cPlayState {
public:
    // A full 19 x 20 board lowered so its top row clears the dragon, five shots and five falling
    // orbs in flight above it, five bonus items rising and five score popups.
    void BuildBusyScene() {
        m_LevelIntro = false;
        for (const auto& entry : m_Board.Entries()) {
            const auto& orb = entry.value;
            orb->SetPosition(orb->PixelX(), orb->PixelY() + 100);
        }
        for (int32_t i = 0; i < 5; ++i) {
            auto shot = MakeQueueOrb(OrbKind::Red + i);
            shot->Fire(i * 4);
            shot->SetPosition(PlayGeometry::Left + PlayGeometry::Cell * (i * 4), 30);
            m_Moving.Add(shot, shot->Key());
            auto faller = std::make_shared<cOrb>();
            faller->Create_Orb(i * 4 + 2, 20, "faller" + std::to_string(i), OrbKind::Green, 1, 1000);
            faller->SetPosition(PlayGeometry::Left + PlayGeometry::Cell * (i * 4 + 2), 40);
            faller->Fall();
            m_Moving.Add(faller, faller->Key());

            auto item = std::make_shared<GfxSprite>();
            item->SetTexture(gTextures->Texture("sprites.png"));
            ApplyBonusPicture(*item, BonusKind::Chest);
            item->SetData(1, BonusKind::Chest);
            item->SetData(2, 1000);
            item->SetData(3, static_cast<float>(GetTickCount()));
            item->SetData(4, static_cast<float>(i + 1));
            item->SetX(static_cast<float>(180 + 90 * i));
            item->SetY(300);
            m_BonusItems.Add(item, std::to_string(i + 1));

            auto popup = std::make_shared<cBonus>();
            popup->Create(60 + 20 * i, 200 + 60 * i, 250, "popup" + std::to_string(i));
            m_Popups.Add(popup, popup->ID());
        }
        m_BonusText = "+1000";
        m_BonusTextStart = GetTickCount();
        m_BonusTextX = 360;
        m_BonusTextY = 90;
    }
    bool Halted() const { return IsPlayHalted(); }

    // Keeps a deep copy of the scene so every measured frame starts from the same busy state.
    void SaveScene() {
        m_SavedBoard = Copy(m_Board);
        m_SavedMoving = Copy(m_Moving);
        m_SavedItems.clear();
        for (const auto& entry : m_BonusItems.Entries()) m_SavedItems.emplace_back(entry.key, *entry.value);
        m_SavedPopups.clear();
        for (const auto& entry : m_Popups.Entries()) m_SavedPopups.emplace_back(entry.key, *entry.value);
    }
    void RestoreScene() {
        m_Board = Copy(m_SavedBoard);
        m_Moving = Copy(m_SavedMoving);
        m_BonusItems.Clear();
        for (const auto& [key, item] : m_SavedItems) m_BonusItems.Add(std::make_shared<GfxSprite>(item), key);
        m_Popups.Clear();
        for (const auto& [key, popup] : m_SavedPopups) m_Popups.Add(std::make_shared<cBonus>(popup), key);
        m_GameOver = false;
        m_LevelComplete = false;
        m_LevelIntro = false;
    }

private:
    static Collection<OrbRef> Copy(const Collection<OrbRef>& from) {
        Collection<OrbRef> to;
        for (const auto& entry : from.Entries()) to.Add(std::make_shared<cOrb>(*entry.value), entry.key);
        return to;
    }
    Collection<OrbRef> m_SavedBoard;
    Collection<OrbRef> m_SavedMoving;
    std::vector<std::pair<std::string, GfxSprite>> m_SavedItems;
    std::vector<std::pair<std::string, cBonus>> m_SavedPopups;
};

// A headless game folder with generated pictures and sounds, and the shared services over it.
class Game {
public:
    Game() {
        m_Folder = fs::temp_directory_path() / "kw_bench_play";
        fs::remove_all(m_Folder);
        const fs::path images = m_Folder / "game" / "images";
        const fs::path sounds = m_Folder / "game" / "sounds";
        for (const auto& dir :
             {images, sounds, m_Folder / "game" / "levels", m_Folder / "game" / "override", m_Folder / "game" / "data"})
            fs::create_directories(dir);
        GfxTestSupport::WriteCheckerPng((images / "sprites.png").string(), 1024, 1024, 0xFFC03020, 0xFF20C060, 24);
        GfxTestSupport::WriteCheckerPng((images / "text.png").string(), 512, 512, 0xFFFFFFFF, 0x00000000, 8);
        GfxTestSupport::WriteSolidPng((images / "clouds.png").string(), 300, 300, 0x40FFFFFF);
        GfxTestSupport::WriteCheckerPng((images / "sky.png").string(), 510, 960, 0xFF2040A0, 0xFF3050B0, 32);
        for (const char* name : {"shoot", "fireball", "burn", "bonus", "penalty", "pause", "buttonclick"})
            GfxTestSupport::WriteWav((sounds / (std::string(name) + ".wav")).string(), 50);
        for (const char* name : {"puzzle1", "puzzle2", "puzzle3", "puzzlel", "puzzlew"})
            GfxTestSupport::WriteWav((sounds / (std::string(name) + ".mp3")).string(), 2000);
        std::ofstream scores(m_Folder / "game" / "data" / "scores.dat");
        scores << "KWSCORES 1\n";
        for (int i = 10; i >= 1; --i) scores << i * 500 << " KWP\n";
        scores.close();

        m_World.emplace(HeadlessWorld::Options{.folder = m_Folder});
        // Restart makes a fresh state through the factory; it must be the bench's own kind.
        RegisterStateFactory(StatePlay, [] { return std::make_unique<BenchPlay>(); });
    }
    ~Game() {
        m_World.reset();
        std::error_code ec;
        fs::remove_all(m_Folder, ec);
    }
    const fs::path& Folder() const { return m_Folder; }

private:
    fs::path m_Folder;
    std::optional<HeadlessWorld> m_World;
};

fs::path LevelFile(const fs::path& folder, int32_t level) {
    return folder / "game" / "levels" / ("level" + std::to_string(level) + ".dat");
}

std::unique_ptr<BenchPlay> BusyState(const Game& game) {
    WriteLevel(LevelFile(game.Folder(), 1), 10, PlayGeometry::Rows, "sky", true);
    gCurrentLevel = 1;
    auto play = std::make_unique<BenchPlay>();
    play->BuildBusyScene();
    play->SaveScene();
    return play;
}

void BM_PlayUpdateBusyFrame(benchmark::State& state) {
    Game game;
    auto play = BusyState(game);
    int64_t halted = 0;
    for (auto _ : state) {
        state.PauseTiming();
        play->RestoreScene();
        AdvanceVirtualClock(kFrameMs);
        state.ResumeTiming();
        play->ProcessState();
        state.PauseTiming();
        halted += play->Halted() ? 1 : 0;
        state.ResumeTiming();
    }
    state.counters["orbs"] = play->Board().Count() + play->Moving().Count();
    state.counters["haltedFrames"] = static_cast<double>(halted);
}
BENCHMARK(BM_PlayUpdateBusyFrame)->Unit(benchmark::kMicrosecond);

void BM_PlayDrawBusyFrame(benchmark::State& state) {
    Game game;
    auto play = BusyState(game);
    for (auto _ : state) {
        state.PauseTiming();
        play->RestoreScene();
        AdvanceVirtualClock(kFrameMs);
        play->ProcessState();
        gEngine->GetDevice().BeginFrame();
        state.ResumeTiming();
        play->DrawState();
        state.PauseTiming();
        gEngine->GetDevice().EndFrame();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_PlayDrawBusyFrame)->Unit(benchmark::kMicrosecond);

// Ten minutes of 16 ms frames with the bot at the keys: it steers to its column and fires there;
// a lost game is restarted with the Restart button. Input and update run every frame; the
// intro, level-complete and game-over displays advance only when drawn, so those frames are
// drawn too (all of them when `draw`).
enum class Drawing { DisplaysUntimed, Displays, EveryFrame };

void RunTenMinutes(Drawing drawing, benchmark::State& state) {
    const bool draw = drawing == Drawing::EveryFrame;
    Game game;
    for (int32_t level = 1; level <= 40; ++level)
        WriteLevel(LevelFile(game.Folder(), level), 150 + 10 * level, 6, "sky", level % 3 == 0);
    constexpr int32_t kFrames = 10 * 60 * 1000 / kFrameMs;
    int64_t restarts = 0, drawn = 0;
    for (auto _ : state) {
        state.PauseTiming();
        gCurrentLevel = 1;
        gCurrentState = std::make_unique<BenchPlay>();
        state.ResumeTiming();
        for (int32_t frame = 0; frame < kFrames; ++frame) {
            const auto& play = static_cast<const BenchPlay&>(*gCurrentState);
            SteerAndFire(play);
            if (play.GameOver()) {
                // Press and release Restart a frame apart, as a player's click.
                gMouse->X = 60;
                gMouse->Y = 340;
                if (gMouse->IsButtonPressed(1)) {
                    gMouse->Button_Up(1);
                    ++restarts;
                } else {
                    gMouse->Button_Down(1);
                }
            }
            gEngine->PumpEvents();
            gCurrentState->HandleInput();
            ReleaseRetiredState();
            gCurrentState->ProcessState();
            if (draw || static_cast<const BenchPlay&>(*gCurrentState).Halted()) {
                if (drawing == Drawing::DisplaysUntimed) state.PauseTiming();
                gEngine->GetDevice().BeginFrame();
                gCurrentState->DrawState();
                gEngine->GetDevice().EndFrame();
                ++drawn;
                if (drawing == Drawing::DisplaysUntimed) state.ResumeTiming();
            }
            AdvanceVirtualClock(kFrameMs);
        }
        state.PauseTiming();
        for (int32_t key : {GfxKey::Right, GfxKey::Left, GfxKey::Space}) gEngine->InjectKey(key, false);
        gEngine->PumpEvents();
        gCurrentState.reset();
        state.ResumeTiming();
    }
    state.counters["restarts"] = static_cast<double>(restarts) / static_cast<double>(state.iterations());
    state.counters["drawnFrames"] = static_cast<double>(drawn) / static_cast<double>(state.iterations());
    state.counters["levelReached"] = gCurrentLevel;
}

// The simulation: input and update of every frame (the display frames' drawing is not timed).
void BM_TenMinutesOfPlay(benchmark::State& state) { RunTenMinutes(Drawing::DisplaysUntimed, state); }
BENCHMARK(BM_TenMinutesOfPlay)->Unit(benchmark::kMillisecond)->Iterations(3);

// The same with the display frames' headless drawing timed as well.
void BM_TenMinutesOfPlayWithDisplays(benchmark::State& state) { RunTenMinutes(Drawing::Displays, state); }
BENCHMARK(BM_TenMinutesOfPlayWithDisplays)->Unit(benchmark::kMillisecond)->Iterations(1);

// Every frame drawn headless by the software renderer: what a recorded replay costs.
void BM_TenMinutesOfPlayDrawingEveryFrame(benchmark::State& state) { RunTenMinutes(Drawing::EveryFrame, state); }
BENCHMARK(BM_TenMinutesOfPlayDrawingEveryFrame)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
