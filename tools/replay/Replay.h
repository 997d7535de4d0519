// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real program headless under a script: owns the script reader and the player of its
// actions, and takes the screenshots and dumps. Script errors end the run with exit status 2.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "gfx/Script.h"
#include "shell/ScriptPlayer.h"
#include "shell/modMain.h"

class Replay final {
public:
    // script: a file (checked whole before the game starts, then read again as the game runs) or,
    // streaming, standard input. name: the script's, for messages.
    Replay(std::istream& script, bool streaming, std::string name, std::filesystem::path outDir, std::ostream& log);
    // Exit status: 0 orderly, 1 error box or a report that ended the program, 2 script error.
    int Run();

private:
    void OnLoop(LoopPoint point);
    void ReadAhead();
    void RunOutputs();
    void ScriptFailed(const ScriptError& error);

    std::istream& m_Script;
    std::optional<ScriptReader> m_Reader;
    bool m_Streaming;  // script from standard input
    std::string m_Name;
    std::filesystem::path m_OutDir;
    std::ostream& m_Log;  // "dumped NAME" lines
    ScriptSettings m_Settings;
    ScriptPlayer m_Player{16};
    bool m_InputDone = false;  // end of input, or an end command, has been read
    bool m_ScriptFailed = false;
};
