// SPDX-License-Identifier: GPL-3.0-or-later
// The picture generator's drawing functions, one per picture file, and the few pieces (orbs, the
// dragon) that several pictures share. Each writes its PNG into the output folder.
#pragma once

#include <cairo.h>

#include <filesystem>
#include <string_view>

#include "shell/AssetTable.h"

namespace gen {

// Shared pieces, drawn in a 24 x 24 (orb) or 64 x 96 (dragon) cell whose top-left is the origin.
void DrawOrb(cairo_t* cr, OrbKind::Kind kind);
enum class Wings { Mid, Up, Down };
void DrawDragon(cairo_t* cr, Wings wings, bool firing);
// A sky from deep blue at the top to a warm glow at the horizon, filling w x h from the origin.
void EveningSky(cairo_t* cr, double w, double h);

void MakeSpriteSheet(const std::filesystem::path& out);
void MakeTextSheet(const std::filesystem::path& out);
void MakeTitleScreen(const std::filesystem::path& out);
void MakeMenuButtons(const std::filesystem::path& out);  // buttons1b.png, buttons2b.png, backok1.png
void MakeFade(const std::filesystem::path& out);
void MakeClouds(const std::filesystem::path& out);
void MakeBackground(const std::filesystem::path& out, std::string_view theme);
void MakeIcon(const std::filesystem::path& out, int size);  // icon-SIZE.png, for the desktop's menus

}  // namespace gen
