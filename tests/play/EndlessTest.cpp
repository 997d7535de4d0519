// SPDX-License-Identifier: GPL-3.0-or-later
// An endless run with a stand-in worker script: each board comes from the worker, the next is made
// while one is played, every way out of play kills and reaps the worker and removes its folder, a
// failing worker is tried MaxAttempts times and then ends the run, and the run keeps its own table.
#include <signal.h>

#include <cerrno>
#include <string>

#include "PlayFixture.h"
#include "engine/cMouse.h"
#include "game/PlayGeometry.h"
#include "play/cEndlessState.h"
#include "shell/AssetTable.h"
#include "shell/CommandLine.h"
#include "shell/modMain.h"
#include "ui/GameStates.h"

namespace {
namespace fs = std::filesystem;

class EndlessProbe : public cEndlessState {
public:
    using cEndlessState::AdvanceLevel;
    using cEndlessState::cEndlessState;
};

// A board lost some seconds into play, unless the player acts.
const std::string kBoard = [] {
    std::string text = "100\r\n15\r\nmeadow\r\nNO\r\n";
    for (int row = 0; row < 15; ++row) text += "RBGPYRBGPYRBGPYRBGP\r\n";
    return text;
}();

bool Reaped(pid_t pid) { return ::kill(pid, 0) != 0 && errno == ESRCH; }

class EndlessTest : public playtest::PlayFixture {
protected:
    void SetUp() override {
        // A run makes every background ready before its first board.
        for (const std::string_view background : assets::kBackgrounds)
            m_Folder.WritePicture(std::string(background) + ".png", playtest::kSkyColour);
        m_Folder.WriteText("board.dat", kBoard);
        PlayFixture::SetUp();
        RegisterGameStates();
        RegisterStateFactory(StateEndless,
                             [] { return std::make_unique<EndlessProbe>(cEndlessState::TakeRequestedSeed()); });
        cEndlessState::SetWorkerProgram(m_Folder.Path("worker"));
    }
    void TearDown() override {
        gCurrentState.reset();
        cEndlessState::SetWorkerProgram({});
        PlayFixture::TearDown();
    }
    // The worker makes the first `boards` boards at once, and after them never finishes.
    void Worker(int boards, const std::string& otherwise = "exec sleep 600") const {
        m_Folder.WriteText("worker", "#!/bin/sh\n# generate --seed S --board N --out FILE\n[ \"$5\" -le " +
                                         std::to_string(boards) +
                                         " ] && exec cp \"$(dirname \"$0\")/board.dat\" \"$7\"\n" + otherwise + "\n");
        fs::permissions(m_Folder.Path("worker"), fs::perms::owner_all);
    }
    EndlessProbe& Run(uint32_t seed) {
        cEndlessState::RequestRun(seed);
        SetState(StateEndless);
        return *dynamic_cast<EndlessProbe*>(gCurrentState.get());
    }
};

TEST_F(EndlessTest, EachBoardComesFromTheWorkerWhichMakesTheNextWhileOneIsPlayed) {
    Worker(2);
    EndlessProbe& run = Run(7);
    EXPECT_TRUE(run.WaitingForBoard());
    Frame();
    EXPECT_EQ(run.BoardNumber(), 1);
    EXPECT_EQ(run.Board().Count(), 15 * 19);
    EXPECT_TRUE(run.LevelIntro());
    ASSERT_TRUE(run.Worker().Process()) << "board 2 is made while board 1 is played";
    run.AdvanceLevel();  // board 1 won, its bonus counted
    const int32_t score = run.Scores()->CurrentScore();
    Frame();
    EXPECT_EQ(run.BoardNumber(), 2);
    EXPECT_EQ(run.Scores()->CurrentScore(), score);
    EXPECT_FALSE(fs::exists(run.BoardFolder() / "board1.dat"));
    EXPECT_TRUE(run.Worker().Process()) << "board 3";
}

enum class Way { ExitButton, RestartButton, GameOver, Release };
class WaysOut : public EndlessTest, public ::testing::WithParamInterface<Way> {};

TEST_P(WaysOut, KillAndReapTheWorkerAndRemoveItsFolder) {
    Worker(1);
    m_Folder.WriteText("game/data/endless-scores.dat", "KWSCORES 1\n900 AAA\nnot a row\n");
    const std::string scores = m_Folder.ReadText("game/data/scores.dat");
    EndlessProbe& run = Run(42);
    Frame();
    const pid_t worker = run.Worker().Process().value_or(-1);
    const fs::path folder = run.BoardFolder();
    ASSERT_GT(worker, 0);
    ASSERT_TRUE(fs::is_directory(folder));
    const auto click = [](int32_t buttonY) {
        ClickAt(static_cast<float>(PlayGeometry::ButtonX + 50), static_cast<float>(buttonY + 20));
    };
    switch (GetParam()) {
        case Way::ExitButton:
            click(PlayGeometry::ExitY);
            EXPECT_EQ(CurrentStateNumber(), StateTitle);
            break;
        case Way::RestartButton:
            click(PlayGeometry::RestartY);
            EXPECT_EQ(dynamic_cast<cEndlessState&>(*gCurrentState).Seed(), 42u) << "the same seed again";
            break;
        case Way::GameOver:
            for (int i = 0; i < 1000 && !run.GameOver(); ++i) Frame();
            EXPECT_TRUE(run.GameOver());
            break;
        case Way::Release:  // Esc, the window's close, SIGTERM and a fatal report end in the release
            gCurrentState.reset();
            break;
    }
    EXPECT_TRUE(Reaped(worker));
    EXPECT_FALSE(fs::exists(folder));
    if (GetParam() != Way::GameOver) return;
    // The run's own table, repaired as scores.dat is; scores.dat is left alone.
    gCurrentState.reset();
    EXPECT_TRUE(m_Folder.Exists("game/data/endless-scores.dat.bad"));
    EXPECT_NE(m_Folder.ReadText("game/data/endless-scores.dat").find("\n900 AAA\n"), std::string::npos);
    EXPECT_EQ(m_Folder.ReadText("game/data/scores.dat"), scores);
}

INSTANTIATE_TEST_SUITE_P(Endless, WaysOut,
                         ::testing::Values(Way::ExitButton, Way::RestartButton, Way::GameOver, Way::Release));

TEST_F(EndlessTest, AFailingWorkerIsTriedAgainThenTheRunEndsWithItsReason) {
    Worker(0, "echo 'no board for this seed' >&2; exit 3");
    EndlessProbe& run = Run(5);
    for (int i = 0; i < cEndlessState::MaxAttempts; ++i) Frame();
    EXPECT_FALSE(run.WaitingForBoard());
    EXPECT_NE(run.Failure().find("exit status 3: no board for this seed"), std::string::npos) << run.Failure();
    EXPECT_NE(ErrorLog().find("try 3 of 3"), std::string::npos);
    for (const auto& entry : fs::directory_iterator(m_Folder.Path("game")))
        EXPECT_EQ(entry.path().filename().string().rfind("endless-", 0), std::string::npos) << entry.path();
    TapKey(GfxKey::Enter);
    EXPECT_EQ(CurrentStateNumber(), StateTitle);
}

TEST_F(EndlessTest, TheDailySeedIsTheClocksDateAndMovesOnAtMidnight) {
    SetCommandLine("Endless=DAILY");
    UseVirtualClock(0, 24 * 3600 - 0.5, *DayOfDate({2028, 2, 28}));
    EXPECT_EQ(cEndlessState::TakeRequestedSeed(), 20280228u);
    AdvanceVirtualClock(500);
    EXPECT_EQ(cEndlessState::TakeRequestedSeed(), 20280229u) << "a leap day";
    SetCommandLine("Endless=4294967295");
    EXPECT_EQ(cEndlessState::TakeRequestedSeed(), 4294967295u);
    cEndlessState::RequestRun(9);  // the title's choice or a restart comes first, once
    EXPECT_EQ(cEndlessState::TakeRequestedSeed(), 9u);
    EXPECT_EQ(cEndlessState::TakeRequestedSeed(), 4294967295u);
    SetCommandLine("");
}

}  // namespace
