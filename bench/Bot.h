// SPDX-License-Identifier: GPL-3.0-or-later
// A simple player for the benchmarks, and the busy levels it plays.
#pragma once

#include <filesystem>
#include <fstream>
#include <string>

#include "base/Globals.h"
#include "game/PlayGeometry.h"
#include "game/cOrb.h"
#include "gfx/Gfx.h"
#include "play/cPlayState.h"

// Pairs of a colour side by side, changing every row: one shot on a pair burns it, and no group
// of three stands ready-made.
inline void WriteLevel(const std::filesystem::path& file, int32_t riseInterval, int32_t rows,
                       const std::string& background, bool clouds) {
    std::ofstream out(file, std::ios::binary);
    out << riseInterval << "\r\n" << rows << "\r\n" << background << "\r\n" << (clouds ? "YES" : "NO") << "\r\n";
    for (int32_t r = 0; r < rows; ++r) {
        std::string line;
        for (int32_t c = 0; c < PlayGeometry::Columns; ++c) line += "RBGPY"[(c / 2 + r) % 5];
        out << line << "\r\n";
    }
}

// The column the player aims at: the nearest one whose top orb has the colour of the orb to
// fire, else (with a fireball) the nearest empty one, else the dragon's own.
inline int32_t AimColumn(const cPlayState& play) {
    int32_t topRow[PlayGeometry::Columns];
    int32_t topType[PlayGeometry::Columns];
    for (int32_t c = 0; c < PlayGeometry::Columns; ++c) topRow[c] = -1000, topType[c] = 0;
    for (const auto& entry : play.Board().Entries()) {
        const cOrb& orb = *entry.value;
        const int32_t c = orb.PositionX();
        if (c < 0 || c >= PlayGeometry::Columns || orb.IsDestroyed() || orb.PositionY() <= topRow[c]) continue;
        topRow[c] = orb.PositionY();
        topType[c] = orb.OrbType();
    }
    const int32_t from = play.DragonColumn();
    const int32_t type = play.CurrentOrb() ? play.CurrentOrb()->OrbType() : 0;
    int32_t best = -1;
    for (int32_t pass = 0; pass < 2 && best < 0; ++pass)
        for (int32_t d = 0; d < PlayGeometry::Columns && best < 0; ++d)
            for (int32_t c : {from - d, from + d})
                if (best < 0 && c >= 0 && c < PlayGeometry::Columns &&
                    (pass == 0 ? topType[c] == type && topRow[c] >= 0 : topRow[c] < 0 && type == OrbKind::Fireball))
                    best = c;
    return best < 0 ? from : best;
}

// Holds the keys that steer the dragon to its column and fire there.
inline void SteerAndFire(const cPlayState& play) {
    const int32_t aim = AimColumn(play);
    const bool there = aim == play.DragonColumn() && !play.DragonMoving();
    gEngine->InjectKey(GfxKey::Right, aim > play.DragonColumn());
    gEngine->InjectKey(GfxKey::Left, aim < play.DragonColumn());
    gEngine->InjectKey(GfxKey::Space, there);
}
