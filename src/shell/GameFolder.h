// SPDX-License-Identifier: GPL-3.0-or-later
// Where the game keeps its files. The folder beside the program when the game may write there (the
// build folder, a copy unpacked in the home folder); for a copy installed under a system prefix, a
// folder of the player's own, with the archives and default data read from the installation.
#pragma once

#include <filesystem>
#include <string>

struct GameFolders {
    std::filesystem::path program;    // holds the game folder that the game reads and writes
    std::filesystem::path installed;  // holds the game folder with the archives and the default data
};

// executableFolder: where the program lies; an installed program lies in games/ with its data in
// share/games/kindlewisp/. dataHome and home: $XDG_DATA_HOME and $HOME, empty when unset. Throws
// RuntimeError (76) when the game needs the player's folder and neither names one.
GameFolders ChooseGameFolders(const std::filesystem::path& executableFolder, const std::string& dataHome,
                              const std::string& home);

// Lays out the player's game folder and seeds the settings and scores that are missing from the
// installed defaults, so a returning player keeps theirs. Nothing to do when the game writes
// beside the program. Throws RuntimeError (76) when the folder cannot be made.
void PrepareGameFolder(const GameFolders& folders);
