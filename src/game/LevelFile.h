// Reading a level file into its header values and orb rows, with the limits that keep any file,
// however large or strange, from stalling the game. Owns nothing; the play state builds the board.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

namespace LevelLimits {
// A level is a few hundred bytes; anything past this is not a level someone wrote.
constexpr std::uintmax_t MaxFileBytes = 1 << 20;
// Columns 19 and 20 still show on screen to the right of the board; further cells never can.
constexpr int32_t MaxColumns = 21;
// Far more than the 19 x 20 board holds; keeps loading and each frame quick.
constexpr int32_t MaxOrbs = 2000;
// Rows outside this range would place orbs beyond any pixel coordinate the game can hold.
constexpr int64_t MaxAbsRow = 1000000;
// Picture names are short words; no file name needs more.
constexpr size_t MaxPictureName = 64;
}  // namespace LevelLimits

struct LevelFile {
    int32_t riseInterval = 0;
    int32_t rowCount = 0;  // the first orb line is row rowCount - 1
    std::string picture;   // background picture name without ".png", a plain name
    bool cloudsOn = false;
    struct OrbRow {
        int32_t row;
        std::string cells;  // cut to the columns that can show on screen
    };
    std::vector<OrbRow> orbRows;  // top row first; rows without orbs are left out
};

// A number as the level format writes it: blanks around it, an optional sign, digits and an
// optional fraction (rounded, ties to even). Anything else, or a value outside 32 bits, raises
// run-time error 13.
int32_t ParseLevelNumber(const std::string& text);

// "YES" in any case with blanks around it.
bool ParseCloudsLine(const std::string& text);

// A plain picture name: letters, digits, '-' and '_' only, so it can name nothing but one of the
// game's pictures.
bool IsPictureName(const std::string& name);

// True for a cell character that creates an orb.
bool IsOrbCharacter(char c);

// Reads and checks a level file. A missing or unreadable file raises 53; a header line that is
// not a number, a picture line that is not a plain picture name, a file over the size limit, too
// many orbs or rows out of range raise 13; a file
// that ends inside the header raises 62. withCloudsLine is false for the tutorial's format.
LevelFile ReadLevelFile(const std::filesystem::path& path, bool withCloudsLine);
// The same for a level's bytes already read.
LevelFile ParseLevelFile(const std::string& bytes, bool withCloudsLine);
