// The tutorial state played in the real program on small boards of our own: the start, the
// frozen board, a missed shot taken back, the lock between a hit and its trigger, the buttons,
// the hand-over to play, and the level-file reports.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <memory>

#include "tutorial_bot.h"

namespace tutorial_test {
namespace {

// Blue group on the left, reds on the right that keep the board from being cleared.
const std::string kBlueLesson = Level("1000", {"BBBBB............RR"});
// Two blues: a blue shot from column 1 clears every coloured orb.
const std::string kTwoBlues = Level("1000", {"BB................."});

int32_t FiredOrbsInFlight() {
    int32_t n = 0;
    for (const auto& entry : Tutorial()->Moving().Entries()) n += entry.value->IsFired() ? 1 : 0;
    return n;
}

class TutorialState : public testing::Test {};

TEST_F(TutorialState, StartsAtTheWelcomeBoxOnItsOwnLevelAndQueue) {
    Bot bot;
    bot.UseLevel(kBlueLesson);
    bot.StartAtLevel(4);
    bot.WaitUntil("tutorial", [] { return Tutorial() != nullptr; });
    bot.Act("check the start", [] {
        const cTutorialState& t = *Tutorial();
        EXPECT_EQ(t.LessonStep(), 0);
        EXPECT_TRUE(t.ShowLesson());
        EXPECT_TRUE(t.CanShoot());
        EXPECT_EQ(t.TargetHit(), (std::array<bool, 4>{}));
        EXPECT_EQ(t.CurrentOrb()->OrbType(), OrbKind::Blue);
        EXPECT_EQ(t.NextOrb()->OrbType(), OrbKind::Red);
        EXPECT_FALSE(t.LevelIntro());
        EXPECT_FALSE(t.CloudsOn());
        EXPECT_EQ(t.Board().Count(), 7);
        EXPECT_EQ(gCurrentLevel, 4) << "the tutorial has no level number";
    });
    // While the welcome box shows, the dragon neither moves nor fires and Escape is not read.
    bot.Act("hold right and space, press escape", [] {
        gEngine->InjectKey(GfxKey::Right, true);
        gEngine->InjectKey(GfxKey::Space, true);
        gEngine->InjectKey(GfxKey::Escape, true);
        gEngine->InjectKey(GfxKey::Escape, false);
    });
    bot.WaitFrames(20);
    bot.Act("nothing happened", [] {
        gEngine->InjectKey(GfxKey::Right, false);
        gEngine->InjectKey(GfxKey::Space, false);
        EXPECT_TRUE(gRunning);
        EXPECT_EQ(Tutorial()->DragonColumn(), 9);
        EXPECT_FALSE(Tutorial()->DragonMoving());
        EXPECT_EQ(FiredOrbsInFlight(), 0);
        EXPECT_EQ(Tutorial()->LessonStep(), 0);
    });
    // Boxes 1 and 2 come up by themselves; the blue lesson has none until a shot is judged.
    bot.PressEnter();
    bot.WaitFrames(2);
    bot.Act("box 1", [] { EXPECT_TRUE(Tutorial()->ShowLesson() && Tutorial()->LessonStep() == 1); });
    bot.PressEnter();
    bot.WaitFrames(2);
    bot.Act("box 2", [] { EXPECT_TRUE(Tutorial()->ShowLesson() && Tutorial()->LessonStep() == 2); });
    bot.PressEnter();
    bot.WaitFrames(2);
    bot.Act("step 3", [] { EXPECT_TRUE(!Tutorial()->ShowLesson() && Tutorial()->LessonStep() == 3); });
    EXPECT_EQ(bot.Run(600), 0);
}

TEST_F(TutorialState, AMissedBlueShotIsTakenBackAndTheBlueOrbHandedOverAgain) {
    Bot bot;
    bot.UseLevel(kBlueLesson);
    ReachBlueLesson(bot);
    bot.MoveTo(5);
    bot.Fire();
    bot.WaitUntil("the miss is judged", [] { return Tutorial()->ShowLesson(); });
    bot.Act("the shot is gone and blue is back", [] {
        const cTutorialState& t = *Tutorial();
        EXPECT_EQ(t.LessonStep(), 3);
        EXPECT_EQ(FiredOrbsInFlight(), 0);
        EXPECT_EQ(t.CurrentOrb()->OrbType(), OrbKind::Blue);
        EXPECT_TRUE(t.CanShoot());
        EXPECT_FALSE(t.TargetHit()[0]);
        EXPECT_EQ(t.Scores()->CurrentScore(), 0) << "a shot taken back never leaves the screen";
    });
    bot.PressEnter();
    bot.WaitFrames(2);
    bot.Act("step 4 without a box", [] { EXPECT_TRUE(!Tutorial()->ShowLesson() && Tutorial()->LessonStep() == 4); });
    // The same blue check judges the next shot, though the step moved on.
    bot.MoveTo(3);
    bot.Fire();
    bot.WaitUntil("the shot is judged", [] { return Tutorial()->TargetHit()[0] || Tutorial()->ShowLesson(); });
    bot.Act("a hit", [] {
        const cTutorialState& t = *Tutorial();
        EXPECT_TRUE(t.TargetHit()[0]);
        EXPECT_FALSE(t.ShowLesson());
        EXPECT_EQ(t.LessonStep(), 4);
        EXPECT_FALSE(t.CanShoot());
        EXPECT_EQ(t.CurrentOrb()->OrbType(), OrbKind::Red);
        EXPECT_EQ(FiredOrbsInFlight(), 1) << "a hit stays in flight";
    });
    EXPECT_EQ(bot.Run(900), 0);
}

TEST_F(TutorialState, BetweenAHitAndItsTriggerTheDragonMovesButCannotFire) {
    Bot bot;
    bot.UseLevel(kBlueLesson);
    ReachBlueLesson(bot);
    bot.MoveTo(2);
    bot.Fire();
    bot.WaitUntil("the hit is judged", [] { return Tutorial()->TargetHit()[0]; });
    bot.MoveTo(4);
    auto fired = std::make_shared<int32_t>(0);
    bot.Act("hold space", [fired] {
        *fired = FiredOrbsInFlight();
        gEngine->InjectKey(GfxKey::Space, true);
    });
    bot.WaitFrames(3);
    bot.Act("no new shot", [fired] {
        gEngine->InjectKey(GfxKey::Space, false);
        EXPECT_LE(FiredOrbsInFlight(), *fired);
        EXPECT_EQ(Tutorial()->DragonColumn(), 4);
    });
    // The first burnt orb taken off the board brings box 4 and unlocks shooting.
    bot.WaitUntil("box 4", [] { return Tutorial()->ShowLesson(); });
    bot.Act("shooting allowed again", [] {
        EXPECT_EQ(Tutorial()->LessonStep(), 4);
        EXPECT_TRUE(Tutorial()->CanShoot());
        EXPECT_GT(Tutorial()->Scores()->CurrentScore(), 0);
    });
    // While the box shows the board stands still.
    auto heights = std::make_shared<std::vector<int32_t>>();
    bot.Act("note the board", [heights] {
        for (const auto& e : Tutorial()->Board().Entries()) heights->push_back(e.value->PixelY());
    });
    bot.WaitFrames(150);
    bot.Act("the board has not moved", [heights] {
        std::vector<int32_t> now;
        for (const auto& e : Tutorial()->Board().Entries()) now.push_back(e.value->PixelY());
        EXPECT_EQ(now, *heights);
        EXPECT_TRUE(Tutorial()->ShowLesson());
    });
    EXPECT_EQ(bot.Run(1500), 0);
}

// Orbs set falling by the blue burn are older in m_Moving than the red shot; a miss takes back
// the shot itself, never one of them.
TEST_F(TutorialState, AMissTakesBackTheShotNotAnOrbStillFalling) {
    Bot bot;
    bot.UseLevel(Level("1000", {"....G", "BBBBB............RR"}));
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
        EXPECT_TRUE(t.Moving().Exists("orbX4Y1") || t.Board().Exists("orbX4Y0")) << "the green orb vanished";
    });
    bot.PressEnter();
    bot.WaitFrames(30);
    bot.Act("the green orb landed and nothing else did", [] {
        const cTutorialState& t = *Tutorial();
        ASSERT_TRUE(t.Board().Exists("orbX4Y0"));
        EXPECT_EQ(t.Board().Item("orbX4Y0")->OrbType(), OrbKind::Green);
        EXPECT_FALSE(t.Board().Exists("orbX10Y0"));
        EXPECT_EQ(t.Scores()->CurrentScore(), 42) << "the six blues only";
    });
    EXPECT_EQ(bot.Run(1500), 0);
}

TEST_F(TutorialState, AClearedBoardFadesInLevelCompleteThenPlaysOnAtTheLevelReached) {
    Bot bot;
    bot.UseLevel(kTwoBlues);
    bot.StartAtLevel(3);
    ReachBlueLesson(bot);
    bot.MoveTo(1);
    bot.Fire();
    bot.WaitUntil("board cleared", [] { return Tutorial() && Tutorial()->LevelComplete(); });
    auto clearedAt = std::make_shared<int32_t>(0);
    auto step = std::make_shared<int32_t>(0);
    bot.Act("note when", [&bot, clearedAt, step] {
        *clearedAt = bot.Elapsed();
        *step = Tutorial()->LessonStep();
    });
    // Enter is pressed all along: once the board is cleared it never moves the script on.
    bot.Do("the play state takes over", [&bot, step] {
        if (Play()) return true;
        if (Tutorial()->LessonStep() != *step) {
            ADD_FAILURE() << "Enter moved the script on after the board was cleared";
            return true;
        }
        gEngine->InjectKey(GfxKey::Enter, (bot.Frames() % 2) == 0);
        return false;
    });
    bot.Act("level 3, after the fade and a second", [&bot, clearedAt] {
        gEngine->InjectKey(GfxKey::Enter, false);
        EXPECT_GE(bot.Elapsed() - *clearedAt, 255 * 11 + 1001);
        EXPECT_LE(bot.Elapsed() - *clearedAt, 255 * (11 + Bot::kFrameMs) + 1001 + 3 * Bot::kFrameMs);
        EXPECT_EQ(gCurrentLevel, 3);
    });
    EXPECT_EQ(bot.Run(4000), 0);
}

// Points scored in the tutorial never reach the high-score file.
TEST_F(TutorialState, RestartGameStartsLevelOneAndExitReturnsToTheTitleLeavingScoresAlone) {
    for (const bool restart : {true, false}) {
        SCOPED_TRACE(restart ? "Restart Game" : "Exit");
        Bot bot;
        bot.UseLevel(kBlueLesson);
        bot.StartAtLevel(5);
        const auto scoresFile = bot.Folder() / "game" / "data" / "scores.dat";
        const std::string scoresBefore = ReadWhole(scoresFile);
        ReachBlueLesson(bot);
        bot.MoveTo(3);
        bot.Fire();
        bot.WaitUntil("box 4 after the burn", [] { return Tutorial()->ShowLesson(); });
        // The buttons work while a box shows.
        const float y = restart ? 342.0f : 392.0f;
        bot.Act("press the button", [y] {
            EXPECT_GT(Tutorial()->Scores()->CurrentScore(), 0);
            gEngine->InjectMouseMove(65, y);
            gEngine->InjectMouseButton(1, true);
        });
        bot.Act("release it", [] { gEngine->InjectMouseButton(1, false); });
        bot.WaitUntil("left the tutorial", [] { return Tutorial() == nullptr; });
        bot.Act("where to", [restart, scoresFile, scoresBefore] {
            EXPECT_EQ(Play() != nullptr, restart);
            EXPECT_EQ(gCurrentLevel, restart ? 1 : 5);
            EXPECT_EQ(ReadWhole(scoresFile), scoresBefore);
        });
        EXPECT_EQ(bot.Run(1500), 0);
    }
}

struct BadLevel {
    const char* name;
    bool remove;
    const char* text;
    const char* message;
};

class TutorialLevelFile : public TutorialState, public testing::WithParamInterface<BadLevel> {};

TEST_P(TutorialLevelFile, IsReportedWithTheLevelFileMessagesAndEndsTheProgram) {
    Bot bot;
    if (GetParam().remove)
        bot.RemoveLevelBeforeStart();
    else
        bot.UseLevel(std::string(GetParam().text));
    EXPECT_EQ(bot.Run(100), 1);
    const std::string log = bot.ReadLog();
    EXPECT_NE(log.find(GetParam().message), std::string::npos) << log;
    EXPECT_NE(log.find("CreateLevel"), std::string::npos) << log;
}

INSTANTIATE_TEST_SUITE_P(Tutorial, TutorialLevelFile,
                         testing::Values(BadLevel{"Missing", true, "",
                                                  "Level file tutorial is not found. Please re-install."},
                                         BadLevel{"RiseNotANumber", false, "abc\r\n1\r\nx\r\nBBB\r\n",
                                                  "Level file tutorial is corrupt. Please re-install."}),
                         [](const testing::TestParamInfo<BadLevel>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tutorial_test
