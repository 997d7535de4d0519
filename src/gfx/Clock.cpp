// SPDX-License-Identifier: GPL-3.0-or-later
// The game's one clock: SDL's tick counter sampled once per frame and the time of day the clock
// started at, or a virtual clock that tests and the scripted runner advance themselves.
#include "gfx/Clock.h"

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <ctime>

namespace {
struct Clock {
    bool isVirtual = false;
    bool started = false;  // the real clock has been set
    uint32_t startTick = 0;
    double startSeconds = 0;  // seconds since midnight when the clock was set
    uint64_t elapsedMs = 0;
    // Real clock only: SDL's ticks at elapsed 0, at the last step, and the step's length.
    uint64_t origin = 0;
    uint64_t lastReal = 0;
    FrameStepper stepper;
};
Clock g_Clock;

constexpr double SecondsPerDay = 86400.0;
// How far the game may run ahead of or behind real time before a step changes its length, and
// beyond which the difference is taken at once (a stall, a debugger's pause).
constexpr int64_t DriftMs = 8;
constexpr int64_t StallMs = 100;

double TimeOfDayNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t whole = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&whole, &local);
    const auto ms =
        std::chrono::duration_cast<std::chrono::milliseconds>(now - std::chrono::system_clock::from_time_t(whole))
            .count();
    // Whole milliseconds, as a recording writes the start.
    return local.tm_hour * 3600.0 + local.tm_min * 60.0 + local.tm_sec + static_cast<double>(ms) / 1000.0;
}

void EnsureStarted() {
    if (!g_Clock.isVirtual && !g_Clock.started) UseRealClock();
}
}  // namespace

int32_t GetTickCount() {
    EnsureStarted();
    return static_cast<int32_t>(g_Clock.startTick + static_cast<uint32_t>(g_Clock.elapsedMs));
}

float Timer() {
    EnsureStarted();
    const double seconds = g_Clock.startSeconds + static_cast<double>(g_Clock.elapsedMs) / 1000.0;
    return static_cast<float>(std::fmod(seconds, SecondsPerDay));
}

void UseVirtualClock(uint32_t startTick, double secondsSinceMidnight) {
    g_Clock = Clock{};
    g_Clock.isVirtual = true;
    g_Clock.startTick = startTick;
    // Only a negative time is moved into the day: adding a day to every one would round away the
    // last bit of a recorded start, and a replay must seed its draws exactly as the game did.
    const double seconds = std::fmod(secondsSinceMidnight, SecondsPerDay);
    g_Clock.startSeconds = seconds < 0 ? seconds + SecondsPerDay : seconds;
}

void UseRealClock() {
    g_Clock = Clock{};
    g_Clock.started = true;
    g_Clock.startSeconds = TimeOfDayNow();
    g_Clock.origin = g_Clock.lastReal = SDL_GetTicks64();
}

bool IsVirtualClock() { return g_Clock.isVirtual; }

void AdvanceVirtualClock(uint32_t ms) { g_Clock.elapsedMs += ms; }

int64_t FrameStepper::Next(int64_t behind, int64_t raw) {
    if (behind > StallMs) {
        stepMs += behind;
    } else if (behind < -StallMs) {
        stepMs = raw;
    } else {
        // A step is changed only when the game has drifted out of the band and the step is on the
        // wrong side of the usual pass, so the length changes about twice a second at most.
        averageMs += (static_cast<double>(raw) - averageMs) / 16;
        if (behind > DriftMs && static_cast<double>(stepMs) <= averageMs)
            stepMs = static_cast<int64_t>(std::floor(averageMs)) + 1;
        else if (behind < -DriftMs && static_cast<double>(stepMs) >= averageMs)
            stepMs = static_cast<int64_t>(std::ceil(averageMs)) - 1;
    }
    stepMs = std::clamp<int64_t>(stepMs, 1, MaxFrameMs);
    return stepMs;
}

void StepFrameClock() {
    if (g_Clock.isVirtual) return;
    EnsureStarted();
    Clock& c = g_Clock;
    const uint64_t now = SDL_GetTicks64();
    const auto real = static_cast<int64_t>(now - c.origin);   // where the game should be
    const auto raw = static_cast<int64_t>(now - c.lastReal);  // this pass as measured
    c.lastReal = now;
    const int64_t behind = real - (static_cast<int64_t>(c.elapsedMs) + c.stepper.stepMs);
    c.elapsedMs += static_cast<uint64_t>(c.stepper.Next(behind, raw));
}

void HoldFrameClock() {
    if (g_Clock.isVirtual) return;
    EnsureStarted();
    const uint64_t now = SDL_GetTicks64();
    g_Clock.origin += now - g_Clock.lastReal;
    g_Clock.lastReal = now;
}

uint64_t VirtualClockLeadMs() {
    const uint64_t due = g_Clock.origin + g_Clock.elapsedMs;
    const uint64_t now = SDL_GetTicks64();
    return due > now ? due - now : 0;
}

void RestartPacing() { g_Clock.origin = SDL_GetTicks64() - g_Clock.elapsedMs; }

void ContinueInRealTime() {
    g_Clock.isVirtual = false;
    g_Clock.started = true;
    RestartPacing();
    g_Clock.lastReal = SDL_GetTicks64();
}

uint64_t ClockElapsedMs() { return g_Clock.elapsedMs; }

double ClockStartSeconds() {
    EnsureStarted();
    return g_Clock.startSeconds;
}
