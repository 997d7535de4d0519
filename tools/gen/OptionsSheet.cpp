// SPDX-License-Identifier: GPL-3.0-or-later
// options.png: the options screen's night-blue panel with its lettered heading, the glow behind the
// focused line, the boxes that show a key, a volume's slider and arrows, and the small Options
// button at rest and lit.
#include <cmath>

#include "Canvas.h"
#include "Lettering.h"
#include "Pictures.h"

namespace gen {

namespace {

using assets::Rect;

// Deep blue, a little see-through so the paused board shows behind it, with a gold rim.
void Panel(cairo_t* cr, const Rect& r) {
    const double x = r.x + 4, y = r.y + 4, w = r.w - 8, h = r.h - 8;
    RoundedRect(cr, x + 2, y + 4, w - 2, h - 4, 22);
    cairo_set_source_rgba(cr, 0, 0, 0, 0.4);
    cairo_fill(cr);
    RoundedRect(cr, x, y, w, h, 22);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, y, 0, y + h);
    AddStop(fill, 0, FromHex(0x2c2660, 0.93));
    AddStop(fill, 1, FromHex(0x141230, 0.93));
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    SetColour(cr, FromHex(0xd8a040));
    cairo_set_line_width(cr, 3);
    cairo_stroke(cr);
    RoundedRect(cr, x + 7, y + 7, w - 14, h - 14, 16);
    SetColour(cr, FromHex(0xd8a040, 0.35));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    // A few stars in the corners, away from the lines of text.
    Rng rng(27);
    for (int i = 0; i < 18; ++i) {
        const double sx = i % 2 == 0 ? rng.Uniform(x + 14, x + 60) : rng.Uniform(x + w - 60, x + w - 14);
        const double sy = rng.Uniform(y + 12, y + 44);
        cairo_set_source_rgba(cr, 1, 0.95, 0.8, rng.Uniform(0.3, 0.8));
        Star(cr, sx, sy, 4, rng.Uniform(1.5, 3.2), 0.8, rng.Uniform(0, 1));
        cairo_fill(cr);
    }
    LetterStyle heading;
    heading.outlineWidth = 3;
    DrawFittedText(cr, "Options", {r.x + 160, r.y + 8, r.w - 320, 46}, heading, 1);
    cairo_move_to(cr, x + 40, y + 54.5);
    cairo_line_to(cr, x + w - 40, y + 54.5);
    SetColour(cr, FromHex(0xd8a040, 0.5));
    cairo_stroke(cr);
}

void FocusGlow(cairo_t* cr, const Rect& r) {
    RoundedRect(cr, r.x + 1, r.y + 1, r.w - 2, r.h - 2, (r.h - 2) / 2.0);
    cairo_pattern_t* glow = cairo_pattern_create_linear(r.x, 0, r.x + r.w, 0);
    AddStop(glow, 0, FromHex(0xffc24a, 0.12));
    AddStop(glow, 0.3, FromHex(0xffc24a, 0.38));
    AddStop(glow, 0.7, FromHex(0xffc24a, 0.38));
    AddStop(glow, 1, FromHex(0xffc24a, 0.12));
    cairo_set_source(cr, glow);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(glow);
    SetColour(cr, FromHex(0xfff2b0, 0.7));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

void Slot(cairo_t* cr, const Rect& r, bool lit) {
    RoundedRect(cr, r.x + 1.5, r.y + 1.5, r.w - 3, r.h - 3, 6);
    SetColour(cr, lit ? FromHex(0x4a2a10, 0.95) : FromHex(0x100c24, 0.9));
    cairo_fill_preserve(cr);
    SetColour(cr, lit ? FromHex(0xffd060) : FromHex(0x8a70c0));
    cairo_set_line_width(cr, lit ? 2.5 : 1.5);
    cairo_stroke(cr);
}

void Track(cairo_t* cr, const Rect& r, bool filled) {
    RoundedRect(cr, r.x + 1, r.y + 2, r.w - 2, r.h - 4, (r.h - 4) / 2.0);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, r.y, 0, r.y + r.h);
    AddStop(p, 0, filled ? FromHex(0xffe27a) : FromHex(0x0a0818));
    AddStop(p, 1, filled ? FromHex(0xf07a1a) : FromHex(0x2a2450));
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, FromHex(filled ? 0x7a2a08 : 0x8a70c0));
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

void Knob(cairo_t* cr, const Rect& r) {
    cairo_save(cr);
    cairo_translate(cr, r.x + r.w / 2.0, r.y + r.h / 2.0);
    cairo_scale(cr, (r.w - 3) / 2.0, (r.h - 3) / 2.0);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* p =
        cairo_pattern_create_radial(r.x + r.w * 0.4, r.y + r.h * 0.35, 1, r.x + r.w / 2.0, r.y + r.h / 2.0, r.h / 2.0);
    AddStop(p, 0, FromHex(0xfff6d0));
    AddStop(p, 0.5, FromHex(0xffc24a));
    AddStop(p, 1, FromHex(0xb05a10));
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, FromHex(0x4a1c08));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
}

// A gold disc with a triangle pointing left (-1) or right (+1).
void Arrow(cairo_t* cr, const Rect& r, int direction) {
    const double cx = r.x + r.w / 2.0, cy = r.y + r.h / 2.0, radius = r.w / 2.0 - 1.5;
    cairo_arc(cr, cx, cy, radius, 0, 2 * M_PI);
    SetColour(cr, FromHex(0x3a1a5a));
    cairo_fill_preserve(cr);
    SetColour(cr, FromHex(0xd8a040));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
    cairo_move_to(cr, cx + direction * 5.5, cy);
    cairo_line_to(cr, cx - direction * 3.5, cy - 6);
    cairo_line_to(cr, cx - direction * 3.5, cy + 6);
    cairo_close_path(cr);
    SetColour(cr, FromHex(0xffe8a0));
    cairo_fill(cr);
}

}  // namespace

void MakeOptionsSheet(const std::filesystem::path& out) {
    Canvas canvas(assets::kOptionsW, assets::kOptionsH);
    cairo_t* cr = canvas.Cr();
    Panel(cr, assets::kOptionsPanel);
    FocusGlow(cr, assets::kOptionsFocus);
    Slot(cr, assets::kOptionsSlot, false);
    Slot(cr, assets::kOptionsSlotLit, true);
    Track(cr, assets::kOptionsTrack, false);
    Track(cr, assets::kOptionsFill, true);
    Knob(cr, assets::kOptionsKnob);
    Arrow(cr, assets::kOptionsLess, -1);
    Arrow(cr, assets::kOptionsMore, +1);
    MenuButton(cr, assets::kOptionsButton, false);
    MenuButton(cr, {assets::kOptionsButton.label, assets::kOptionsButtonLit}, true);
    canvas.Save(out, assets::kOptions);
}

}  // namespace gen
