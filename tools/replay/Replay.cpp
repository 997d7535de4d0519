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

Replay::Replay(std::istream& script, bool streaming, std::filesystem::path outDir, std::ostream& log)
    : m_Reader(script), m_Streaming(streaming), m_OutDir(std::move(outDir)), m_Log(log) {}

int Replay::Run() {
    try {
        m_Settings = m_Reader.ReadSettings();
        m_Player = ScriptPlayer(m_Settings.frameMs);
        // A script in a file is checked whole before the game starts.
        if (!m_Streaming) {
            while (!m_InputDone) ReadOne();
            m_Reader.Next();  // after end: only raises if something follows it
        }
    } catch (const ScriptError& error) {
        std::cerr << "kindlewisp-replay: " << error.what() << '\n';
        return 2;
    }
    UseVirtualClock(0, m_Settings.clockSeconds, m_Settings.day);
    GfxEngine::SetHeadless(true);
    SetFrameHook([this](LoopPoint point) { OnLoop(point); });
    const int status = Main(m_Settings.args);
    SetFrameHook(nullptr);
    return m_ScriptFailed ? 2 : status;
}

void Replay::ReadOne() {
    auto action = m_Reader.Next();
    if (!action) {
        // End of input acts as end at the current time.
        ScriptAction end;
        end.kind = ScriptAction::Kind::End;
        end.at = m_Player.Time();
        m_Player.Add(end);
        m_InputDone = true;
        return;
    }
    if (action->kind == ScriptAction::Kind::End) m_InputDone = true;
    m_Player.Add(*action);
}

// Streaming: read until a command lies beyond the next frame, so every command due by then is
// known, but stop after a dump not yet taken: whoever writes the script may be waiting for it.
void Replay::ReadAhead() {
    auto& queue = m_Player.Queue();
    while (m_Streaming && !m_InputDone && !m_ScriptFailed) {
        if (!queue.empty()) {
            const auto& last = queue.back();
            if (last.action.kind == ScriptAction::Kind::Dump && !last.done) break;
            if (last.action.at > m_Player.Time()) break;
        }
        ReadOne();
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
