// The one clock of the game. Real time reads SDL's tick counter and the local time of day;
// tests and the scripted runner switch to a virtual clock that they advance themselves.
#pragma once

#include <cstdint>

// Milliseconds, wrapping in 32 bits. Compare with TicksSince, never with < on raw values.
int32_t GetTickCount();
// Seconds since midnight.
float Timer();
// now - then in 32-bit wrapping arithmetic.
inline int32_t TicksSince(int32_t now, int32_t then) {
    return static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(then));
}

void UseVirtualClock(uint32_t startTick, double secondsSinceMidnight);
void UseRealClock();
bool IsVirtualClock();
void AdvanceVirtualClock(uint32_t ms);
