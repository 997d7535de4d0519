// SPDX-License-Identifier: GPL-3.0-or-later
// The one clock of the game. Real time follows SDL's tick counter, but is read only once per pass
// of the frame loop (StepFrameClock), so every read within a frame agrees and the start and the
// frame lengths alone reproduce every tick and time of day the game saw; tests and the scripted
// runner switch to a virtual clock that they advance themselves.
#pragma once

#include <cstdint>
#include <optional>

// Milliseconds, wrapping in 32 bits. Compare with TicksSince, never with < on raw values.
int32_t GetTickCount();
// Seconds since midnight: the time of day the clock started at plus the milliseconds it advanced.
float Timer();
// How long ago `then` was: now - then in 32-bit wrapping arithmetic, never negative, so a wait
// longer than 2^31 ms (a game left paused for weeks) still counts as long and time goes on after it.
inline int64_t TicksSince(int32_t now, int32_t then) {
    return static_cast<uint32_t>(now) - static_cast<uint32_t>(then);
}

// A local date as a day number, days since 1970-01-01, and as the calendar shows it.
struct CalendarDate {
    int32_t year = 1970;
    uint32_t month = 1, day = 1;  // 1..12, 1..31
};
CalendarDate DateOfDay(int32_t day);
// Nothing for a date the calendar does not have (30 February).
std::optional<int32_t> DayOfDate(const CalendarDate& date);
// The day a virtual clock starts on unless told otherwise: 1 January 2026.
constexpr int32_t DefaultVirtualDay = 20454;
// Today's date: the day the clock was set on, moved on at each midnight its time of day passes, so
// a replay that starts on the recorded day sees the dates the game saw.
int32_t Today();

void UseVirtualClock(uint32_t startTick, double secondsSinceMidnight, int32_t startDay = DefaultVirtualDay);
// The real clock from tick 0 and the present date and time of day, to the millisecond.
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
// The next StepFrameClock holds instead of stepping: a pass spent waiting for something outside
// the game (the next board of an endless run) takes no game time, so its outcome does not depend
// on how long the wait was, and a replay, which waits in one pass, sees the same ticks.
void HoldNextStep();
// Watching a replay: how far the virtual clock is ahead of real time, counted from the last
// RestartPacing (the start, the end of a pause); the pass waits that long, reading input meanwhile.
uint64_t VirtualClockLeadMs();
void RestartPacing();
// The virtual clock goes on as the real one from where it stands (a replay stopped to play on).
void ContinueInRealTime();
// Milliseconds advanced since the clock was set, and the time of day it was set to.
uint64_t ClockElapsedMs();
double ClockStartSeconds();
