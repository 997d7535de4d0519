// The tutorial state played in the real program: on small boards of our own the start, the frozen
// board, the lock between a hit and its trigger, a miss among falling orbs, the buttons, the
// hand-over to play and the level-file reports; on the shipped level every lesson to free play,
// so no player waits for a trigger that never comes. The runner's scripts play a plain miss.
#include <gtest/gtest.h>

#include <memory>

#include "tutorial_bot.h"

namespace tutorial_test {
namespace {

// Blue group on the left, reds on the right that keep the board from being cleared.
const std::string kBlueLesson = Level(1000, {"BBBBB............RR"});
// Two blues: a blue shot from column 1 clears every coloured orb.
const std::string kTwoBlues = Level(1000, {"BB................."});

int32_t FiredOrbsInFlight() {
    int32_t n = 0;
    for (const auto& entry : Tutorial()->Moving().Entries()) n += entry.value->IsFired() ? 1 : 0;
    return n;
}

class TutorialState : public testing::Test {};

TEST_F(TutorialState, StartsOnItsOwnLevelAndWhileABoxShowsOnlyEnterIsRead) {
    Bot bot;
    bot.UseLevel(kBlueLesson);
    bot.StartAtLevel(4);
    bot.WaitUntil("tutorial", [] { return Tutorial() != nullptr; });
    bot.Act("check the start", [] {
        EXPECT_EQ(Tutorial()->Board().Count(), 7);
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
        const auto scoresFile = bot.Folder().Path("game/data/scores.dat");
        const std::string scoresBefore = kwtest::ReadFile(scoresFile);
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
            EXPECT_EQ(kwtest::ReadFile(scoresFile), scoresBefore);
        });
        EXPECT_EQ(bot.Run(1500), 0);
    }
}

// Fires the lesson shot from the column, checks it is counted as a hit and waits for its trigger.
void PlayLessonShot(Bot& bot, int32_t target, int32_t column) {
    const std::string name = "lesson " + std::to_string(target) + " from column " + std::to_string(column);
    bot.MoveTo(column);
    bot.Fire();
    bot.Do(name + " judged", [target, name] {
        const cTutorialState& t = *Tutorial();
        if (t.TargetHit()[static_cast<size_t>(target)]) return true;
        if (t.ShowLesson()) {
            ADD_FAILURE() << name << " was judged a miss at step " << t.LessonStep();
            return true;
        }
        return false;
    });
    bot.WaitUntil(name + ": its trigger unlocks shooting", [] {
        const cTutorialState* t = Tutorial();
        EXPECT_TRUE(t && !t->GameOver()) << "the tutorial board was lost while waiting for a trigger";
        return !t || t->GameOver() || t->CanShoot();
    });
}

void PressEnterTo(Bot& bot, int32_t step) {
    bot.WaitUntil("box of step " + std::to_string(step - 1), [] { return Tutorial()->ShowLesson(); });
    bot.PressEnter();
    bot.WaitUntil("step " + std::to_string(step), [step] { return Tutorial()->LessonStep() == step; });
}

// The blue lesson counts columns 0 to 4 (the content test checks each lands on the blue group);
// red, green and yellow one column each. Blue goes in from the far edge.
TEST(ShippedTutorial, EveryLessonCompletesAndFreePlayFollows) {
    const int32_t blueColumn = 4;
    Bot bot;
    bot.UseLevel(std::nullopt);
    ReachBlueLesson(bot);
    const auto shots = cTutorialState::LessonShots();

    PlayLessonShot(bot, 0, blueColumn);
    bot.Act("box 4 after the burn", [] { EXPECT_TRUE(Tutorial()->ShowLesson() && Tutorial()->LessonStep() == 4); });
    PressEnterTo(bot, 5);
    PressEnterTo(bot, 6);

    PlayLessonShot(bot, 1, shots[1].firstHit);
    bot.Act("box 7 after the chest", [] { EXPECT_TRUE(Tutorial()->ShowLesson() && Tutorial()->LessonStep() == 7); });
    PressEnterTo(bot, 8);

    PlayLessonShot(bot, 2, shots[2].firstHit);
    bot.Act("no box after the tornado", [] {
        EXPECT_FALSE(Tutorial()->ShowLesson());
        EXPECT_EQ(Tutorial()->LessonStep(), 9);
    });

    PlayLessonShot(bot, 3, shots[3].firstHit);
    bot.Act("box 10 after the fireball",
            [] { EXPECT_TRUE(Tutorial()->ShowLesson() && Tutorial()->LessonStep() == 10); });
    for (int32_t step = 11; step <= cTutorialState::kFreePlayStep; ++step) PressEnterTo(bot, step);

    // Free play: a shot is the player's own, neither judged nor locking the next one.
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
