// The tutorial's lesson script on its own: which lesson shot judges a shot, what a hit and a
// miss lead to, and the shape of the lesson boxes.
#include <gtest/gtest.h>

#include <array>
#include <string>

#include "game/cOrb.h"
#include "ui/cTutorialState.h"

namespace {

using Targets = std::array<bool, 4>;
constexpr Targets kNone{false, false, false, false};
constexpr Targets kBlueDone{true, false, false, false};
constexpr Targets kRedDone{true, true, false, false};
constexpr Targets kGreenDone{true, true, true, false};
constexpr Targets kAllDone{true, true, true, true};

struct ShotCase {
    const char* name;
    int32_t step;
    Targets targets;
    int32_t column;
    int32_t target;  // -1: not judged
    bool hit;
    int32_t stepAfter;
    int32_t orbToFire;
};

class LessonShotJudging : public testing::TestWithParam<ShotCase> {};

TEST_P(LessonShotJudging, FirstCheckThatAppliesDecides) {
    const ShotCase& c = GetParam();
    const LessonVerdict verdict = cTutorialState::JudgeLessonShot(c.step, c.targets, c.column);
    EXPECT_EQ(verdict.target, c.target);
    EXPECT_EQ(verdict.step, c.stepAfter);
    if (c.target >= 0) {
        EXPECT_EQ(verdict.hit, c.hit);
        EXPECT_EQ(verdict.orbToFire, c.orbToFire);
    }
}

using namespace OrbKind;
INSTANTIATE_TEST_SUITE_P(Tutorial, LessonShotJudging,
                         testing::Values(
                             // Blue: any column left of the blue group's edge is a hit; the red orb is handed over.
                             ShotCase{"BlueFromColumn4Hits", 3, kNone, 4, 0, true, 4, Red},
                             ShotCase{"BlueFromColumn5MissesAndHandsBlueBack", 3, kNone, 5, 0, false, 3, Blue},
                             // After the miss box and Enter the step is one higher, but the blue check still judges.
                             ShotCase{"BlueAfterMissBoxStillJudgedAsBlue", 4, kNone, 3, 0, true, 4, Red},
                             // Red: only the second column from the right.
                             ShotCase{"RedFromColumn17Hits", 6, kBlueDone, 17, 1, true, 7, Green},
                             ShotCase{"RedFromColumn18Misses", 6, kBlueDone, 18, 1, false, 6, Red},
                             ShotCase{"RedAfterMissBoxStillJudgedAsRed", 7, kBlueDone, 17, 1, true, 7, Green},
                             // Green: column 13; a shot at yellow's column 7 is a green miss, not a yellow hit.
                             ShotCase{"GreenFromColumn13Hits", 8, kRedDone, 13, 2, true, 9, Yellow},
                             ShotCase{"GreenFromColumn7IsAGreenMiss", 8, kRedDone, 7, 2, false, 8, Green},
                             ShotCase{"GreenAfterMissBoxStillJudgedAsGreen", 9, kRedDone, 13, 2, true, 9, Yellow},
                             // Yellow: column 7; a hit hands over yellow again.
                             ShotCase{"YellowFromColumn7Hits", 9, kGreenDone, 7, 3, true, 10, Yellow},
                             ShotCase{"YellowFromColumn13Misses", 9, kGreenDone, 13, 3, false, 9, Yellow},
                             ShotCase{"YellowAfterMissBoxStillJudgedAsYellow", 10, kGreenDone, 7, 3, true, 10, Yellow},
                             // Nothing judges a shot before the first lesson shot or once all four are done.
                             ShotCase{"NothingBeforeTheBlueLesson", 2, kNone, 3, -1, false, 2, 0},
                             ShotCase{"NothingOnceAllAreDone", 14, kAllDone, 3, -1, false, 14, 0}),
                         [](const testing::TestParamInfo<ShotCase>& info) { return std::string(info.param.name); });

TEST(TutorialLessonBoxes, EveryScriptedStepHasABoxAndFreePlayHasNone) {
    for (int32_t step = 0; step < cTutorialState::kFreePlayStep; ++step) {
        const std::string text = cTutorialState::LessonText(step);
        SCOPED_TRACE(step);
        EXPECT_FALSE(text.empty());
        EXPECT_GE(cTutorialState::LessonHeight(step), 30);
        // Lines are joined by CR LF pairs only, with no break after the last line.
        for (size_t i = 0; i < text.size(); ++i) {
            if (text[i] == '\n') {
                EXPECT_TRUE(i > 0 && text[i - 1] == '\r');
            }
            if (text[i] == '\r') {
                EXPECT_TRUE(i + 1 < text.size() && text[i + 1] == '\n');
            }
        }
        EXPECT_NE(text.back(), '\n');
    }
    EXPECT_EQ(cTutorialState::LessonText(cTutorialState::kFreePlayStep), "");
    EXPECT_EQ(cTutorialState::LessonHeight(cTutorialState::kFreePlayStep), 0);
}

}  // namespace
