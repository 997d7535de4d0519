// The level reader's header numbers: what the format writes reads back, anything else is a mismatch.
#include <gtest/gtest.h>

#include "base/RuntimeError.h"
#include "game/LevelFile.h"

namespace {

struct NumberCase {
    const char* text;
    int32_t value;  // ignored when bad
    bool bad;
};

class LevelNumbers : public ::testing::TestWithParam<NumberCase> {};

TEST_P(LevelNumbers, HeaderNumbersReadAsTheFormatWritesThemOrAreAMismatch) {
    const NumberCase c = GetParam();
    int32_t value = 0, error = 0;
    try {
        value = ParseLevelNumber(c.text);
    } catch (const RuntimeError& e) {
        error = e.Number();
    }
    EXPECT_EQ(error, c.bad ? ErrorNumber::TypeMismatch : 0) << c.text;
    EXPECT_EQ(value, c.bad ? 0 : c.value) << c.text;
}

INSTANTIATE_TEST_SUITE_P(Texts, LevelNumbers,
                         ::testing::Values(NumberCase{"20", 20, false}, NumberCase{"  7 ", 7, false},
                                           NumberCase{"-3", -3, false}, NumberCase{"+4", 4, false},
                                           NumberCase{"12.5", 12, false}, NumberCase{"13.5", 14, false},
                                           NumberCase{"0007", 7, false}, NumberCase{"2147483647", 2147483647, false},
                                           NumberCase{"abc", 0, true}, NumberCase{"", 0, true},
                                           NumberCase{"12abc", 0, true}, NumberCase{"2147483648", 0, true},
                                           NumberCase{"99999999999999999999", 0, true}, NumberCase{".", 0, true},
                                           NumberCase{"-", 0, true}));

}  // namespace
