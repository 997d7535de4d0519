// SPDX-License-Identifier: GPL-3.0-or-later
// The play state on a level file named on the command line (Level=FILE), so a level maker can
// try a level without installing or unlocking it: played as the current level, scores not saved.
// A file with errors is refused with the checker's findings, and the game goes to the title.
#pragma once

#include <filesystem>
#include <string>

#include "play/cPlayState.h"

class cLevelFileState : public cPlayState {
public:
    // Checks the file first, and builds the level only when it has no errors.
    explicit cLevelFileState(std::filesystem::path levelFile);

    void HandleInput() override;
    void ProcessState() override;
    void DrawState() override;
    void Destroy() override;
    void m_RestartButton_ButtonClick(int32_t& mouseButton) override;

    bool Refused() const { return m_Refused; }
    // The file named by the command line's Level option, "" when there is none.
    static std::filesystem::path CommandLineFile();

protected:
    // For a state that plays a file its caller has checked: it builds nothing, so that the
    // deriving state's own hooks are in force when it runs InitializeGraphics.
    struct Checked {};
    cLevelFileState(std::filesystem::path levelFile, Checked);

    std::filesystem::path LevelFilePath() override { return m_LevelFile; }
    std::string LevelReportName() const override { return m_LevelFile.string(); }
    void PrepareLevelNumber() override;
    bool SavesScores() const override { return false; }
    // The try is over once the level is won: back to the title.
    void AdvanceLevel() override;

private:
    std::filesystem::path m_LevelFile;
    bool m_Refused = false;  // the file has errors; the first frame switches to the title
};
