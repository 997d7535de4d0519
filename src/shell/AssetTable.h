// SPDX-License-Identifier: GPL-3.0-or-later
// The content map of the game: every generated picture with its size and the cells the game reads
// from it, every sound and tune, and the background themes. The game, the generator and the content
// test read this one table, so a rectangle is typed once.
#pragma once

#include <array>
#include <string_view>

#include "base/OrbKind.h"

namespace assets {

struct Rect {
    int x, y, w, h;
};

// The first password the game tries when it unpacks an archive.
inline constexpr std::string_view kArchivePassword = "marlowe47";

// ---- sprites.png -------------------------------------------------------------------------------
inline constexpr std::string_view kSprites = "sprites.png";
inline constexpr int kSpritesSize = 1024;

inline constexpr int kOrbSize = 24;
inline constexpr int kOrbTop = 194;
inline constexpr int kBurnTop = 219;
inline constexpr int kFireballTop = 244;

// Three wing frames in the order mid, up, down; the firing row holds the same three.
inline constexpr std::array<Rect, 3> kDragon = {{{0, 0, 64, 96}, {65, 0, 64, 96}, {130, 0, 64, 96}}};
inline constexpr std::array<Rect, 3> kDragonFiring = {{{0, 97, 64, 96}, {65, 97, 64, 96}, {130, 97, 64, 96}}};
// Where the mouth sits in a dragon cell: shots leave from here.
inline constexpr int kDragonMouthX = 30, kDragonMouthY = 88;

inline constexpr std::array<Rect, 3> kFireball = {
    {{0, kFireballTop, 24, 24}, {25, kFireballTop, 24, 24}, {50, kFireballTop, 24, 24}}};

// The picture of each orb kind, indexed by the kind. The two blacks share one; the invisible orb
// is never drawn; 0 (a colour yet to be drawn) and any unknown kind show the first.
inline constexpr std::array<Rect, OrbKind::Count> kOrbPictures = {{
    {0, kOrbTop, 24, 24},    // none
    {0, kOrbTop, 24, 24},    // red
    {25, kOrbTop, 24, 24},   // blue
    {75, kOrbTop, 24, 24},   // green
    {50, kOrbTop, 24, 24},   // purple
    {100, kOrbTop, 24, 24},  // yellow
    kFireball[0],            // fireball
    {125, kOrbTop, 24, 24},  // black, falling
    {125, kOrbTop, 24, 24},  // black, fixed
    {150, kOrbTop, 24, 24},  // white
    {0, kOrbTop, 24, 24},    // invisible
}};
constexpr Rect OrbPicture(int32_t kind) { return kOrbPictures[kind >= 0 && kind < OrbKind::Count ? kind : 0]; }

// White orb bursting: the first cell, then frames 1..9 at left 200 + 25 * frame.
inline constexpr Rect kWhiteBurnFirst = {175, kOrbTop, 24, 24};
inline constexpr int kWhiteBurnFrames = 9;
constexpr Rect WhiteBurnFrame(int frame) { return {200 + 25 * frame, kOrbTop, 24, 24}; }

// Orb burning, frames 0..12 at left 25 * frame; the orb itself is gone from this frame on.
inline constexpr int kBurnOrbGoneFrame = 6;
inline constexpr int kBurnFrames = 13;
constexpr Rect BurnFrame(int frame) { return {25 * frame, kBurnTop, 24, 24}; }

inline constexpr Rect kChest = {325, kBurnTop, 24, 24};
inline constexpr Rect kTornado = {375, kBurnTop, 24, 24};
inline constexpr Rect kCursor = {0, 333, 24, 24};

// Play-screen buttons: the picture at rest, then two pressed frames.
inline constexpr std::array<Rect, 3> kExitButton = {{{0, 670, 100, 40}, {0, 710, 100, 40}, {0, 750, 100, 40}}};
inline constexpr std::array<Rect, 3> kRestartButton = {{{0, 790, 100, 40}, {0, 830, 100, 40}, {0, 870, 100, 40}}};
inline constexpr Rect kPanel = {888, 512, 132, 480};

// ---- text.png ----------------------------------------------------------------------------------
inline constexpr std::string_view kText = "text.png";
inline constexpr int kTextSize = 512;

struct Caption {
    std::string_view text;
    Rect rect;
};
inline constexpr Caption kPaused = {"PAUSED", {170, 0, 140, 70}};
inline constexpr Caption kLevel = {"LEVEL", {170, 72, 140, 70}};
inline constexpr Caption kComplete = {"COMPLETE", {138, 144, 206, 76}};
inline constexpr Caption kGameOver = {"GAME OVER", {120, 296, 261, 66}};
inline constexpr std::array<Caption, 4> kCaptions = {kPaused, kLevel, kComplete, kGameOver};

// Digits 1..9 then 0, drawn side by side with an advance equal to their width.
inline constexpr std::string_view kDigitOrder = "1234567890";
inline constexpr std::array<Rect, 10> kDigits = {{
    {30, 228, 32, 57},
    {62, 230, 41, 55},
    {104, 228, 43, 55},
    {148, 228, 45, 53},
    {192, 228, 43, 54},
    {234, 228, 43, 54},
    {278, 228, 43, 55},
    {321, 228, 43, 55},
    {364, 228, 42, 57},
    {408, 228, 42, 57},
}};

// ---- title and menu pictures -------------------------------------------------------------------
inline constexpr std::string_view kTitle = "titlescreen.png";
inline constexpr int kScreenW = 640, kScreenH = 480;
inline constexpr Rect kTitleCalm = {220, 180, 220, 220};  // the menu buttons are drawn over this

inline constexpr std::string_view kButtonsRest = "buttons1b.png";
inline constexpr std::string_view kButtonsLit = "buttons2b.png";
inline constexpr int kMenuSize = 512;
struct MenuButton {
    std::string_view label;
    Rect rect;
};
inline constexpr MenuButton kNewGame = {"New Game", {252, 72, 162, 62}};
inline constexpr MenuButton kTutorial = {"Tutorial", {268, 145, 132, 54}};
inline constexpr MenuButton kLevelSelect = {"Level Select", {236, 216, 200, 64}};
inline constexpr MenuButton kExit = {"Exit", {242, 282, 182, 64}};
inline constexpr std::array<MenuButton, 4> kMenuButtons = {kNewGame, kTutorial, kLevelSelect, kExit};

inline constexpr std::string_view kBackOk = "backok1.png";
inline constexpr MenuButton kBack = {"Back", {272, 228, 132, 64}};
inline constexpr MenuButton kOk = {"OK", {294, 336, 90, 58}};
inline constexpr std::array<MenuButton, 2> kBackOkButtons = {kBack, kOk};
// Level select's arrows either side of the level number, pointing left (down a level) and right
// (up a level), at rest and lit under the cursor.
inline constexpr std::array<Rect, 2> kLevelArrows = {{{20, 20, 24, 40}, {60, 20, 24, 40}}};
inline constexpr std::array<Rect, 2> kLevelArrowsLit = {{{20, 70, 24, 40}, {60, 70, 24, 40}}};

inline constexpr std::string_view kFade = "fade.png";
inline constexpr std::string_view kClouds = "clouds.png";
inline constexpr int kCloudsSize = 300;

// ---- board backgrounds -------------------------------------------------------------------------
inline constexpr int kBoardW = 510, kBoardH = 960;
inline constexpr std::array<std::string_view, 8> kBackgrounds = {
    "meadow", "sunset", "night", "cave", "ice", "volcano", "forest", "tutorial",
};

// ---- sounds and music --------------------------------------------------------------------------
inline constexpr int kSampleRate = 44100;
inline constexpr std::array<std::string_view, 7> kSounds = {
    "shoot.wav", "fireball.wav", "burn.wav", "bonus.wav", "penalty.wav", "pause.wav", "buttonclick.wav",
};

struct Tune {
    std::string_view file;
    double minSeconds, maxSeconds;  // the loop's length once the encoder's padding is trimmed
};
inline constexpr std::array<Tune, 5> kTunes = {{
    {"puzzle1.mp3", 45, 90},
    {"puzzle2.mp3", 45, 90},
    {"puzzle3.mp3", 45, 90},
    {"puzzlel.mp3", 6, 30},
    {"puzzlew.mp3", 6, 30},
}};

// ---- levels ------------------------------------------------------------------------------------
inline constexpr int kMinLevels = 30;

}  // namespace assets
