// SPDX-License-Identifier: GPL-3.0-or-later
// The kinds of orb, by the numbers the rules, the state report and the tutorial's script use.
// The content map indexes the orb pictures by them and the generator draws each one's picture, so
// the kinds and their colours are written once, in this order.
#pragma once

#include <cstdint>

namespace OrbKind {
enum Kind : int32_t {
    Red = 1,
    Blue = 2,
    Green = 3,
    Purple = 4,
    Yellow = 5,
    Fireball = 6,
    BlackFalling = 7,
    BlackFixed = 8,
    White = 9,
    Invisible = 10,
};
constexpr int32_t Count = Invisible + 1;  // kinds are 1 .. Count - 1
constexpr bool IsColoured(int32_t type) { return type >= Red && type <= Yellow; }
}  // namespace OrbKind
