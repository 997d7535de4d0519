// The tutorial's lesson script on its own: which lesson shot judges a shot, and what a hit and a
// miss lead to. The first check that applies decides, even after a miss box moved the step on.
#include <gtest/gtest.h>

#include <array>
#include <ostream>

#include "game/cOrb.h"
#include "ui/cTutorialState.h"

namespace {

using Targets = std::array<bool, 4>;
constexpr Targets kNone{}, kBlue{true}, kRed{true, true}, kGreen{true, true, true}, kAll{true, true, true, true};

struct ShotCase {
    int32_t step;
    Targets targets;
    int32_t column;
    int32_t target;  // -1: not judged
    bool hit;
    int32_t stepAfter;
    int32_t orbToFire;  // the orb handed over next: the lesson's own again after a miss
};

void PrintTo(const ShotCase& c, std::ostream* os) { *os << "a shot at step " << c.step << " from column " << c.column; }

class LessonShotJudging : public testing::TestWithParam<ShotCase> {};

TEST_P(LessonShotJudging, DecidesTheTargetHitStepAndNextOrb) {
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
INSTANTIATE_TEST_SUITE_P(
    Tutorial, LessonShotJudging,
    testing::Values(ShotCase{3, kNone, 4, 0, true, 4, Red}, ShotCase{3, kNone, 5, 0, false, 3, Blue},
                    ShotCase{4, kNone, 3, 0, true, 4, Red}, ShotCase{6, kBlue, 17, 1, true, 7, Green},
                    ShotCase{6, kBlue, 18, 1, false, 6, Red}, ShotCase{7, kBlue, 17, 1, true, 7, Green},
                    ShotCase{8, kRed, 13, 2, true, 9, Yellow}, ShotCase{8, kRed, 7, 2, false, 8, Green},
                    ShotCase{9, kGreen, 7, 3, true, 10, Yellow}, ShotCase{9, kGreen, 13, 3, false, 9, Yellow},
                    ShotCase{10, kGreen, 7, 3, true, 10, Yellow}, ShotCase{2, kNone, 3, -1, false, 2, 0},
                    ShotCase{14, kAll, 3, -1, false, 14, 0}));

}  // namespace
