// The command line, the settings file game.dat and the three asset archives.
#pragma once

#include <string>

std::string GetCommandLineValue(const std::string& key, const std::string& separator);
void LoadSettings();
void SaveSettings();
void UnpackArchives();
void DeleteUnpackedFiles();

// Whether LoadSettings ran in this run: a run that ends before loading must not overwrite a
// player's progress with values it never read.
bool SettingsLoaded();
void ForgetLoadedSettings();
