// Runs the real program headless under a script: owns the script reader, the queue of actions
// not yet performed, and the virtual time. Script errors end the run with exit status 2.
#pragma once

#include <cstdint>
#include <filesystem>
#include <iosfwd>
#include <string>
#include <vector>

#include "gfx/Script.h"
#include "shell/modMain.h"

class Replay final {
public:
    Replay(std::istream& script, bool streaming, std::filesystem::path outDir, std::ostream& log);
    // Exit status: 0 orderly, 1 error box or a report that ended the program, 2 script error.
    int Run();

private:
    struct Queued {
        ScriptAction action;
        bool done = false;
    };
    struct Release {  // the up half of a tap or click, due before a later frame
        int32_t frame;
        ScriptAction action;
    };

    void OnLoop(LoopPoint point);
    void ReadAhead();
    void ReadOne();
    void RunOutputs();
    void DeliverInputs();
    void Deliver(const ScriptAction& action);
    void Inject(const ScriptAction& action, bool down);
    void ScriptFailed(const ScriptError& error);

    ScriptReader m_Reader;
    bool m_Streaming;  // script from standard input: read only as far as needed
    std::filesystem::path m_OutDir;
    std::ostream& m_Log;  // "dumped NAME" lines
    ScriptSettings m_Settings;
    std::vector<Queued> m_Queue;  // every action read, in script order
    std::vector<Release> m_Releases;
    bool m_InputDone = false;  // end of input, or an end command, has been read
    bool m_ScriptFailed = false;
    uint32_t m_FrameMs = 16;
    uint32_t m_Time = 0;       // virtual ms since start of the frame about to run or just run
    uint32_t m_DrawnTime = 0;  // virtual ms of the last pass of the frame loop
    int32_t m_Frames = 0;      // frames drawn so far
    bool m_Closing = false;    // the close has been delivered
};
