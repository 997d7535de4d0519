// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzz target: game.dat. Any file yields three values within their ranges.
#include "FuzzTarget.h"
#include "base/Globals.h"
#include "shell/modSettings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    gProgramFolder = fuzz::Scratch("settings");
    std::filesystem::create_directories(gProgramFolder / "game" / "data");
    fuzz::WriteFile(gProgramFolder / "game" / "data" / "game.dat", data, size);
    LoadSettings();
    fuzz::Check(SettingsLoaded());
    fuzz::Check(gHighestLevel >= 1 && gHighestLevel <= 99999);
    fuzz::Check(gMusicVolume >= 0 && gMusicVolume <= 100 && gSoundVolume >= 0 && gSoundVolume <= 100);
    return 0;
}
