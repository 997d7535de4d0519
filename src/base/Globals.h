// SPDX-License-Identifier: GPL-3.0-or-later
// The globals of the game, declared together so that every layer can reach them; the shell
// defines them (shell/Globals.cpp). Each object global owns its object for the run.
#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>

class GfxEngine;
class cSound;
class cTextures;
class cSprites;
class cBaseState;
class frmMain;
class cMouse;
struct GameOptions;

extern std::unique_ptr<GfxEngine> gEngine;
extern std::unique_ptr<cSound> gSound;
extern std::unique_ptr<cTextures> gTextures;
extern std::unique_ptr<cSprites> gSprites;
extern std::unique_ptr<cBaseState> gCurrentState;
extern std::unique_ptr<frmMain> gMainForm;
extern std::unique_ptr<cMouse> gMouse;

extern bool gRunning;
extern bool gWindowed;
extern bool gPaused;
extern bool gInactive;
extern int32_t gHighestLevel;
extern int32_t gCurrentLevel;
extern int32_t gMusicVolume;
extern int32_t gSoundVolume;

// The options of options.txt (base/Options.h), in force for the run.
extern GameOptions gOptions;

// What the settings hold when game.dat is missing or a line of it cannot be read.
constexpr int32_t DefaultHighestLevel = 1;
constexpr int32_t DefaultMusicVolume = 80;
constexpr int32_t DefaultSoundVolume = 80;

// The window hook: the procedure the window had before it (0 when unhooked) and the handle hooked.
extern int32_t gOldWindowProc;
extern int32_t gHookedWindow;

// The program folder, which holds the game folder the game reads and writes: the executable's
// folder, the player's own folder for an installed copy (GameFolder.h), or the runner's --game-dir.
// Main fills it when it is still empty.
extern std::filesystem::path gProgramFolder;
// The folder whose game folder holds the archives: the installation when the game writes in the
// player's own folder; empty when that is the program folder.
extern std::filesystem::path gInstalledFolder;
