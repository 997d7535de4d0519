// SPDX-License-Identifier: GPL-3.0-or-later
// An endless run: board after board of one seed, each made and proven by the board worker
// (kindlewisp-level generate) in a process of its own while the board before is played, and played
// as a level is; the score carries over, and the first board lost ends the run. Owns the worker,
// the private folder its boards are written to, and the run's own top ten (a file of its own).
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

#include "gfx/GfxWorker.h"
#include "play/cPlayState.h"

// Not final: the tests open its rules to end a board.
class cEndlessState : public cPlayState {
public:
    // Starts making board 1; the play screen is built once it has come.
    explicit cEndlessState(uint32_t seed);
    ~cEndlessState() override;

    void HandleInput() override;
    void ProcessState() override;
    void DrawState() override;
    void Destroy() override;
    // A fresh run on the same seed.
    void m_RestartButton_ButtonClick(int32_t& mouseButton) override;

    uint32_t Seed() const { return m_Seed; }
    int32_t BoardNumber() const { return m_BoardNumber; }  // 0 until board 1 has come
    bool WaitingForBoard() const { return m_Waiting; }
    const std::string& Failure() const { return m_Failure; }  // why the run ended early, "" if it did not
    const std::filesystem::path& BoardFolder() const { return m_Folder; }
    const GfxWorker& Worker() const { return m_Worker; }

    // The seed the next run starts on (the title's choice, a restart); without a request, the
    // command line's Endless=SEED or Endless=daily.
    static void RequestRun(uint32_t seed);
    static uint32_t TakeRequestedSeed();
    // Today's seed, from the platform clock's date; a random run's, from the library's generator.
    static uint32_t TodaysSeed();
    static uint32_t RandomSeed();
    // The board worker; tests put a stand-in here. Empty: kindlewisp-level beside the game.
    static void SetWorkerProgram(std::filesystem::path program);
    // Tries for one board before the run gives up.
    static constexpr int32_t MaxAttempts = 3;

protected:
    std::filesystem::path LevelFilePath() override { return m_BoardFile; }
    std::string LevelReportName() const override;
    void PrepareLevelNumber() override {}  // a run unlocks no level
    std::string ScoresFile() const override;
    std::string LevelHeading() const override { return "Endless"; }
    void DrawLevelLabel() override;
    void DrawLevelCaption(int16_t alpha) override;
    void DrawAfterQueue() override;
    // The board is won: wait for the next one.
    void AdvanceLevel() override;

private:
    void StartWorker(int32_t board);
    void TakeBoardWhenReady();
    // A try for the board failed: once more, or the run ends.
    void WorkerFailed(const std::string& why);
    void EndWorker();
    // The run ends at once: the game-over display over the board in play.
    void EndRun();
    void DrawProgress();
    void DrawRunTable();

    uint32_t m_Seed;
    int32_t m_BoardNumber = 0;          // the board in play
    int32_t m_WorkerBoard = 0;          // the board the worker makes
    int32_t m_Attempts = 0;             // tries for m_WorkerBoard so far
    std::filesystem::path m_Folder;     // the worker's output; removed when the worker ends
    std::filesystem::path m_BoardFile;  // the board in play
    GfxWorker m_Worker;
    bool m_Waiting = true;     // the next board is awaited: its intro shows with a sign of progress
    bool m_Started = false;    // board 1 has come and the play screen is built
    std::string m_Failure;     // the worker gave up: the run is over
    int32_t m_WaitPasses = 0;  // passes spent waiting, which step the sign of progress
    bool m_MouseHeld = false;  // the left button was down in the last pass
};
