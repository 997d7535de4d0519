// SPDX-License-Identifier: GPL-3.0-or-later
// The settings file game.dat and the three asset archives.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>

// What game.dat may hold: far more levels than any game holds, and far from where level
// arithmetic could overflow; volumes in the library's range.
constexpr int32_t MaxHighestLevel = 99999;
constexpr int32_t MaxVolume = 100;

void LoadSettings();
void SaveSettings();
// Saves the settings when this run read them: at the end, and as soon as progress is earned.
void SaveProgress();
void UnpackArchives();
// One of the game's archives unpacked into a folder of the caller's (the level editor's pictures).
bool UnpackArchiveInto(const std::filesystem::path& archive, const std::filesystem::path& folder);
void DeleteUnpackedFiles();
// At start, before the unpacking: what a killed run left (unpacked files, half-written saves).
void RemoveLeftovers();

// Whether LoadSettings ran in this run: a run that ends before loading must not overwrite a
// player's progress with values it never read.
bool SettingsLoaded();
void ForgetLoadedSettings();
