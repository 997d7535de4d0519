// SPDX-License-Identifier: GPL-3.0-or-later
// game/data/options.txt: the options of base/Options.h as name=value lines beside game.dat, which
// keeps its three lines for older copies. Read with the same bounds as game.dat. A line it cannot
// use is logged and leaves its option at the default, and such a file is kept beside itself as
// ".bad", as the score file is; lines of names it does not know (a newer copy's) are written back.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

#include "base/Options.h"

struct OptionsRead {
    GameOptions options;
    std::vector<std::string> problems;  // one line each, for the log
    std::vector<std::string> unknown;   // lines of names this copy does not know, as they stood
};
OptionsRead ReadOptions(std::string_view text);
std::string OptionsText(const GameOptions& options, const std::vector<std::string>& unknown);

std::filesystem::path OptionsPath();
// Into gOptions, before the display opens: the full-screen option decides how it opens.
void LoadOptions();
// Atomically. Not after a replay was watched, nor over a file that could not be read, nor in a
// run that never loaded it.
void SaveOptions();
void ForgetLoadedOptions();
