// SPDX-License-Identifier: GPL-3.0-or-later
// The runner's timing: inputs due at time T are injected as platform events before the frame
// at T handles its input; screenshots and dumps due at T are taken after that frame.
#include "Replay.h"

#include <fstream>
#include <iostream>

#include "Report.h"
#include "base/Globals.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"
#include "shell/Replays.h"
#include "shell/StartSettings.h"

Replay::Replay(std::istream& script, bool streaming, std::string name, std::filesystem::path outDir, std::ostream& log)
    : m_Script(script), m_Streaming(streaming), m_Name(std::move(name)), m_OutDir(std::move(outDir)), m_Log(log) {}

int Replay::Run() {
    const uint64_t bound = m_Streaming ? UINT64_MAX : MaxScriptBytes;
    try {
        // A script in a file is checked whole before the game starts, then read again as it runs.
        if (!m_Streaming) CheckScript(m_Script, bound);
        m_Reader.emplace(m_Script, bound);
        m_Settings = m_Reader->ReadSettings();
        CheckStartSettings(m_Settings);
        m_Player = ScriptPlayer(m_Settings.frameMs);
    } catch (const ScriptError& error) {
        std::cerr << "kindlewisp-replay: " << error.what() << '\n';
        return 2;
    }
    UseVirtualClock(0, m_Settings.clockSeconds, m_Settings.day);
    GfxEngine::SetHeadless(true);
    SetFrameHook([this](LoopPoint point) { OnLoop(point); });
    PlayScript(&m_Settings, m_Name);
    const int status = Main(m_Settings.args);
    PlayScript(nullptr, "");
    SetFrameHook(nullptr);
    return m_ScriptFailed ? 2 : status;
}

// Read until a command lies beyond the next frame, so every command due by then is known.
// Streaming, stop after a dump not yet taken: whoever writes the script may be waiting for it.
void Replay::ReadAhead() {
    auto& queue = m_Player.Queue();
    while (!m_InputDone && !m_ScriptFailed && m_Player.WantsMore()) {
        if (m_Streaming && !queue.empty() && queue.back().action.kind == ScriptAction::Kind::Dump && !queue.back().done)
            break;
        m_InputDone = !m_Player.ReadOne(*m_Reader);
        RunOutputs();  // an output for a frame already drawn is taken at once
    }
}

void Replay::OnLoop(LoopPoint point) {
    if (m_ScriptFailed) return;
    try {
        if (point == LoopPoint::BeforeFirstFrame) {
            if (m_Settings.joystick) gEngine->AttachVirtualJoystick();
        } else {
            m_Player.PassDone(point);
            RunOutputs();
            m_Player.Advance();
        }
        ReadAhead();
        m_Player.DeliverDue();
    } catch (const ScriptError& error) {
        ScriptFailed(error);
    }
}

void Replay::RunOutputs() {
    if (m_Player.Frames() == 0) return;  // nothing drawn yet
    for (auto& queued : m_Player.Queue()) {
        if (queued.done || !queued.action.IsOutput()) continue;
        // Against the pass just run, not the next one: a dump read ahead waits for its own frame.
        if (queued.action.at > m_Player.DrawnTime()) break;
        const ScriptAction& action = queued.action;
        queued.done = true;
        const auto path = m_OutDir / action.name;
        if (action.kind == ScriptAction::Kind::Screenshot) {
            if (!gEngine->SaveScreenshot(path.string()))
                std::cerr << "kindlewisp-replay: line " << action.line << ": could not write " << path << '\n';
            continue;
        }
        {
            std::ofstream out(path, std::ios::binary | std::ios::trunc);
            out << ReportText(m_Player.Frames());
            out.flush();
            if (!out) std::cerr << "kindlewisp-replay: line " << action.line << ": could not write " << path << '\n';
        }
        m_Log << "dumped " << action.name << std::endl;
    }
}

void Replay::ScriptFailed(const ScriptError& error) {
    // Mid-run (a script on standard input): the game still ends in order, then the status is 2.
    std::cerr << "kindlewisp-replay: " << error.what() << '\n';
    m_ScriptFailed = true;
    gRunning = false;
}
