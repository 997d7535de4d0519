// The shipped tutorial level and the lesson script fit together: from every column the script
// counts as a hit, each lesson shot sets off the burn or bonus item whose trigger unlocks the
// next shot, so no player waits for a trigger that never comes.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "tutorial_bot.h"

namespace tutorial_test {
namespace {

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

class ShippedTutorial : public testing::TestWithParam<int32_t> {
protected:
    void SetUp() override {
        if (!std::filesystem::exists(ShippedTutorialLevel())) GTEST_SKIP() << "no tutorial level in data/levels";
    }
};

// The blue lesson counts columns 0 to 4; red, green and yellow one column each.
TEST_P(ShippedTutorial, EveryLessonCompletesFromEveryHitColumn) {
    const int32_t blueColumn = GetParam();
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

INSTANTIATE_TEST_SUITE_P(Tutorial, ShippedTutorial, testing::Range(0, 5),
                         [](const testing::TestParamInfo<int32_t>& info) {
                             return "BlueFromColumn" + std::to_string(info.param);
                         });

TEST(ShippedTutorialFile, HasNoCloudsLineAndFitsTheBoard) {
    std::ifstream in(ShippedTutorialLevel(), std::ios::binary);
    if (!in) GTEST_SKIP() << "no tutorial level in data/levels";
    std::vector<std::string> lines;
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    ASSERT_GE(lines.size(), 4u);
    EXPECT_NO_THROW((void)std::stoi(lines[0])) << "rise interval";
    const int rows = std::stoi(lines[1]);
    // A clouds line left in, or a row too many, would put the bottom row under the floor.
    EXPECT_EQ(static_cast<int>(lines.size()) - 3, rows) << "orb lines after the three header lines";
    EXPECT_LE(rows, BoardGeometry::Rows);
    for (size_t i = 3; i < lines.size(); ++i) EXPECT_LE(lines[i].size(), size_t{BoardGeometry::Columns}) << i;
}

}  // namespace
}  // namespace tutorial_test
