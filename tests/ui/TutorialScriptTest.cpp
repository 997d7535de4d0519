// SPDX-License-Identifier: GPL-3.0-or-later
// The tutorial's lesson script on its own: which lesson shot judges a shot, which firing columns
// hit, and what a hit and a miss lead to. The first check that applies decides, even after a miss
// box moved the step on.
#include <gtest/gtest.h>

#include <array>
#include <ostream>

#include "game/cOrb.h"
#include "ui/cTutorialState.h"

namespace {

using Targets = std::array<bool, 4>;
constexpr Targets kNone{}, kBlue{true}, kRed{true, true}, kGreen{true, true, true}, kAll{true, true, true, true};

struct Lesson {
    int32_t step;
    Targets done;
    int32_t target;  // -1: no shot is judged
    int32_t firstHit = 0, lastHit = 0;
    int32_t hitStep = 0, hitOrb = 0;    // the step and the orb handed over after a hit
    int32_t missStep = 0, missOrb = 0;  // after a miss: the lesson's own orb again
};

void PrintTo(const Lesson& l, std::ostream* os) { *os << "a shot at step " << l.step; }

class LessonShotJudging : public testing::TestWithParam<Lesson> {};

TEST_P(LessonShotJudging, OnlyTheLessonsColumnsHitAndDecideTheNextStepAndOrb) {
    const Lesson& l = GetParam();
    for (int32_t column = 0; column < 19; ++column) {
        SCOPED_TRACE("from column " + std::to_string(column));
        const LessonVerdict verdict = cTutorialState::JudgeLessonShot(l.step, l.done, column);
        const bool hit = column >= l.firstHit && column <= l.lastHit;
        EXPECT_EQ(verdict.target, l.target);
        EXPECT_EQ(verdict.step, l.target < 0 ? l.step : hit ? l.hitStep : l.missStep);
        if (l.target < 0) continue;
        EXPECT_EQ(verdict.hit, hit);
        EXPECT_EQ(verdict.orbToFire, hit ? l.hitOrb : l.missOrb);
    }
}

using namespace OrbKind;
INSTANTIATE_TEST_SUITE_P(
    Tutorial, LessonShotJudging,
    testing::Values(Lesson{3, kNone, 0, 0, 4, 4, Red, 3, Blue}, Lesson{4, kNone, 0, 0, 4, 4, Red, 3, Blue},
                    Lesson{6, kBlue, 1, 17, 17, 7, Green, 6, Red}, Lesson{7, kBlue, 1, 17, 17, 7, Green, 6, Red},
                    Lesson{8, kRed, 2, 13, 13, 9, Yellow, 8, Green}, Lesson{9, kGreen, 3, 7, 7, 10, Yellow, 9, Yellow},
                    Lesson{10, kGreen, 3, 7, 7, 10, Yellow, 9, Yellow}, Lesson{2, kNone, -1}, Lesson{5, kBlue, -1},
                    Lesson{14, kAll, -1}));

}  // namespace
