// SPDX-License-Identifier: GPL-3.0-or-later
// Records a run as the scripted runner's script: the start, the frame lengths when they change,
// and every input in the frame the game read it, so that the runner plays the run again exactly.
// The event pump reports the input after its hold-over has decided which frame sees it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "gfx/Gfx.h"

class ScriptRecorder final {
public:
    // startMs: the clock's milliseconds (ClockElapsedMs) when the recording starts, at the time
    // of day clockSeconds of the date `day` (a day number, gfx/Clock.h). Counted in 64 bits, a
    // recording runs on past the 32-bit tick's wrap.
    ScriptRecorder(uint64_t startMs, double clockSeconds, int32_t day, const std::string& args);
    // A setting the run starts from (`start NAME VALUE`), before the first frame.
    void Start(const std::string& name, const std::string& value);

    // At each pass of the frame loop, once the clock has stepped: the clock's milliseconds then.
    void Frame(uint64_t elapsedMs);
    void Key(int32_t scanCode, bool down);  // keys the script cannot name are never read by the game
    void MouseMove(float x, float y);
    void MouseButton(int32_t button, bool down, float x, float y);  // 1 left, 2 right
    void MouseWheel(int32_t steps);
    void JoyButton(int32_t button, bool down);
    void JoyAxes(int32_t x, int32_t y);  // the axes as read after a pump, written when they change
    void Window(GfxWindowAction action);
    // The end of a pump: a move is written once, where the pointer came to rest.
    void PumpDone();

    // The whole script so far, ending one frame after the last one began, so a frame that ended
    // the program (Escape, a report) still runs when it is replayed.
    std::string Text() const;
    // The same, ending the recording: the text is handed over, not copied.
    std::string Finish();

private:
    void Setting(const std::string& line);  // a line before the first timed one
    void Line(const std::string& action);
    void UsesJoystick();  // the script attaches one, from its first joystick action
    std::string EndLine() const;
    uint64_t Now() const { return m_Ms - m_StartMs; }
    void FlushMove();

    uint64_t m_StartMs;
    uint64_t m_Ms;  // the frame that input now reaches
    uint32_t m_FrameMs = 16;
    std::string m_Text;        // the script so far, but for its end
    size_t m_SettingsEnd = 0;  // where the settings end and the timed lines begin
    bool m_Joystick = false;   // a joystick action was written
    bool m_MovePending = false;
    float m_MoveX = 0, m_MoveY = 0;        // where the pending move ends
    float m_WrittenX = 0, m_WrittenY = 0;  // where the replay's pointer is
    int32_t m_AxisX = 0, m_AxisY = 0;
};
