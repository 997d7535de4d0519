// SPDX-License-Identifier: GPL-3.0-or-later
// Runs the real program headless under a script: owns the script reader and the player of its
// actions, and takes the screenshots and dumps. Script errors end the run with exit status 2.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "gfx/Script.h"
#include "shell/ScriptPlayer.h"
#include "shell/modMain.h"

class Replay final {
public:
    Replay(std::istream& script, bool streaming, std::filesystem::path outDir, std::ostream& log);
    // Exit status: 0 orderly, 1 error box or a report that ended the program, 2 script error.
    int Run();

private:
    void OnLoop(LoopPoint point);
    void ReadAhead();
    void ReadOne();
    void RunOutputs();
    void ScriptFailed(const ScriptError& error);

    ScriptReader m_Reader;
    bool m_Streaming;  // script from standard input: read only as far as needed
    std::filesystem::path m_OutDir;
    std::ostream& m_Log;  // "dumped NAME" lines
    ScriptSettings m_Settings;
    ScriptPlayer m_Player{16};
    bool m_InputDone = false;  // end of input, or an end command, has been read
    bool m_ScriptFailed = false;
};
