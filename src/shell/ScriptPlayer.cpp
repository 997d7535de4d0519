// SPDX-License-Identifier: GPL-3.0-or-later
// Inputs due at time T are injected as platform events before the frame at T handles its input.
#include "shell/ScriptPlayer.h"

#include "base/Globals.h"
#include "gfx/Clock.h"
#include "gfx/Gfx.h"

bool ScriptPlayer::ReadOne(ScriptReader& reader) {
    auto action = reader.Next();
    if (!action) {
        ScriptAction end;
        end.kind = ScriptAction::Kind::End;
        end.at = m_Time;
        Add(end);
        return false;
    }
    Add(*action);
    return action->kind != ScriptAction::Kind::End;
}

void ScriptPlayer::DropDone() {
    while (!m_Queue.empty() && m_Queue.front().done) m_Queue.pop_front();
}

void ScriptPlayer::PassDone(LoopPoint point) {
    if (point == LoopPoint::AfterFrame) ++m_Frames;
    m_DrawnTime = m_Time;
}

void ScriptPlayer::Advance() {
    DropDone();
    for (Queued& queued : m_Queue) {
        if (queued.action.at > m_Time) break;
        if (queued.action.kind != ScriptAction::Kind::Frame || queued.done) continue;
        m_FrameMs = queued.action.frameMs;
        queued.done = true;
    }
    m_Time += m_FrameMs;
    AdvanceVirtualClock(m_FrameMs);
}

void ScriptPlayer::DeliverDue() {
    DropDone();
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

void ScriptPlayer::Deliver(const ScriptAction& action) {
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
        case Kind::MouseWheel:
            gEngine->InjectMouseWheel(action.code);
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

void ScriptPlayer::Inject(const ScriptAction& action, bool down) {
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
