// SPDX-License-Identifier: GPL-3.0-or-later
// The one clock of the game. Real time follows SDL's tick counter, but is read only once per pass
// of the frame loop (StepFrameClock), so every read within a frame agrees and the start and the
// frame lengths alone reproduce every tick and time of day the game saw; tests and the scripted
// runner switch to a virtual clock that they advance themselves.
#pragma once

#include <cstdint>

// Milliseconds, wrapping in 32 bits. Compare with TicksSince, never with < on raw values.
int32_t GetTickCount();
// Seconds since midnight: the time of day the clock started at plus the milliseconds it advanced.
float Timer();
// now - then in 32-bit wrapping arithmetic.
inline int32_t TicksSince(int32_t now, int32_t then) {
    return static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(then));
}

void UseVirtualClock(uint32_t startTick, double secondsSinceMidnight);
// The real clock from tick 0 and the present time of day, to the millisecond.
void UseRealClock();
bool IsVirtualClock();
void AdvanceVirtualClock(uint32_t ms);

// The real clock's one step per pass of the frame loop; nothing on the virtual clock. The step
// keeps its length while the game stays within a few milliseconds of real time, so the lengths
// change seldom; a stall is taken whole.
void StepFrameClock();
// The longest step the clock takes: the game's 32-bit tick differences (TicksSince) still read it
// as time gone forward, and a recording holds it as one frame. A longer stall (a suspended laptop)
// is taken over several passes, so a recording of it replays.
constexpr uint32_t MaxFrameMs = INT32_MAX;
// The real clock's stepping, apart from SDL so that a benchmark can feed it frames.
struct FrameStepper {
    int64_t stepMs = 16;
    double averageMs = 16;  // the passes' measured lengths, smoothed
    // The next step: stepMs again while `behind` (how far the game would lag real time after it)
    // stays within a few milliseconds, else one nearer to the measured passes (`raw`: this one);
    // after a stall, all of the lag at once, up to MaxFrameMs.
    int64_t Next(int64_t behind, int64_t raw);
};
// Real time that passed since the last step does not count (the start-up before the first frame).
void HoldFrameClock();
// Watching a replay: how far the virtual clock is ahead of real time, counted from the last
// RestartPacing (the start, the end of a pause); the pass waits that long, reading input meanwhile.
uint64_t VirtualClockLeadMs();
void RestartPacing();
// The virtual clock goes on as the real one from where it stands (a replay stopped to play on).
void ContinueInRealTime();
// Milliseconds advanced since the clock was set, and the time of day it was set to.
uint64_t ClockElapsedMs();
double ClockStartSeconds();
