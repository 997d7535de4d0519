// The whole program run headless with stand-in screens: start-up, the frame loop, state
// switches and the orderly end, observed through the files it leaves and the order of calls.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "engine/cTextures.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "gfx/GfxInstanceLock.h"
#include "shell/cBaseState.h"
#include "shell/modMain.h"
#include "support/GameFolder.h"

namespace {

std::vector<std::string> sCalls;

// A screen whose operations record themselves and run whatever the test asks.
class StandIn final : public cBaseState {
public:
    using Op = std::function<void(StandIn&)>;
    StandIn(std::string name, Op input, Op draw)
        : m_Name(std::move(name)), m_Input(std::move(input)), m_Draw(std::move(draw)) {
        InitializeGraphics();
    }
    ~StandIn() override { sCalls.push_back(m_Name + " released"); }
    void InitializeGraphics() override { sCalls.push_back(m_Name + " init"); }
    void HandleInput() override {
        ++m_Frames;
        sCalls.push_back(m_Name + " input");
        if (m_Input) m_Input(*this);
        sCalls.push_back(m_Name + " input returns");
    }
    void ProcessState() override { sCalls.push_back(m_Name + " process"); }
    void DrawState() override {
        sCalls.push_back(m_Name + " draw");
        if (m_Draw) m_Draw(*this);
    }
    void Destroy() override { sCalls.push_back(m_Name + " destroy"); }
    int Frames() const { return m_Frames; }

private:
    std::string m_Name;
    Op m_Input, m_Draw;
    int m_Frames = 0;
};

class MainRun : public ::testing::Test {
protected:
    void SetUp() override {
        sCalls.clear();
        ClearStateFactories();
        SetFrameHook(nullptr);
        UseVirtualClock(0, 12 * 3600);
        GfxEngine::SetHeadless(true);
        m_Folder.WriteImage("game/images/sprites.png", 64, 400);
        m_Folder.WriteText("game/data/game.dat", "3\r\n70\r\n60\r\n");
    }
    void TearDown() override {
        SetFrameHook(nullptr);
        ClearStateFactories();
    }
    void Register(int number, const std::string& name, StandIn::Op input = {}, StandIn::Op draw = {}) {
        RegisterStateFactory(number, [=] { return std::make_unique<StandIn>(name, input, draw); });
    }
    // Closes the window as a player would, before the given frame.
    void CloseBeforeFrame(int frame) {
        SetFrameHook([this, frame](LoopPoint point) {
            if (point == LoopPoint::AfterFrame && ++m_Frames == frame - 1)
                gEngine->InjectWindow(GfxWindowAction::Close);
        });
    }
    static size_t IndexOf(const std::string& call) {
        for (size_t i = 0; i < sCalls.size(); ++i)
            if (sCalls[i] == call) return i;
        ADD_FAILURE() << "no call " << call;
        return sCalls.size();
    }
    kwtest::GameFolder m_Folder;
    int m_Frames = 0;
};

TEST_F(MainRun, ASwitchInHandleInputHandsTheRestOfThePassToTheNewStateAndReleasesTheOldOneAfterItsOperation) {
    Register(StateTitle, "title", [](StandIn&) {
        sCalls.push_back("title destroy");
        SetState(StatePlay);
    });
    Register(StatePlay, "play", {}, [](StandIn&) { gRunning = false; });
    EXPECT_EQ(Main(""), 0);
    const std::vector<std::string> expected{"title init",   "title input",         "title destroy",
                                            "play init",    "title input returns", "title released",
                                            "play process", "play draw",           "play released"};
    EXPECT_EQ(sCalls, expected);
}

TEST_F(MainRun, ClosingTheWindowFinishesThePassThenSavesSettingsAndDeletesTheUnpackedFiles) {
    Register(StateTitle, "title");
    m_Folder.WriteImage("game/images/extra.png");
    m_Folder.WriteText("game/levels/level1.dat", "x");
    CloseBeforeFrame(3);
    EXPECT_EQ(Main(""), 0);
    EXPECT_EQ(m_Folder.ReadText("game/data/game.dat"), "3\r\n70\r\n60\r\n");
    EXPECT_FALSE(m_Folder.Exists("game/images/extra.png"));
    EXPECT_FALSE(m_Folder.Exists("game/images/sprites.png"));
    EXPECT_FALSE(m_Folder.Exists("game/levels/level1.dat"));
    EXPECT_EQ(m_Folder.ReadText("game/errors.log"), "");
    // The state current at exit is released without Destroy.
    EXPECT_EQ(sCalls.back(), "title released");
    EXPECT_EQ(std::count(sCalls.begin(), sCalls.end(), "title destroy"), 0);
    EXPECT_EQ(std::count(sCalls.begin(), sCalls.end(), "title draw"), 2);
}

TEST_F(MainRun, AnUnhandledFaultEndsThroughTheErrorBoxWithOneLogEntryAndStillSavesSettings) {
    Register(StateTitle, "title", [](StandIn&) { throw RuntimeError(ErrorNumber::TypeMismatch, "Type mismatch"); });
    gHighestLevel = 0;
    EXPECT_EQ(Main(""), 1);
    const auto lines = m_Folder.LogLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Unknow Error Occurred While Initializing. ");
    EXPECT_EQ(lines[1], "13 Error Description: Type mismatch");
    EXPECT_EQ(m_Folder.ReadText("game/data/game.dat"), "3\r\n70\r\n60\r\n");
    EXPECT_FALSE(m_Folder.Exists("game/images/sprites.png"));
}

// Saving the scores when a play state is released can fail; the report must not throw out of the
// destructor (that would abort the process) but still end the program in order.
class FailsWhenReleased final : public cBaseState {
public:
    FailsWhenReleased() { InitializeGraphics(); }
    ~FailsWhenReleased() override {
        ReportError(ErrorNumber::PathNotFound, "cScores", "SaveScores", "cannot save", true, true, true);
        sCalls.push_back("release finished");
    }
    void InitializeGraphics() override {}
    void HandleInput() override {
        Destroy();
        SetState(StatePlay);
    }
    void DrawState() override {}
    void ProcessState() override {}
    void Destroy() override {}
};

TEST_F(MainRun, AReportThatEndsTheProgramFromAReleasedStateEndsItAfterTheRelease) {
    RegisterStateFactory(StateTitle, [] { return std::make_unique<FailsWhenReleased>(); });
    Register(StatePlay, "play");
    EXPECT_EQ(Main(""), 1);
    const std::vector<std::string> expected{"play init", "release finished", "play released"};
    EXPECT_EQ(sCalls, expected);
    EXPECT_EQ(m_Folder.LogLines().size(), 7u);
    EXPECT_EQ(m_Folder.ReadText("game/data/game.dat"), "3\r\n70\r\n60\r\n");
}

TEST_F(MainRun, ASecondCopyInTheSameFolderSaysSoAndTouchesNothing) {
    Register(StateTitle, "title");
    GfxInstanceLock first;
    ASSERT_EQ(first.Acquire(m_Folder.Path("game/kindlewisp.lock")), GfxInstanceLock::Result::Acquired);
    testing::internal::CaptureStderr();
    EXPECT_EQ(Main(""), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Kindlewisp is already running."), std::string::npos);
    EXPECT_TRUE(m_Folder.Exists("game/images/sprites.png"));
    EXPECT_FALSE(m_Folder.Exists("game/errors.log"));
    EXPECT_TRUE(sCalls.empty());
    first.Release();
    CloseBeforeFrame(2);
    EXPECT_EQ(Main(""), 0);  // free again once the first copy has gone
}

TEST_F(MainRun, WhileMinimisedNothingIsUpdatedOrDrawnAndThePauseFlagIsSet) {
    Register(StateTitle, "title");
    int waits = 0;
    bool pausedWhileWaiting = true;
    SetFrameHook([&](LoopPoint point) {
        if (point == LoopPoint::AfterFrame && ++m_Frames == 1) gEngine->InjectWindow(GfxWindowAction::Minimize);
        if (point == LoopPoint::Minimised) {
            pausedWhileWaiting = pausedWhileWaiting && gPaused;
            if (++waits == 5) gEngine->InjectWindow(GfxWindowAction::Restore);
        }
        if (point == LoopPoint::AfterFrame && m_Frames == 3) gEngine->InjectWindow(GfxWindowAction::Close);
    });
    EXPECT_EQ(Main(""), 0);
    EXPECT_EQ(waits, 5);
    EXPECT_TRUE(pausedWhileWaiting);
    EXPECT_EQ(std::count(sCalls.begin(), sCalls.end(), "title draw"), 3);
}

TEST_F(MainRun, LosingAndRegainingFocusPausesAndResumes) {
    Register(StateTitle, "title");
    std::vector<std::pair<bool, bool>> seen;  // (paused, inactive) after frames 2 and 3
    SetFrameHook([&](LoopPoint point) {
        if (point != LoopPoint::AfterFrame) return;
        ++m_Frames;
        if (m_Frames >= 2) seen.emplace_back(gPaused, gInactive);
        if (m_Frames == 1) gEngine->InjectWindow(GfxWindowAction::FocusLost);
        if (m_Frames == 2) gEngine->InjectWindow(GfxWindowAction::FocusGained);
        if (m_Frames == 3) gEngine->InjectWindow(GfxWindowAction::Close);
    });
    EXPECT_EQ(Main(""), 0);
    const std::vector<std::pair<bool, bool>> expected{{true, true}, {false, false}};
    EXPECT_EQ(seen, expected);
}

TEST_F(MainRun, F11AndAltEnterSwitchBetweenWindowAndFullScreenWhileTheGameRuns) {
    Register(StateTitle, "title");
    // After each switch: windowed, and whether the library drew its full-screen cursor at (0, 0).
    std::vector<std::pair<bool, bool>> seen;
    SetFrameHook([&](LoopPoint point) {
        if (point != LoopPoint::AfterFrame) return;
        ++m_Frames;
        if (m_Frames > 1) seen.emplace_back(gWindowed, gEngine->ReadPixel(0, 0) != 0xFF000000u);
        if (m_Frames == 1) {
            gEngine->InjectKey(GfxKey::F11, true);
            gEngine->InjectKey(GfxKey::F11, false);
        }
        if (m_Frames == 2) {
            gEngine->InjectKey(GfxKey::RightAlt, true);
            gEngine->InjectKey(GfxKey::Enter, true);
            gEngine->InjectKey(GfxKey::Enter, false);
            gEngine->InjectKey(GfxKey::RightAlt, false);
        }
        if (m_Frames == 3) gEngine->InjectWindow(GfxWindowAction::Close);
    });
    EXPECT_EQ(Main(""), 0);
    const std::vector<std::pair<bool, bool>> expected{{false, true}, {true, false}};
    EXPECT_EQ(seen, expected);
}

}  // namespace
