// Fuzz target: the level reader, with and without the clouds line. Whatever the bytes, it gives
// a level within the board's limits or one of the level-file errors.
#include <cmath>

#include "FuzzTarget.h"
#include "base/RuntimeError.h"
#include "game/LevelFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const bool clouds : {true, false}) {
        try {
            const LevelFile level = ParseLevelFile(bytes, clouds);
            fuzz::Check(IsPictureName(level.picture));
            for (const LevelFile::OrbRow& row : level.orbRows) {
                fuzz::Check(row.cells.size() <= static_cast<size_t>(LevelLimits::MaxColumns));
                fuzz::Check(std::abs(static_cast<int64_t>(row.row)) <= LevelLimits::MaxAbsRow);
            }
        } catch (const RuntimeError& error) {
            fuzz::Check(error.Number() == ErrorNumber::TypeMismatch || error.Number() == 62);
        }
    }
    return 0;
}
