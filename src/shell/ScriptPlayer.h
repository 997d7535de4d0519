// SPDX-License-Identifier: GPL-3.0-or-later
// Plays a script's input into the game at the frames it names: the runner's timing, shared by the
// runner and by watching a replay in the game. Holds only the actions read and not yet done, read
// a frame ahead, so a replay costs the same for each event however long the script is.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "gfx/Script.h"
#include "shell/modMain.h"

class ScriptPlayer final {
public:
    struct Queued {
        ScriptAction action;
        bool done = false;
    };

    explicit ScriptPlayer(uint32_t frameMs) : m_FrameMs(frameMs) {}

    void Add(const ScriptAction& action) { m_Queue.push_back({action}); }
    // The next action from the reader, or at the end of its input an end at the coming frame (which
    // then waits for everything before it). False once the end has been read.
    bool ReadOne(ScriptReader& reader);
    // Whether an action due by the coming frame may still be unread.
    bool WantsMore() const { return m_Queue.empty() || m_Queue.back().action.at <= m_Time; }
    // A pass of the frame loop other than the one before the first frame is over.
    void PassDone(LoopPoint point);
    // The frame lengths due, then the virtual clock's step to the next frame.
    void Advance();
    // Inputs due by the coming frame, injected as platform events so they take the pump's path;
    // the up half of a tap or click one frame later.
    void DeliverDue();

    // Read and not yet done, in script order (the runner takes the outputs).
    std::deque<Queued>& Queue() { return m_Queue; }
    uint64_t Time() const { return m_Time; }            // virtual ms of the coming frame
    uint64_t DrawnTime() const { return m_DrawnTime; }  // virtual ms of the pass just run
    int32_t Frames() const { return m_Frames; }         // frames drawn so far

private:
    struct Release {
        int32_t frame;
        ScriptAction action;
    };
    void Deliver(const ScriptAction& action);
    static void Inject(const ScriptAction& action, bool down);
    void DropDone();

    std::deque<Queued> m_Queue;
    std::vector<Release> m_Releases;
    uint32_t m_FrameMs;
    uint64_t m_Time = 0;
    uint64_t m_DrawnTime = 0;
    int32_t m_Frames = 0;
    bool m_Closing = false;  // the close has been delivered
};
