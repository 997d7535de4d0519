// SPDX-License-Identifier: GPL-3.0-or-later
// The one definition of every global the game shares.
#include "base/Globals.h"

#include "base/Options.h"
#include "engine/cMouse.h"
#include "engine/cSound.h"
#include "engine/cSprites.h"
#include "engine/cTextures.h"
#include "gfx/Gfx.h"
#include "shell/cBaseState.h"
#include "shell/frmMain.h"

std::unique_ptr<GfxEngine> gEngine;
std::unique_ptr<cSound> gSound;
std::unique_ptr<cTextures> gTextures;
std::unique_ptr<cSprites> gSprites;
std::unique_ptr<cBaseState> gCurrentState;
std::unique_ptr<frmMain> gMainForm;
std::unique_ptr<cMouse> gMouse;

bool gRunning = false;
bool gWindowed = true;
bool gPaused = false;
bool gInactive = false;
int32_t gHighestLevel = DefaultHighestLevel;
int32_t gCurrentLevel = 1;
int32_t gMusicVolume = DefaultMusicVolume;
int32_t gSoundVolume = DefaultSoundVolume;
GameOptions gOptions;

int32_t gOldWindowProc = 0;
int32_t gHookedWindow = 0;

std::filesystem::path gProgramFolder;
std::filesystem::path gInstalledFolder;
