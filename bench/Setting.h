// SPDX-License-Identifier: GPL-3.0-or-later
// A benchmark's size or sample, from the environment: KW_..._RUNS=400 and the like.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>

// The variable's number, at least `least`; `fallback` when it is not set.
inline int32_t Setting(const char* name, int32_t fallback, int32_t least = 1) {
    const char* value = std::getenv(name);
    return value ? std::max(least, std::atoi(value)) : fallback;
}
