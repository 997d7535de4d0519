// The error log's entries and the flags of ReportError.
#include <gtest/gtest.h>

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "support/GameFolder.h"

namespace {

class ErrorLog : public ::testing::Test {
protected:
    void SetUp() override {
        UseVirtualClock(0, 19 * 3600 + 5 * 60 + 9);
        OpenErrorLog();
    }
    kwtest::GameFolder m_Folder;
};

TEST_F(ErrorLog, StartsEmptyEachRunAndAReportWritesTimeModuleNumberAndMessageThenThreeEmptyLines) {
    WriteErrorLog("old entry");
    OpenErrorLog();
    ReportError(76, "cTextures", "GetTexture", "Texture: x.png failed to load.", true, true, false);
    CloseErrorLog();
    auto lines = m_Folder.LogLines();
    ASSERT_EQ(lines.size(), 7u);
    EXPECT_TRUE(lines[0].ends_with(" 7:05:09 PM")) << lines[0];
    lines.erase(lines.begin());
    EXPECT_EQ(lines, (std::vector<std::string>{"Handled Error Occurred in cTextures.GetTexture", "Error Number: 76",
                                               "Error: Texture: x.png failed to load.", "", "", ""}));
}

struct Flags {
    int32_t number;
    int32_t pending;
    bool writeToLog, reportAlways, terminate;
    bool expectWritten, expectEnd;
};

class ReportFlags : public ErrorLog, public ::testing::WithParamInterface<Flags> {};

TEST_P(ReportFlags, DecideWhetherAnEntryIsWrittenAndTheProgramEnds) {
    const Flags f = GetParam();
    bool ended = false;
    try {
        ReportError(f.number, "cPlayState", "MoveOrb", "m", f.writeToLog, f.reportAlways, f.terminate, f.pending);
    } catch (const ExitSignal& signal) {
        ended = true;
        EXPECT_EQ(signal.exitCode, 1);
    }
    CloseErrorLog();
    EXPECT_EQ(ended, f.expectEnd);
    EXPECT_EQ(!m_Folder.ReadText("game/errors.log").empty(), f.expectWritten);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReportFlags,
    ::testing::Values(Flags{5, 13, true, false, true, false, false},  // another error pending: nothing at all
                      Flags{13, 13, true, false, true, true, true},   // the expected error is pending
                      Flags{53, 0, true, true, true, true, true},     // report always
                      Flags{5, 0, true, true, false, true, false},    // logged, play goes on
                      Flags{5, 0, false, true, true, false, true}));  // not logged, still ends

}  // namespace
