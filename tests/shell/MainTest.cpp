// SPDX-License-Identifier: GPL-3.0-or-later
// The whole program run headless with stand-in screens: start-up, the frame loop, state
// switches and the orderly end, observed through the files it leaves and the order of calls.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "gfx/GfxInstanceLock.h"
#include "shell/cBaseState.h"
#include "shell/modMain.h"
#include "support/GameFolder.h"

namespace {

std::vector<std::string> sCalls;

// A screen whose operations record themselves; its input and its release also run what the test asks.
class StandIn final : public cBaseState {
public:
    using Op = std::function<void()>;
    StandIn(std::string name, Op input, Op release)
        : m_Name(std::move(name)), m_Input(std::move(input)), m_Release(std::move(release)) {
        InitializeGraphics();
    }
    ~StandIn() override {
        if (m_Release) m_Release();
        sCalls.push_back(m_Name + " released");
    }
    void InitializeGraphics() override { sCalls.push_back(m_Name + " init"); }
    void HandleInput() override {
        sCalls.push_back(m_Name + " input");
        if (m_Input) m_Input();
        sCalls.push_back(m_Name + " input returns");
    }
    void ProcessState() override { sCalls.push_back(m_Name + " process"); }
    void DrawState() override { sCalls.push_back(m_Name + " draw"); }
    void Destroy() override { sCalls.push_back(m_Name + " destroy"); }

private:
    std::string m_Name;
    Op m_Input, m_Release;
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
        Register(StateTitle, "title");
    }
    void TearDown() override {
        SetFrameHook(nullptr);
        ClearStateFactories();
    }
    static void Register(int number, const std::string& name, StandIn::Op input = {}, StandIn::Op release = {}) {
        RegisterStateFactory(number, [=] { return std::make_unique<StandIn>(name, input, release); });
    }
    // Runs after[n] after frame n + 1, and onMinimised in each pass of the wait while minimised;
    // closes the window after the last. Notes paused, inactive, windowed and the library's
    // full-screen cursor at (0, 0) after each frame.
    void Drive(std::vector<std::function<void()>> after, std::function<void()> onMinimised = {}) {
        SetFrameHook([this, after, onMinimised](LoopPoint point) {
            if (point == LoopPoint::Minimised && onMinimised) onMinimised();
            if (point != LoopPoint::AfterFrame) return;
            m_Seen.push_back(std::to_string(gPaused) + std::to_string(gInactive) + std::to_string(gWindowed) +
                             std::to_string(gEngine->ReadPixel(0, 0) != 0xFF000000u));
            if (after[m_Frames]) after[m_Frames]();
            if (++m_Frames == after.size()) gEngine->InjectWindow(GfxWindowAction::Close);
        });
    }
    static std::function<void()> Window(GfxWindowAction action) {
        return [action] { gEngine->InjectWindow(action); };
    }
    static long Count(const std::string& call) { return std::count(sCalls.begin(), sCalls.end(), call); }
    kwtest::GameFolder m_Folder;
    size_t m_Frames = 0;
    std::vector<std::string> m_Seen;
};

TEST_F(MainRun, ASwitchHandsTheRestOfThePassToTheNewStateAndClosingTheWindowEndsInOrder) {
    Register(StateTitle, "title", [] {
        sCalls.push_back("title destroy");
        gMusicVolume = 10;
        SetState(StatePlay);
    });
    // The state current at exit fails its last save, as a play state on a full disk does: logged.
    Register(StatePlay, "play", {},
             [] { ReportError(ErrorNumber::PathNotFound, "cScores", "SaveScores", "cannot save", true, true, false); });
    m_Folder.WriteText("game/levels/level1.dat", "x");
    Drive({{}});
    EXPECT_EQ(Main(""), 0);
    // The old state goes once its operation has returned; the one current at exit, without Destroy.
    const std::vector<std::string> expected{"title init",   "title input",         "title destroy",
                                            "play init",    "title input returns", "title released",
                                            "play process", "play draw",           "play released"};
    EXPECT_EQ(sCalls, expected);
    // Then the settings are saved and the unpacked files deleted.
    EXPECT_EQ(m_Folder.ReadText("game/data/game.dat"), "3\r\n10\r\n60\r\n");
    EXPECT_FALSE(m_Folder.Exists("game/images/sprites.png") || m_Folder.Exists("game/levels/level1.dat"));
    const std::string log = m_Folder.ReadText("game/errors.log");
    EXPECT_NE(log.find("cScores.SaveScores"), std::string::npos) << log;
}

TEST_F(MainRun, AnUnhandledFaultEndsThroughTheErrorBoxWithOneLogEntryAndStillSavesSettings) {
    Register(StateTitle, "title", [] {
        gSoundVolume = 10;
        throw RuntimeError(ErrorNumber::TypeMismatch, "Type mismatch");
    });
    EXPECT_EQ(Main(""), 1);
    const auto lines = m_Folder.LogLines();
    ASSERT_EQ(lines.size(), 4u);
    EXPECT_EQ(lines[0], "Unknow Error Occurred While Initializing. ");
    EXPECT_EQ(lines[1], "13 Error Description: Type mismatch");
    EXPECT_EQ(m_Folder.ReadText("game/data/game.dat"), "3\r\n70\r\n10\r\n");
}

// Saving the scores when a play state is released can fail; the report must not throw out of the
// destructor (that would abort the process) but still end the program in order.
TEST_F(MainRun, AReportThatEndsTheProgramFromAReleasedStateEndsItAfterTheRelease) {
    Register(
        StateTitle, "title", [] { SetState(StatePlay); },
        [] { ReportError(ErrorNumber::PathNotFound, "cScores", "SaveScores", "cannot save", true, true, true); });
    Register(StatePlay, "play");
    EXPECT_EQ(Main(""), 1);
    const std::vector<std::string> expected{"title init",          "title input",    "play init",
                                            "title input returns", "title released", "play released"};
    EXPECT_EQ(sCalls, expected);
    EXPECT_EQ(m_Folder.LogLines().size(), 7u);
}

TEST_F(MainRun, ASecondCopyInTheSameFolderSaysSoAndTouchesNothing) {
    GfxInstanceLock first;
    ASSERT_EQ(first.Acquire(m_Folder.Path("game/kindlewisp.lock")), GfxInstanceLock::Result::Acquired);
    Drive({{}});
    testing::internal::CaptureStderr();
    EXPECT_EQ(Main(""), 1);
    EXPECT_NE(testing::internal::GetCapturedStderr().find("Kindlewisp is already running."), std::string::npos);
    EXPECT_TRUE(m_Folder.Exists("game/images/sprites.png"));
    EXPECT_FALSE(m_Folder.Exists("game/errors.log"));
    EXPECT_TRUE(sCalls.empty());
    first.Release();
    EXPECT_EQ(Main(""), 0);  // free again once the first copy has gone
}

TEST_F(MainRun, WhileMinimisedNothingIsUpdatedOrDrawnAndThePauseFlagIsSet) {
    int waits = 0;
    bool pausedWhileWaiting = true;
    Drive({Window(GfxWindowAction::Minimize), {}, {}}, [&] {
        pausedWhileWaiting = pausedWhileWaiting && gPaused;
        if (++waits == 5) gEngine->InjectWindow(GfxWindowAction::Restore);
    });
    EXPECT_EQ(Main(""), 0);
    EXPECT_EQ(waits, 5);
    EXPECT_TRUE(pausedWhileWaiting);
    EXPECT_EQ(m_Seen, (std::vector<std::string>{"0010", "0010", "0010"}));
    EXPECT_EQ(Count("title draw"), 3);
}

TEST_F(MainRun, LosingFocusPausesUntilRegainedAndF11SwitchesBetweenWindowAndFullScreen) {
    const auto f11 = [] {
        gEngine->InjectKey(GfxKey::F11, true);
        gEngine->InjectKey(GfxKey::F11, false);
    };
    Drive({Window(GfxWindowAction::FocusLost), Window(GfxWindowAction::FocusGained), f11, f11, {}});
    EXPECT_EQ(Main(""), 0);
    EXPECT_EQ(m_Seen, (std::vector<std::string>{"0010", "1110", "0010", "0001", "0010"}));
}

// Watching a replay plays its recorded command line's level, refuses one that has changed, and
// answers the player's close and Esc at once, even inside a recorded frame an hour long.
TEST_F(MainRun, AWatchedReplayPlaysItsLevelAndAnswersThePlayerWithinAnHoursFrame) {
    m_Folder.WriteText("mine.dat", "a level");
    const std::string replay = "Replay=" + m_Folder.Path("watch.kws").string();
    const auto record = [&](const std::string& start) {
        m_Folder.WriteImage("game/images/sprites.png", 64, 400);  // a run deletes what it unpacked
        m_Folder.WriteText("watch.kws", "args Level=" + m_Folder.Path("mine.dat").string() + "\n" + start +
                                            "frame 3600000\nend 7200000\n");
    };
    Register(StateTitle, "title", [] { gEngine->InjectWindow(GfxWindowAction::Close); });
    for (const int32_t key : {0, GfxKey::Escape}) {
        sCalls.clear();
        Register(StateLevelFile, "level",
                 [key] { key == 0 ? gEngine->InjectWindow(GfxWindowAction::Close) : gEngine->InjectKey(key, true); });
        record("");
        EXPECT_EQ(Main(replay), 0);
        EXPECT_EQ(Count("level input"), 1);
        EXPECT_EQ(Count("title input"), key == 0 ? 0 : 1);  // Esc: play goes on live, on the title
    }
    sCalls.clear();
    record("start levelFile 0123456789abcdef\n");
    testing::internal::CaptureStderr();
    EXPECT_EQ(Main(replay), 1);
    EXPECT_EQ(Main("Replay=" + m_Folder.Path("game").string()), 1);
    const std::string err = testing::internal::GetCapturedStderr();
    EXPECT_NE(err.find("has changed since it was recorded"), std::string::npos) << err;
    EXPECT_NE(err.find("could not be read: it is a folder, not a file."), std::string::npos) << err;
    EXPECT_EQ(Count("level init"), 0);
}

}  // namespace
