// The game's one clock: SDL's tick counter and the local time of day, or a virtual clock that
// tests and the scripted runner advance themselves.
#include "gfx/Clock.h"

#include <SDL.h>

#include <chrono>
#include <cmath>
#include <ctime>

namespace {
struct VirtualClock {
    bool on = false;
    uint32_t startTick = 0;
    double startSeconds = 0;  // seconds since midnight when the clock was set
    uint64_t elapsedMs = 0;
};
VirtualClock g_Virtual;

constexpr double SecondsPerDay = 86400.0;
}  // namespace

int32_t GetTickCount() {
    if (g_Virtual.on) {
        return static_cast<int32_t>(g_Virtual.startTick + static_cast<uint32_t>(g_Virtual.elapsedMs));
    }
    return static_cast<int32_t>(static_cast<uint32_t>(SDL_GetTicks64()));
}

float Timer() {
    if (g_Virtual.on) {
        double seconds = g_Virtual.startSeconds + static_cast<double>(g_Virtual.elapsedMs) / 1000.0;
        return static_cast<float>(std::fmod(seconds, SecondsPerDay));
    }
    const auto now = std::chrono::system_clock::now();
    const std::time_t whole = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
#if defined(_WIN32)
    localtime_s(&local, &whole);
#else
    localtime_r(&whole, &local);
#endif
    const auto fraction = now - std::chrono::system_clock::from_time_t(whole);
    const double sub = std::chrono::duration<double>(fraction).count();
    return static_cast<float>(local.tm_hour * 3600 + local.tm_min * 60 + local.tm_sec + sub);
}

void UseVirtualClock(uint32_t startTick, double secondsSinceMidnight) {
    g_Virtual.on = true;
    g_Virtual.startTick = startTick;
    g_Virtual.startSeconds = std::fmod(std::fmod(secondsSinceMidnight, SecondsPerDay) + SecondsPerDay, SecondsPerDay);
    g_Virtual.elapsedMs = 0;
}

void UseRealClock() { g_Virtual.on = false; }

bool IsVirtualClock() { return g_Virtual.on; }

void AdvanceVirtualClock(uint32_t ms) { g_Virtual.elapsedMs += ms; }
