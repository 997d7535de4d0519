// SPDX-License-Identifier: GPL-3.0-or-later
// Lettering for captions, digits and button labels: pango text turned into an outlined, gradient-filled
// path that is scaled to fill a box. Fonts are found through fontconfig.
#pragma once

#include <cairo.h>

#include <string_view>

#include "Canvas.h"
#include "shell/AssetTable.h"

namespace gen {

struct LetterStyle {
    const char* font = "DejaVu Serif Bold";
    Colour top = FromHex(0xffe27a);     // fill at the top of the letters
    Colour bottom = FromHex(0xf07a1a);  // fill at the bottom
    Colour outline = FromHex(0x4a1c08);
    double outlineWidth = 3.0;  // pixels outside the letter shapes
    bool shadow = true;         // a soft drop shadow below and right
    bool stretch = false;       // scale width and height separately so the text fills the box
    double maxFontPx = 0;       // when above 0, the largest font size in pixels, so labels match
};

// Draws text centred in the box, as large as fits inside margin pixels of it.
void DrawFittedText(cairo_t* cr, std::string_view text, const assets::Rect& box, const LetterStyle& style,
                    double margin);

}  // namespace gen
