// SPDX-License-Identifier: GPL-3.0-or-later
// The level checker: every problem a level maker should hear of, each with its line and column.
// The game's own reader finds what is wrong with the text; this reads the board it describes as
// the rules will play it: header values out of range, stacks that reach the dragon at once,
// orbs that fall at the start, coloured orbs that nothing can ever burn. Owns nothing.
#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "game/LevelFile.h"

namespace LevelCheckLimits {
// A board that rises every frame is lost in seconds; one slower than this never visibly moves.
constexpr int32_t MinRiseInterval = 1, MaxRiseInterval = 10000;
// Play a stack must leave before it reaches the dragon, in milliseconds: time to fly over and fire.
constexpr int32_t MinReactionMs = 3000;
}  // namespace LevelCheckLimits

// Whether the game can show a background picture of this name (given without ".png").
using PictureExists = std::function<bool(const std::string& name)>;

// Every finding about a level's bytes, in file order; withCloudsLine is false for the tutorial.
LevelProblems CheckLevel(const std::string& bytes, bool withCloudsLine, const PictureExists& pictureExists);
// The same for a file; one that cannot be read is a single finding about the whole file.
LevelProblems CheckLevelFile(const std::filesystem::path& path, bool withCloudsLine,
                             const PictureExists& pictureExists);
// The backgrounds of a game folder: the shipped ones, then the player's own in game/override.
std::vector<std::string> GameBackgrounds(const std::filesystem::path& gameFolder);
PictureExists GamePictures(const std::filesystem::path& gameFolder);

bool HasErrors(const LevelProblems& problems);
// "FILE:LINE:COLUMN: error: reason", as compilers write it ("FILE: ..." for the whole file,
// "FILE:LINE: ..." for a whole line).
std::string FormatProblem(const std::string& file, const LevelProblem& problem);
