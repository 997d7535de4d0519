// Plays the real program in-process for the tutorial tests: a copy of the built game folder, the
// virtual clock, and a list of steps that look at the current state after each frame and give
// input the way a player does (keys, joystick, mouse through the library's injected events).
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "base/Globals.h"
#include "engine/cSprites.h"
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

class Bot {
public:
    // A step runs after every frame until it answers true; the next step starts after the next frame.
    using Step = std::function<bool()>;
    static constexpr int32_t kFrameMs = 16;

    Bot() {
        m_Folder.UseArchives();
        m_Folder.CopyShippedData();
    }

    const kwtest::GameFolder& Folder() const { return m_Folder; }
    std::filesystem::path LevelFile() const { return m_Folder.Path("game/levels/tutorial.dat"); }
    int32_t Frames() const { return m_Frames; }
    int32_t Elapsed() const { return m_Frames * kFrameMs; }

    // Replaces the unpacked tutorial level before the tutorial starts; nullopt keeps the shipped one.
    void UseLevel(std::optional<std::string> text) { m_Level = std::move(text); }
    void RemoveLevelBeforeStart() { m_RemoveLevel = true; }
    // gCurrentLevel as the title screen leaves it when the tutorial is chosen.
    void StartAtLevel(int32_t level) { m_StartLevel = level; }

    void Do(std::string what, Step step) { m_Steps.push_back({std::move(what), std::move(step)}); }
    void WaitUntil(std::string what, std::function<bool()> condition) { Do(std::move(what), std::move(condition)); }
    void Act(std::string what, std::function<void()> action) {
        Do(std::move(what), [action = std::move(action)] {
            action();
            return true;
        });
    }
    void WaitFrames(int32_t frames) {
        auto left = std::make_shared<int32_t>(frames);
        Do("wait " + std::to_string(frames) + " frames", [left] { return --*left <= 0; });
    }
    void Tap(int32_t key) {
        Act("tap key " + std::to_string(key), [key] {
            gEngine->InjectKey(key, true);
            gEngine->InjectKey(key, false);
        });
    }
    void PressEnter() { Tap(GfxKey::Enter); }
    // Steers with the arrow keys until the dragon rests over the column.
    void MoveTo(int32_t column) {
        Do("move to column " + std::to_string(column), [column] {
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
        WaitUntil("dragon ready to fire", [] {
            const cPlayState* play = dynamic_cast<cPlayState*>(gCurrentState.get());
            return play && !play->DragonFiring() && !play->DragonMoving();
        });
        Act("space down", [] { gEngine->InjectKey(GfxKey::Space, true); });
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
        m_Frames = 0;
        SetFrameHook([&, this](LoopPoint point) {
            if (point == LoopPoint::BeforeFirstFrame) {
                if (m_Level) kwtest::WriteFile(LevelFile(), *m_Level);
                if (m_RemoveLevel) std::filesystem::remove(LevelFile());
                if (m_StartLevel) gCurrentLevel = *m_StartLevel;
                SetState(StateTutorial);
                return;
            }
            AdvanceVirtualClock(kFrameMs);
            ++m_Frames;
            if (next < m_Steps.size() && m_Steps[next].run()) ++next;
            if (next == m_Steps.size()) {
                gEngine->InjectWindow(GfxWindowAction::Close);
            } else if (m_Frames >= maxFrames) {
                ADD_FAILURE() << "still waiting after " << m_Frames << " frames for: " << m_Steps[next].what;
                next = m_Steps.size();
                gEngine->InjectWindow(GfxWindowAction::Close);
            }
        });
        const int exitCode = Main("");
        SetFrameHook({});
        UseRealClock();
        return exitCode;
    }

    std::string ReadLog() const { return m_Folder.ReadText("game/errors.log"); }

private:
    struct Entry {
        std::string what;
        Step run;
    };
    kwtest::GameFolder m_Folder;
    std::optional<std::string> m_Level;
    std::optional<int32_t> m_StartLevel;
    bool m_RemoveLevel = false;
    std::vector<Entry> m_Steps;
    int32_t m_Frames = 0;
};

// Enter through the first three boxes; the blue lesson shot is next.
inline void ReachBlueLesson(Bot& bot) {
    bot.WaitUntil("tutorial", [] { return Tutorial() != nullptr; });
    for (int step = 0; step < 3; ++step) {
        bot.WaitUntil("box shows", [] { return Tutorial()->ShowLesson(); });
        bot.PressEnter();
    }
    bot.WaitUntil("step 3 without a box", [] { return Tutorial()->LessonStep() == 3 && !Tutorial()->ShowLesson(); });
}

}  // namespace tutorial_test
