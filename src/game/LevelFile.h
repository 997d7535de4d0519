// SPDX-License-Identifier: GPL-3.0-or-later
// Reading a level file into its header values and orb rows, with the limits that keep any file,
// however large or strange, from stalling the game; and writing one back. Owns nothing; the play
// state builds the board, the level checker and the editor read the same way.
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

// Lines of the header when the format has the clouds line; the tutorial's has one fewer.
constexpr int32_t LevelHeaderLines = 4;

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
    int32_t firstRowLine = 0;     // file line of the first orb line (row rowCount - 1)
    int32_t rowLines = 0;         // orb lines given, blank lines at the end not counted

    // The file line of an orb row.
    int32_t LineOf(int32_t row) const {
        return static_cast<int32_t>(firstRowLine + (static_cast<int64_t>(rowCount) - 1 - row));
    }
};

// One finding about a level file, where a level maker looks for it: line and column from 1
// (line 0: the file as a whole; column 0: the whole line).
struct LevelProblem {
    int32_t line = 0;
    int32_t column = 0;
    bool error = true;  // false: a warning, the level plays but likely not as meant
    std::string reason;
};
using LevelProblems = std::vector<LevelProblem>;
// More findings than this in one file are not worth reading: the file is no level.
constexpr size_t MaxLevelProblems = 100;

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
// The same for a level's bytes already read. Given `problems`, it raises nothing: it notes each
// of the errors above where it stands, and also what the game lets pass but a level maker would
// not mean (cells that are no cell, orbs off the board's side, a clouds line neither YES nor NO),
// and answers what it could read, with the line numbers filled in.
LevelFile ParseLevelFile(const std::string& bytes, bool withCloudsLine, LevelProblems* problems = nullptr);

// The level as text that reads back the same: CR LF lines, rows top first and padded with '.'
// to the board's width. Orbs outside rows 0 to rowCount - 1 are left out. A picture name the
// reader would refuse raises std::invalid_argument: nothing the game cannot read is written.
std::string WriteLevelFile(const LevelFile& level, bool withCloudsLine);
