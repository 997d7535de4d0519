// SPDX-License-Identifier: GPL-3.0-or-later
// The tutorial played in the real program by a bot: a copy of the built game folder, the virtual
// clock, and a list of steps that look at the state after each frame and give input as a player
// does. On small boards of our own: the boxes that freeze the game, the lock between a hit and its
// trigger, a miss among falling orbs, the buttons, the hand-over to play and a bad level file; on
// the shipped level every lesson through to free play.
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

namespace {

cTutorialState* Tutorial() { return dynamic_cast<cTutorialState*>(gCurrentState.get()); }
// The play state proper, not the tutorial.
cPlayState* Play() {
    auto* play = dynamic_cast<cPlayState*>(gCurrentState.get());
    return play && !Tutorial() ? play : nullptr;
}

// A tutorial level on the tutorial's own background: rise interval and rows, no clouds line.
std::string Level(int32_t rise, const std::vector<std::string>& rows) {
    return kwtest::LevelText(rise, "tutorial", rows, false);
}

void TapKey(int32_t key) {
    gEngine->InjectKey(key, true);
    gEngine->InjectKey(key, false);
}

class Bot {
public:
    static constexpr int32_t kFrameMs = 16;

    Bot() {
        m_Folder.UseArchives();
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
    // Answers Main's exit code; a timeout or an early end is a failure naming the step that waited.
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
        if (next < m_Steps.size()) ADD_FAILURE() << "the program ended while waiting for: " << m_Steps[next].what;
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
void ReachBlueLesson(Bot& bot) {
    for (int step = 0; step < 3; ++step) {
        bot.WaitUntil("box shows", [] { return Tutorial() && Tutorial()->ShowLesson(); });
        bot.PressEnter();
    }
    bot.WaitUntil("step 3 without a box", [] { return Tutorial()->LessonStep() == 3 && !Tutorial()->ShowLesson(); });
}

// Blue group on the left, reds on the right that keep the board from being cleared.
const std::string kBlueLesson = Level(1000, {"BBBBB............RR"});

int32_t FiredOrbsInFlight() {
    int32_t n = 0;
    for (const auto& entry : Tutorial()->Moving().Entries()) n += entry.value->IsFired() ? 1 : 0;
    return n;
}

std::vector<int32_t> BoardHeights() {
    std::vector<int32_t> heights;
    for (const auto& entry : Tutorial()->Board().Entries()) heights.push_back(entry.value->PixelY());
    return heights;
}

TEST(TutorialState, BetweenAHitAndItsTriggerTheDragonMovesButCannotFireAndWhileABoxShowsOnlyEnterIsRead) {
    Bot bot;
    bot.UseLevel(kBlueLesson);
    ReachBlueLesson(bot);
    bot.MoveTo(2);
    bot.Fire();
    bot.WaitUntil("the hit is judged", [] { return Tutorial()->TargetHit()[0]; });
    bot.MoveTo(4);
    int32_t fired = 0;
    bot.Act("hold space", [&] {
        fired = FiredOrbsInFlight();
        gEngine->InjectKey(GfxKey::Space, true);
    });
    bot.WaitFrames(3);
    bot.Act("no new shot", [&] {
        gEngine->InjectKey(GfxKey::Space, false);
        EXPECT_LE(FiredOrbsInFlight(), fired);
        EXPECT_EQ(Tutorial()->DragonColumn(), 4);
    });
    // The first burnt orb taken off the board brings box 4 and unlocks shooting.
    bot.WaitUntil("box 4", [] { return Tutorial()->ShowLesson(); });
    std::vector<int32_t> heights;
    bot.Act("hold right and space, press escape", [&] {
        EXPECT_EQ(Tutorial()->LessonStep(), 4);
        EXPECT_TRUE(Tutorial()->CanShoot());
        EXPECT_GT(Tutorial()->Scores()->CurrentScore(), 0);
        heights = BoardHeights();
        fired = FiredOrbsInFlight();
        gEngine->InjectKey(GfxKey::Right, true);
        gEngine->InjectKey(GfxKey::Space, true);
        TapKey(GfxKey::Escape);
    });
    bot.WaitFrames(150);
    bot.Act("the box froze the board and ignored the keys", [&] {
        EXPECT_EQ(BoardHeights(), heights);
        EXPECT_TRUE(gRunning);
        EXPECT_EQ(Tutorial()->DragonColumn(), 4);
        EXPECT_EQ(FiredOrbsInFlight(), fired);
        EXPECT_TRUE(Tutorial()->ShowLesson());
    });
    EXPECT_EQ(bot.Run(1500), 0);
}

// Orbs set falling by the blue burn are older in the moving list than the red shot; a miss takes
// back the shot itself, never one of them.
TEST(TutorialState, AMissTakesBackTheShotNotAnOrbStillFalling) {
    Bot bot;
    bot.UseLevel(Level(1000, {"....G", "BBBBB............RR"}));
    ReachBlueLesson(bot);
    bot.MoveTo(2);
    bot.Fire();
    bot.WaitUntil("the blue hit", [] { return Tutorial()->TargetHit()[0]; });
    bot.MoveTo(10);
    bot.WaitUntil("box 4", [] { return Tutorial()->ShowLesson(); });
    bot.PressEnter();
    bot.WaitUntil("box 5", [] { return Tutorial()->ShowLesson() && Tutorial()->LessonStep() == 5; });
    bot.PressEnter();  // step 6: the board moves again and the green orb starts to fall
    bot.Act("fire red into an empty column at once", [] {
        EXPECT_TRUE(Tutorial()->Moving().Exists("orbX4Y1")) << "the green orb should be falling now";
        gEngine->InjectKey(GfxKey::Space, true);
    });
    bot.Act("judged a miss", [] {
        gEngine->InjectKey(GfxKey::Space, false);
        const cTutorialState& t = *Tutorial();
        EXPECT_EQ(t.LessonStep(), 6);
        EXPECT_TRUE(t.ShowLesson());
        EXPECT_EQ(FiredOrbsInFlight(), 0);
        EXPECT_EQ(t.CurrentOrb()->OrbType(), OrbKind::Red) << "the lesson's orb is handed over again";
    });
    bot.PressEnter();
    bot.WaitFrames(30);
    bot.Act("the green orb landed and nothing else did", [] {
        const cTutorialState& t = *Tutorial();
        ASSERT_TRUE(t.Board().Exists("orbX4Y0")) << "the green orb vanished";
        EXPECT_EQ(t.Board().Item("orbX4Y0")->OrbType(), OrbKind::Green);
        EXPECT_FALSE(t.Board().Exists("orbX10Y0"));
        EXPECT_EQ(t.Scores()->CurrentScore(), 42) << "the six blues only";
    });
    EXPECT_EQ(bot.Run(1500), 0);
}

TEST(TutorialState, AClearedBoardFadesInLevelCompleteThenPlaysOnAtTheLevelReached) {
    Bot bot;
    bot.UseLevel(Level(1000, {"BB................."}));  // a blue shot from column 1 clears it
    bot.StartAtLevel(3);
    ReachBlueLesson(bot);
    bot.MoveTo(1);
    bot.Fire();
    bot.WaitUntil("board cleared", [] { return Tutorial() && Tutorial()->LevelComplete(); });
    int32_t clearedAt = 0, step = 0;
    bot.Act("note when", [&] {
        clearedAt = bot.Elapsed();
        step = Tutorial()->LessonStep();
    });
    // Enter is pressed all along: once the board is cleared it never moves the script on.
    bot.WaitUntil("the play state takes over", [&] {
        if (Play()) return true;
        EXPECT_EQ(Tutorial()->LessonStep(), step) << "Enter moved the script on after the board was cleared";
        gEngine->InjectKey(GfxKey::Enter, (bot.Frames() % 2) == 0);
        return false;
    });
    bot.Act("level 3, after the fade and a second", [&] {
        gEngine->InjectKey(GfxKey::Enter, false);
        // One alpha step a frame (each more than 10 ms), then a second at full alpha.
        EXPECT_GE(bot.Elapsed() - clearedAt, 255 * Bot::kFrameMs + 1001);
        EXPECT_LE(bot.Elapsed() - clearedAt, 255 * Bot::kFrameMs + 1001 + 3 * Bot::kFrameMs);
        EXPECT_EQ(gCurrentLevel, 3);
    });
    EXPECT_EQ(bot.Run(4000), 0);
}

// The tutorial has no level number of its own, and its points never reach the high-score file.
TEST(TutorialState, RestartGameStartsLevelOneAndExitReturnsToTheTitleLeavingLevelAndScoresAlone) {
    for (const bool restart : {true, false}) {
        SCOPED_TRACE(restart ? "Restart Game" : "Exit");
        Bot bot;
        bot.UseLevel(kBlueLesson);
        bot.StartAtLevel(5);
        const auto scoresFile = bot.Folder().Path("game/data/scores.dat");
        const std::string scoresBefore = kwtest::ReadFile(scoresFile);
        ReachBlueLesson(bot);
        bot.MoveTo(3);
        bot.Fire();
        bot.WaitUntil("box 4 after the burn", [] { return Tutorial()->ShowLesson(); });
        // The buttons work while a box shows.
        bot.Act("press the button", [restart] {
            EXPECT_GT(Tutorial()->Scores()->CurrentScore(), 0);
            gEngine->InjectMouseMove(65, restart ? 342.0f : 392.0f);
            gEngine->InjectMouseButton(1, true);
        });
        bot.Act("release it", [] { gEngine->InjectMouseButton(1, false); });
        bot.WaitUntil("left the tutorial", [] { return Tutorial() == nullptr; });
        bot.Act("where to", [&] {
            EXPECT_EQ(Play() != nullptr, restart);
            EXPECT_EQ(gCurrentLevel, restart ? 1 : 5);
            EXPECT_EQ(kwtest::ReadFile(scoresFile), scoresBefore);
        });
        EXPECT_EQ(bot.Run(1500), 0);
    }
}

// Each lesson shot from the far end of its hit range, its trigger awaited and its boxes read; after
// the last, a shot is the player's own, neither judged nor locking the next one.
TEST(ShippedTutorial, EveryLessonCompletesAndFreePlayFollows) {
    Bot bot;
    ReachBlueLesson(bot);
    for (const LessonShot& shot : cTutorialState::LessonShots()) {
        const std::string name = "lesson " + std::to_string(shot.target);
        bot.MoveTo(shot.lastHit);
        bot.Fire();
        bot.WaitUntil(name + " judged", [name, &shot] {
            const cTutorialState& t = *Tutorial();
            EXPECT_FALSE(t.ShowLesson() && !t.TargetHit()[static_cast<size_t>(shot.target)])
                << name << " was judged a miss at step " << t.LessonStep();
            return t.TargetHit()[static_cast<size_t>(shot.target)] || t.ShowLesson();
        });
        bot.WaitUntil(name + ": its trigger unlocks shooting", [] {
            EXPECT_FALSE(Tutorial()->GameOver()) << "the board was lost while waiting for a trigger";
            return Tutorial()->GameOver() || Tutorial()->CanShoot();
        });
        bot.WaitUntil(name + ": enter through its boxes", [] {
            if (Tutorial()->ShowLesson()) TapKey(GfxKey::Enter);
            return !Tutorial()->ShowLesson();
        });
    }
    bot.MoveTo(9);
    bot.Fire();
    bot.WaitFrames(2);
    bot.Act("not judged", [] {
        const cTutorialState& t = *Tutorial();
        EXPECT_EQ(t.LessonStep(), cTutorialState::kFreePlayStep);
        EXPECT_TRUE(t.CanShoot());
        EXPECT_FALSE(t.ShowLesson());
        EXPECT_TRUE(t.DragonFiring()) << "the shot left";
    });
    EXPECT_EQ(bot.Run(60 * 60 * 3), 0);
}

TEST(TutorialState, ADamagedLevelFileIsReportedByNameAndEndsTheProgram) {
    Bot bot;
    bot.UseLevel("abc\r\n1\r\nx\r\nBBB\r\n");
    EXPECT_EQ(bot.Run(100), 1);
    const std::string log = bot.Folder().ReadText("game/errors.log");
    EXPECT_NE(log.find("CreateLevel"), std::string::npos) << log;
    EXPECT_NE(log.find("Level file tutorial is corrupt. Please re-install."), std::string::npos) << log;
}

}  // namespace
