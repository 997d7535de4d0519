// SPDX-License-Identifier: GPL-3.0-or-later
// The settings a recorded run starts from (`start NAME VALUE` in its script): whatever makes the
// same keys do the same things, so that a recording replays alike on any copy of the game. One
// table in StartSettings.cpp names them; a recording without one leaves the loaded value in force.
#pragma once

#include <string>
#include <utility>
#include <vector>

#include "gfx/Script.h"

// Each setting's name and value as the run stands now; one the run has none of is left out.
std::vector<std::pair<std::string, std::string>> CaptureStartSettings();
// Throws ScriptError at the start line of a name not in the table or a value it cannot take.
void CheckStartSettings(const ScriptSettings& settings);
// Puts the script's values in force; answers why one cannot be (the recorded level has changed),
// "" when all are.
std::string ApplyStartSettings(const ScriptSettings& settings);
