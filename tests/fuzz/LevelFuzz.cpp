// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: the level reader, with and without the clouds line. Whatever the bytes, it gives
// a level within the board's limits or one of the level-file errors; the checker's reading never
// raises and finds an error wherever the game's reading refuses; and a level read is written back
// as text that reads the same.
#include <cmath>

#include "FuzzTarget.h"
#include "base/RuntimeError.h"
#include "game/LevelCheck.h"
#include "game/LevelFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const bool clouds : {true, false}) {
        const LevelProblems problems = CheckLevel(bytes, clouds, [](const std::string&) { return true; });
        fuzz::Check(problems.size() <= MaxLevelProblems);
        try {
            const LevelFile level = ParseLevelFile(bytes, clouds);
            fuzz::Check(IsPictureName(level.picture));
            for (const LevelFile::OrbRow& row : level.orbRows) {
                fuzz::Check(row.cells.size() <= static_cast<size_t>(LevelLimits::MaxColumns));
                fuzz::Check(std::abs(static_cast<int64_t>(row.row)) <= LevelLimits::MaxAbsRow);
            }
            if (level.rowCount >= 0 && level.rowCount <= 1000)
                fuzz::Check(ParseLevelFile(WriteLevelFile(level, clouds), clouds).orbRows.size() <=
                            level.orbRows.size());
        } catch (const RuntimeError& error) {
            fuzz::Check(error.Number() == ErrorNumber::TypeMismatch || error.Number() == 62);
            fuzz::Check(HasErrors(problems));
        }
    }
    return 0;
}
