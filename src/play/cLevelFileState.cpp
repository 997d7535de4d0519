// SPDX-License-Identifier: GPL-3.0-or-later
#include "play/cLevelFileState.h"

#include <iostream>
#include <system_error>
#include <utility>

#include "base/Globals.h"
#include "base/modError.h"
#include "engine/cSound.h"
#include "game/LevelCheck.h"
#include "gfx/Gfx.h"
#include "shell/CommandLine.h"
#include "shell/Replays.h"
#include "shell/cBaseState.h"
#include "shell/modMain.h"

cLevelFileState::cLevelFileState(std::filesystem::path levelFile) : cPlayState(NoSetUp{}) {
    std::error_code ec;
    m_LevelFile = std::filesystem::absolute(levelFile, ec);
    if (ec) m_LevelFile = std::move(levelFile);
    const LevelProblems problems = CheckLevelFile(m_LevelFile, true, GamePictures(gProgramFolder));
    std::string report;
    for (const LevelProblem& problem : problems) report += FormatProblem(m_LevelFile.string(), problem) + "\r\n";
    // Warnings go where the level maker started the game from; errors also stop the try.
    std::cerr << report;
    if (HasErrors(problems)) {
        m_Refused = true;
        WriteErrorLog("Level file refused:\r\n" + report);
        GfxEngine::MessageBox("Kindlewisp", "This level file cannot be played:\r\n" + report);
        return;
    }
    InitializeGraphics();
}

cLevelFileState::cLevelFileState(std::filesystem::path levelFile, Checked)
    : cPlayState(NoSetUp{}), m_LevelFile(std::move(levelFile)) {}

std::filesystem::path cLevelFileState::CommandLineFile() { return ::CommandLineFile("Level"); }

void cLevelFileState::HandleInput() {
    // A refused file is left from inside an operation of the state, as every switch is. A script's
    // inputs were meant for the level: the run ends, and never as a success.
    if (m_Refused) {
        if (ScriptDrivesRun()) ShutdownGameAfterError();
        SetState(StateTitle);
        return;
    }
    cPlayState::HandleInput();
}

void cLevelFileState::ProcessState() {
    if (!m_Refused) cPlayState::ProcessState();
}

void cLevelFileState::DrawState() {
    if (!m_Refused) cPlayState::DrawState();
}

void cLevelFileState::Destroy() {
    if (!m_Refused) cPlayState::Destroy();
}

void cLevelFileState::m_RestartButton_ButtonClick(int32_t& /*mouseButton*/) {
    gSound->Play("buttonclick.wav");
    Destroy();
    SetState(StateLevelFile);  // read and checked afresh: the maker may have changed it meanwhile
}

void cLevelFileState::PrepareLevelNumber() {
    // Shown as the current level; nothing is unlocked by trying a file.
    if (gCurrentLevel < 1) gCurrentLevel = 1;
}

void cLevelFileState::AdvanceLevel() {
    Destroy();
    SetState(StateTitle);
}
