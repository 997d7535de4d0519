// Plays the real program in-process for the tutorial tests: a copy of the built game folder, the
// virtual clock, and a list of steps that look at the current state after each frame and give
// input the way a player does (keys and mouse through the library's injected events).
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/Globals.h"
#include "game/cOrb.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "play/cPlayState.h"
#include "play/cScores.h"
#include "shell/cBaseState.h"
#include "shell/modMain.h"
#include "support/GameFolder.h"
#include "ui/GameStates.h"
#include "ui/cTutorialState.h"

namespace tutorial_test {

inline cTutorialState* Tutorial() { return dynamic_cast<cTutorialState*>(gCurrentState.get()); }
// The play state proper, not the tutorial.
inline cPlayState* Play() {
    auto* play = dynamic_cast<cPlayState*>(gCurrentState.get());
    return play && !Tutorial() ? play : nullptr;
}

// A tutorial level on the tutorial's own background: rise interval and rows, no clouds line.
inline std::string Level(int32_t rise, const std::vector<std::string>& rows) {
    return kwtest::LevelText(rise, "tutorial", rows, false);
}

inline void TapKey(int32_t key) {
    gEngine->InjectKey(key, true);
    gEngine->InjectKey(key, false);
}

class Bot {
public:
    static constexpr int32_t kFrameMs = 16;

    Bot() {
        // Levels for the hand-over to play when the build made no archives.
        std::vector<std::pair<std::string, std::string>> levels;
        for (int level = 1; level <= 5; ++level)
            levels.emplace_back("level" + std::to_string(level) + ".dat", kwtest::LevelText(1000, "meadow", {"RRGG"}));
        m_Folder.UseArchives(levels);
        m_Folder.CopyShippedData();
    }

    const kwtest::GameFolder& Folder() const { return m_Folder; }
    int32_t Frames() const { return m_Frames; }
    int32_t Elapsed() const { return m_Frames * kFrameMs; }
    // Replaces the unpacked tutorial level before the tutorial starts.
    void UseLevel(std::string text) { m_Level = std::move(text); }
    // gCurrentLevel as the title screen leaves it when the tutorial is chosen.
    void StartAtLevel(int32_t level) { m_StartLevel = level; }

    // A step runs after every frame until it answers true; the next step starts after the next frame.
    void WaitUntil(std::string what, std::function<bool()> step) {
        m_Steps.push_back({std::move(what), std::move(step)});
    }
    void Act(std::string what, std::function<void()> action) {
        WaitUntil(std::move(what), [action = std::move(action)] {
            action();
            return true;
        });
    }
    void WaitFrames(int32_t frames) {
        WaitUntil("wait " + std::to_string(frames) + " frames", [left = frames]() mutable { return --left <= 0; });
    }
    void PressEnter() {
        Act("press enter", [] { TapKey(GfxKey::Enter); });
    }
    // Steers with the arrow keys until the dragon rests over the column.
    void MoveTo(int32_t column) {
        WaitUntil("move to column " + std::to_string(column), [column] {
            const cPlayState* play = dynamic_cast<cPlayState*>(gCurrentState.get());
            if (!play) return false;
            const bool there = play->DragonColumn() == column && !play->DragonMoving();
            gEngine->InjectKey(GfxKey::Right, !there && play->DragonColumn() < column);
            gEngine->InjectKey(GfxKey::Left, !there && play->DragonColumn() > column);
            return there;
        });
    }
    // Holds Space for one frame once the dragon can fire.
    void Fire() {
        WaitUntil("space down once the dragon can fire", [] {
            const cPlayState* play = dynamic_cast<cPlayState*>(gCurrentState.get());
            if (!play || play->DragonFiring() || play->DragonMoving()) return false;
            gEngine->InjectKey(GfxKey::Space, true);
            return true;
        });
        Act("space up", [] { gEngine->InjectKey(GfxKey::Space, false); });
    }

    // Runs the program until every step is done (then closes the window) or maxFrames pass.
    // Answers Main's exit code; a timeout is a test failure naming the step that waited.
    int Run(int32_t maxFrames) {
        gProgramFolder = m_Folder.Root();
        RegisterGameStates();
        GfxEngine::SetHeadless(true);
        UseVirtualClock(1000, 12 * 3600.0);
        size_t next = 0;
        SetFrameHook([&, this](LoopPoint point) {
            if (point == LoopPoint::BeforeFirstFrame) {
                if (m_Level) kwtest::WriteFile(m_Folder.Path("game/levels/tutorial.dat"), *m_Level);
                if (m_StartLevel) gCurrentLevel = *m_StartLevel;
                SetState(StateTutorial);
                return;
            }
            AdvanceVirtualClock(kFrameMs);
            ++m_Frames;
            if (next < m_Steps.size() && m_Steps[next].run()) ++next;
            if (next < m_Steps.size() && m_Frames >= maxFrames) {
                ADD_FAILURE() << "still waiting after " << m_Frames << " frames for: " << m_Steps[next].what;
                next = m_Steps.size();
            }
            if (next == m_Steps.size()) gEngine->InjectWindow(GfxWindowAction::Close);
        });
        const int exitCode = Main("");
        SetFrameHook({});
        UseRealClock();
        return exitCode;
    }

private:
    struct Entry {
        std::string what;
        std::function<bool()> run;
    };
    kwtest::GameFolder m_Folder;
    std::optional<std::string> m_Level;
    std::optional<int32_t> m_StartLevel;
    std::vector<Entry> m_Steps;
    int32_t m_Frames = 0;
};

// Enter through the first three boxes (boxes 1 and 2 come up by themselves); the blue lesson is next.
inline void ReachBlueLesson(Bot& bot) {
    for (int step = 0; step < 3; ++step) {
        bot.WaitUntil("box shows", [] { return Tutorial() && Tutorial()->ShowLesson(); });
        bot.PressEnter();
    }
    bot.WaitUntil("step 3 without a box", [] { return Tutorial()->LessonStep() == 3 && !Tutorial()->ShowLesson(); });
}

}  // namespace tutorial_test
