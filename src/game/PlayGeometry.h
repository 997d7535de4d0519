// SPDX-License-Identifier: GPL-3.0-or-later
// Where everything on the play screen sits: the board's cells, the dragon and its shots, the
// firing queue, the side panel's wells and the captions over the board. The play state, the
// tutorial, the level checker, the casual player, the editor and the picture generator read this
// one table, so a place on the play field is typed once.
#pragma once

#include <array>
#include <cstdint>

#include "shell/AssetTable.h"

namespace PlayGeometry {

using assets::Rect;

// ---- the board ---------------------------------------------------------------------------------
// Cell (column, row) has its top-left at (Left + Cell * column, Bottom - Cell * row); row 0 is
// the bottom row, where the floor starts.
constexpr int32_t Left = 158, Bottom = 450, Cell = 24, Columns = 19, Rows = 20;
constexpr int32_t BackgroundX = 130;  // the two background pictures scroll up behind the columns
// An orb whose top rises above this line loses the level wherever it is, off the board's side too.
constexpr int32_t TopLine = 1;

// ---- the dragon --------------------------------------------------------------------------------
// A shot appears here in the dragon's cell: centred under the mouth, its top just above it.
constexpr int32_t ShotX = assets::kDragonMouthX - Cell / 2, ShotY = assets::kDragonMouthY - 4;
// The dragon's left edge over a column: the shot it fires starts in that column.
constexpr int32_t DragonX(int32_t column) { return Left + Cell * column - ShotX; }
constexpr int32_t DragonStartColumn = 9, DragonStartY = 0;
constexpr int32_t DragonStartX = DragonX(DragonStartColumn);
// The dragon's underside lies this far above its picture's bottom: an orb that rises above it
// under the dragon loses the level, and a bonus item that reaches it is caught.
constexpr int32_t UndersideInset = 14;
// Where a caught bonus's text appears, this far above the picture's bottom.
constexpr int32_t BonusTextInset = 16;
// The underside at the dragon's start height, the line a level's stacks must stay under.
constexpr int32_t StartUnderside = DragonStartY + assets::kDragon[0].h - UndersideInset;
// The lowest row whose orbs already stand above the underside when play starts.
constexpr int32_t FirstRowAtDragon = (Bottom - StartUnderside) / Cell + 1;

// ---- the firing queue --------------------------------------------------------------------------
// The next orb waits at three quarters of its size; the orb to fire enters at its left and slides
// right to its own place.
constexpr int32_t NextOrbX = 30, NextOrbY = 264;
constexpr float NextOrbScale = 0.75F;
constexpr int32_t CurrentOrbX = 70, CurrentOrbY = 260;

// ---- the side panel, at the screen's left edge -------------------------------------------------
// Every text of the panel is laid out in a box this wide (and generously tall) from TextX.
constexpr int32_t TextX = 20, TextW = 90, TextH = 120;
constexpr int32_t ScoresHeadingY = 22;
constexpr std::array<int32_t, 5> ScoreRowY = {40, 55, 70, 85, 100};  // the top five
constexpr std::array<int32_t, 3> InitialX = {20, 28, 36};            // each letter while they are entered
constexpr int32_t ScoreHeadingY = 155, ScoreY = 170;
constexpr int32_t LevelHeadingY = 190, LevelY = 205;
constexpr int32_t QueueHeadingY = 235;
constexpr int32_t ButtonX = 15, RestartY = 322, ExitY = 372;
// The recessed wells of the panel's picture that those texts, orbs and buttons sit in.
constexpr Rect ScoresWell = {12, 16, 108, 106}, ScoreWell = {12, 150, 108, 35}, LevelWell = {12, 187, 108, 35},
               QueueWell = {12, 230, 108, 62}, RestartWell = {12, 319, 106, 46}, ExitWell = {12, 369, 106, 46};
// The queue's glows: round the orb to fire, and where the next orb's three-quarter picture would
// sit if it kept its left edge (it is scaled about its centre, so the glow lies 3 px to its left).
constexpr int32_t CurrentGlowX = CurrentOrbX + Cell / 2, CurrentGlowY = CurrentOrbY + Cell / 2;
constexpr int32_t NextGlowX = NextOrbX + 9, NextGlowY = NextOrbY + Cell / 2;

// ---- captions over the board -------------------------------------------------------------------
constexpr int32_t PausedX = 300, PausedY = 178, GameOverX = 270, GameOverY = 178;
constexpr int32_t LevelCaptionX = 280, LevelCaptionY = 150, LevelNumberX = 430, LevelNumberY = 160;
constexpr int32_t CompleteX = 280, CompleteY = 230;
constexpr int32_t MessageX = 175, MessageY = 200, MessageW = 450;  // the tutorial's lessons, the last congratulations

namespace detail {
constexpr bool Inside(const Rect& well, int32_t x, int32_t y, int32_t w, int32_t h) {
    return x >= well.x && y >= well.y && x + w <= well.x + well.w && y + h <= well.y + well.h;
}
}  // namespace detail
// What the game draws on the panel stays inside the wells drawn for it.
static_assert(detail::Inside(RestartWell, ButtonX, RestartY, assets::kRestartButton[0].w, assets::kRestartButton[0].h));
static_assert(detail::Inside(ExitWell, ButtonX, ExitY, assets::kExitButton[0].w, assets::kExitButton[0].h));
static_assert(detail::Inside(QueueWell, NextOrbX, CurrentOrbY, CurrentOrbX + Cell - NextOrbX, Cell));

}  // namespace PlayGeometry
