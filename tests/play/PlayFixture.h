// SPDX-License-Identifier: GPL-3.0-or-later
// The one test bed of the play state: a headless game folder with small generated pictures, sounds,
// levels and a score table, the shared services, the error log, and frames on the virtual clock.
// PlayFixture runs whole frames of a state started as the game starts it; Rules opens a
// play state built without a screen, so a rule test sets up only the board it needs.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "base/Globals.h"
#include "game/cBonus.h"
#include "game/cOrb.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "play/cPlayState.h"
#include "play/cScores.h"
#include "support/World.h"

namespace playtest {

// Opaque colours of the generated pictures, as the frame reads them back (ARGB).
constexpr uint32_t kSpritesColour = 0xFFC03020;
constexpr uint32_t kSkyColour = 0xFF2040A0;

// The play state with its rule fields and procedures open to the tests: built as the game builds
// it, or without a screen (NoSetUp) so a rule test sets up only the board it needs.
class PlayProbe : public cPlayState {
public:
    using cPlayState::NoSetUp;
    PlayProbe() = default;
    explicit PlayProbe(NoSetUp none) : cPlayState(none) {}

    using cPlayState::AdvanceLevel;
    using cPlayState::CreateLevel;
    using cPlayState::FireOrb;
    using cPlayState::m_Board;
    using cPlayState::m_BonusItems;
    using cPlayState::m_CompleteAlpha;
    using cPlayState::m_CompleteBonus;
    using cPlayState::m_CompleteTime;
    using cPlayState::m_DragonColumn;
    using cPlayState::m_FloorY;
    using cPlayState::m_GameOver;
    using cPlayState::m_GameOverAlpha;
    using cPlayState::m_GameOverTime;
    using cPlayState::m_InitialsCursor;
    using cPlayState::m_LevelComplete;
    using cPlayState::m_LevelIntro;
    using cPlayState::m_Moving;
    using cPlayState::m_RiseInterval;
    using cPlayState::m_Scores;
    using cPlayState::MakeQueueOrb;
    using cPlayState::ReleaseBonus;
    using cPlayState::StartDragonMove;

    // What set-up gives a fresh play state, minus the screen: the dragon over column 9, the
    // scores, the queue and an empty board that stands still unless a test lets it rise.
    void SetUpRules();
    OrbRef Place(int32_t orbType, int32_t column, int32_t row, int32_t bonusKind = BonusKind::Chest);
    OrbRef At(int32_t column, int32_t row) const;
    // Puts the dragon over a column and fires an orb of the given type from it.
    void Shoot(int32_t orbType, int32_t column);
    int32_t Score() const;
};

class PlayFixture : public kwtest::HeadlessGame {
protected:
    void SetUp() override;

    // Writes levelN.dat into the standard level folder on the sky picture.
    void WriteLevel(int32_t level, const std::vector<std::string>& rows, int32_t riseInterval = 1000000) const {
        m_Folder.WriteLevel("levels", level, kwtest::LevelText(riseInterval, "sky", rows));
    }
    // Starts a play state on gCurrentLevel as the current state.
    PlayProbe& Start();
    // The state the frame loop would run now (a button may have replaced the probe).
    cBaseState* Current() const { return gCurrentState.get(); }
    // Events first, so a key held before the frame is seen in it; then the loop's pass.
    static void Frame(uint32_t ms = 16) {
        gEngine->PumpEvents();
        HeadlessGame::Frame(ms);
    }
    static void Frames(int count, uint32_t ms = 16) {
        for (int i = 0; i < count; ++i) Frame(ms);
    }
    std::string ErrorLog() const { return m_Folder.ReadText("game/errors.log"); }
    void Hold(int32_t key) { gEngine->InjectKey(key, true); }
    void Release(int32_t key) { gEngine->InjectKey(key, false); }
    // Down in this frame, up in the next, as a quick tap arrives.
    void Tap(int32_t key) {
        Hold(key);
        Frame();
        Release(key);
    }
    // Leaves the level intro and plays on.
    static void SkipIntro() { Frames(2100 / 16 + 2); }
    static uint32_t Pixel(int32_t x, int32_t y) { return gEngine->ReadPixel(x, y) | 0xFF000000U; }

    PlayProbe* m_Probe = nullptr;
};

class Rules : public PlayFixture {
protected:
    void SetUp() override;
    void TearDown() override {
        m_Play.reset();
        PlayFixture::TearDown();
    }
    // Frames of the rules alone until the given virtual time has passed.
    void Play(int32_t milliseconds, int32_t frameMs = 16);

    std::unique_ptr<PlayProbe> m_Play;
};

}  // namespace playtest
