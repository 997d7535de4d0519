// The command line, the settings file game.dat and the three asset archives.
#pragma once

#include <string>

std::string GetCommandLineValue(const std::string& key, const std::string& separator);
void LoadSettings();
void SaveSettings();
void UnpackArchives();
void DeleteUnpackedFiles();
