// SPDX-License-Identifier: GPL-3.0-or-later
// The game's icon for the desktop's menus: the dragon over a row of orbs on an evening tile, drawn
// at every size the icon themes ask for, each from the same shapes (not scaled down from one PNG).
#include <cmath>
#include <string>

#include "Canvas.h"
#include "Pictures.h"

namespace gen {

namespace {
constexpr double Design = 256;  // the icon is laid out on a 256 x 256 tile, then scaled

// The title screen's evening sky on a rounded tile.
void Tile(cairo_t* cr) {
    cairo_save(cr);
    RoundedRect(cr, 8, 8, Design - 16, Design - 16, 44);
    cairo_clip(cr);
    EveningSky(cr, Design, Design);
    cairo_restore(cr);
    RoundedRect(cr, 8, 8, Design - 16, Design - 16, 44);
    SetColour(cr, FromHex(0x2a1640, 0.9));
    cairo_set_line_width(cr, 6);
    cairo_stroke(cr);
}
}  // namespace

void MakeIcon(const std::filesystem::path& out, int size) {
    Canvas canvas(size, size);
    cairo_t* cr = canvas.Cr();
    cairo_scale(cr, size / Design, size / Design);
    Tile(cr);
    Glow(cr, 128, 110, 100, {1.0, 0.8, 0.45, 0.45});
    // The dragon's 64 x 96 cell, its body centred on the tile with its mouth just above the orbs.
    cairo_save(cr);
    cairo_translate(cr, 128 - 30 * 2.0, 12);
    cairo_scale(cr, 2.0, 2.0);
    DrawDragon(cr, Wings::Up, true);
    cairo_restore(cr);
    const OrbKind::Kind row[] = {OrbKind::Red, OrbKind::Yellow, OrbKind::Blue};
    for (int i = 0; i < 3; ++i) {
        cairo_save(cr);
        cairo_translate(cr, 128 - 20 + (i - 1) * 46, 200);
        cairo_scale(cr, 40.0 / assets::kOrbSize, 40.0 / assets::kOrbSize);
        DrawOrb(cr, row[i]);
        cairo_restore(cr);
    }
    canvas.Save(out, "icon-" + std::to_string(size) + ".png");
}

}  // namespace gen
