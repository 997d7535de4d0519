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
        // A script in a file is checked whole before the game starts.
        if (!m_Streaming) {
            while (!m_InputDone) ReadOne();
            m_Reader.Next();  // after end: only raises if something follows it
        }
    } catch (const ScriptError& error) {
        std::cerr << "kindlewisp-replay: " << error.what() << '\n';
        return 2;
    }
    m_FrameMs = m_Settings.frameMs;
    UseVirtualClock(0, m_Settings.clockSeconds);
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
        end.at = m_Time;
        m_Queue.push_back({end});
        m_InputDone = true;
        return;
    }
    if (action->kind == ScriptAction::Kind::End) m_InputDone = true;
    m_Queue.push_back({*action});
}

// Streaming: read until a command lies beyond the next frame, so every command due by then is
// known, but stop after a dump not yet taken: whoever writes the script may be waiting for it.
void Replay::ReadAhead() {
    while (m_Streaming && !m_InputDone && !m_ScriptFailed) {
        if (!m_Queue.empty()) {
            const Queued& last = m_Queue.back();
            if (last.action.kind == ScriptAction::Kind::Dump && !last.done) break;
            if (last.action.at > m_Time) break;
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
            if (point == LoopPoint::AfterFrame) ++m_Frames;
            m_DrawnTime = m_Time;
            RunOutputs();
            for (const Queued& queued : m_Queue)
                if (queued.action.kind == ScriptAction::Kind::Frame && queued.action.at <= m_Time && !queued.done)
                    m_FrameMs = queued.action.frameMs;
            for (Queued& queued : m_Queue)
                if (queued.action.kind == ScriptAction::Kind::Frame && queued.action.at <= m_Time) queued.done = true;
            m_Time += m_FrameMs;
            AdvanceVirtualClock(m_FrameMs);
        }
        ReadAhead();
        DeliverInputs();
    } catch (const ScriptError& error) {
        ScriptFailed(error);
    }
}

void Replay::RunOutputs() {
    if (m_Frames == 0) return;  // nothing drawn yet
    for (Queued& queued : m_Queue) {
        if (queued.done || !queued.action.IsOutput()) continue;
        // Against the pass just run, not the next one: a dump read ahead waits for its own frame.
        if (queued.action.at > m_DrawnTime) break;
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
            out << ReportText(m_Frames);
            out.flush();
            if (!out) std::cerr << "kindlewisp-replay: line " << action.line << ": could not write " << path << '\n';
        }
        m_Log << "dumped " << action.name << std::endl;
    }
}

void Replay::DeliverInputs() {
    // The up halves of taps and clicks from the frame before.
    for (auto it = m_Releases.begin(); it != m_Releases.end();) {
        if (it->frame <= m_Frames) {
            Inject(it->action, false);
            it = m_Releases.erase(it);
        } else {
            ++it;
        }
    }
    bool allBeforeDone = true;
    for (Queued& queued : m_Queue) {
        if (queued.action.at > m_Time) break;
        if (queued.done || queued.action.IsOutput() || queued.action.kind == ScriptAction::Kind::Frame) {
            allBeforeDone = allBeforeDone && queued.done;
            continue;
        }
        // The close waits for everything before it, so a dump at the end time is still taken.
        if (queued.action.kind == ScriptAction::Kind::End && !allBeforeDone) break;
        queued.done = true;
        Deliver(queued.action);
    }
}

void Replay::Deliver(const ScriptAction& action) {
    using Kind = ScriptAction::Kind;
    switch (action.kind) {
        case Kind::End:
            if (!m_Closing) gEngine->InjectWindow(GfxWindowAction::Close);
            m_Closing = true;
            return;
        case Kind::Window:
            if (action.window == GfxWindowAction::Close) m_Closing = true;
            gEngine->InjectWindow(action.window);
            return;
        case Kind::MouseMove:
            gEngine->InjectMouseMove(action.x, action.y);
            return;
        case Kind::MouseClick: {
            gEngine->InjectMouseMove(action.x, action.y);
            ScriptAction left = action;
            left.kind = Kind::MouseButton;
            left.code = 1;
            Inject(left, true);
            m_Releases.push_back({m_Frames + 1, left});
            return;
        }
        case Kind::Key:
        case Kind::MouseButton:
        case Kind::JoyButton:
            if (action.press == Press::Up) {
                Inject(action, false);
                return;
            }
            Inject(action, true);
            if (action.press == Press::Tap) m_Releases.push_back({m_Frames + 1, action});
            return;
        case Kind::JoyAxis:
            gEngine->InjectJoyAxis(action.axis, action.code);
            return;
        default:
            return;
    }
}

void Replay::Inject(const ScriptAction& action, bool down) {
    switch (action.kind) {
        case ScriptAction::Kind::Key:
            gEngine->InjectKey(action.code, down);
            break;
        case ScriptAction::Kind::MouseButton:
            gEngine->InjectMouseButton(action.code, down);
            break;
        case ScriptAction::Kind::JoyButton:
            gEngine->InjectJoyButton(action.code, down);
            break;
        default:
            break;
    }
}

void Replay::ScriptFailed(const ScriptError& error) {
    // Mid-run (a script on standard input): the game still ends in order, then the status is 2.
    std::cerr << "kindlewisp-replay: " << error.what() << '\n';
    m_ScriptFailed = true;
    gRunning = false;
}
