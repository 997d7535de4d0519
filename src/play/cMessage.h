// SPDX-License-Identifier: GPL-3.0-or-later
// Draws the big captions (paused, level, complete, game over), numbers in the digit font and
// blocks of plain text. Owns one sprite on "text.png"; every call draws at once, from DrawState.
#pragma once

#include <cstdint>
#include <string>

#include "gfx/Gfx.h"

class cMessage final {
public:
    cMessage();

    // White Arial text with a black shadow in the box; the optional line sits right below the box.
    void DrawMessageBox(const std::string& text, int32_t x, int32_t y, int32_t width, int32_t height, int32_t size,
                        int16_t flag, bool pressEnter);
    void DrawPause(int32_t x, int32_t y, int16_t alpha);
    void DrawLevel(int32_t x, int32_t y, int16_t alpha);
    void DrawComplete(int32_t x, int32_t y, int16_t alpha);
    void DrawGameOver(int32_t x, int32_t y, int16_t alpha);
    // Draws the digits of a decimal number left to right from (x, y) and answers the x after the
    // last digit. Characters other than digits are skipped without advancing. Text that is not a
    // 32-bit number is reported and ends the program. A scale below 1 draws smaller digits with
    // their top-left corners in the same places.
    int32_t DrawNumber(const std::string& text, int32_t x, int32_t y, int16_t alpha, float scale = 1);
    // How far DrawNumber advances over the text.
    static int32_t NumberWidth(const std::string& text);

private:
    GfxSprite m_TextSprite;  // on "text.png"; never put into gSprites
};

// True when text converts to a 32-bit signed number the way the game's number conversion does:
// surrounding spaces, a sign, a decimal fraction (rounded half to even) and an exponent are allowed.
bool ConvertsToLong(const std::string& text, int32_t* value = nullptr);
