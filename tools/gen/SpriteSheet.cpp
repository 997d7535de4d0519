// SPDX-License-Identifier: GPL-3.0-or-later
// sprites.png: orbs, burn animations, bonus items, fireball, cursor, the dragon, the play-screen
// buttons and the side panel, each drawn into its cell of the content map.
#include <array>
#include <cmath>

#include "Canvas.h"
#include "Lettering.h"
#include "Pictures.h"
#include "game/PlayGeometry.h"

namespace gen {

using assets::Rect;

namespace {

struct OrbLook {
    Colour base;
    Colour mark;
};

OrbLook LookOf(OrbKind::Kind kind) {
    switch (kind) {
        case OrbKind::Red:
            return {FromHex(0xe02a2a), FromHex(0xffd0c8)};
        case OrbKind::Blue:
            return {FromHex(0x2a6ae8), FromHex(0xcfe6ff)};
        case OrbKind::Purple:
            return {FromHex(0x9a3ad8), FromHex(0xf0d4ff)};
        case OrbKind::Green:
            return {FromHex(0x2fb43a), FromHex(0xd8ffc8)};
        case OrbKind::Yellow:
            return {FromHex(0xf2c81a), FromHex(0x7a4a00)};
        case OrbKind::BlackFalling:
        case OrbKind::BlackFixed:
            return {FromHex(0x2a2630), FromHex(0x8a8494)};
        case OrbKind::White:
            return {FromHex(0xeeeef4), FromHex(0x9fb0d8)};
        default:
            break;
    }
    return {FromHex(0x808080), FromHex(0xffffff)};
}

// The small inner mark that tells the orbs apart without relying on colour.
void OrbMarkPath(cairo_t* cr, OrbKind::Kind kind, double cx, double cy) {
    switch (kind) {
        case OrbKind::Red:  // heart
            cairo_move_to(cr, cx, cy + 4.2);
            cairo_curve_to(cr, cx - 6.5, cy - 0.5, cx - 3.5, cy - 5.5, cx, cy - 2.2);
            cairo_curve_to(cr, cx + 3.5, cy - 5.5, cx + 6.5, cy - 0.5, cx, cy + 4.2);
            cairo_close_path(cr);
            break;
        case OrbKind::Blue:  // water drop
            cairo_move_to(cr, cx, cy - 5);
            cairo_curve_to(cr, cx + 1.5, cy - 2, cx + 4, cy, cx + 4, cy + 2);
            cairo_arc(cr, cx, cy + 2, 4, 0, M_PI);
            cairo_curve_to(cr, cx - 4, cy, cx - 1.5, cy - 2, cx, cy - 5);
            cairo_close_path(cr);
            break;
        case OrbKind::Purple:
            Star(cr, cx, cy + 0.3, 5, 5.2, 2.2, 0);
            break;
        case OrbKind::Green:  // leaf
            cairo_move_to(cr, cx - 4.5, cy + 4.5);
            cairo_curve_to(cr, cx - 5, cy - 2, cx - 1, cy - 4.5, cx + 4.5, cy - 4.5);
            cairo_curve_to(cr, cx + 4.5, cy + 1, cx + 2, cy + 5, cx - 4.5, cy + 4.5);
            cairo_close_path(cr);
            break;
        case OrbKind::Yellow:  // diamond
            cairo_move_to(cr, cx, cy - 5.2);
            cairo_line_to(cr, cx + 4.2, cy);
            cairo_line_to(cr, cx, cy + 5.2);
            cairo_line_to(cr, cx - 4.2, cy);
            cairo_close_path(cr);
            break;
        case OrbKind::BlackFalling:
        case OrbKind::BlackFixed:  // a cross: nothing but fire breaks it
            cairo_move_to(cr, cx - 3.5, cy - 3.5);
            cairo_line_to(cr, cx + 3.5, cy + 3.5);
            cairo_move_to(cr, cx + 3.5, cy - 3.5);
            cairo_line_to(cr, cx - 3.5, cy + 3.5);
            break;
        case OrbKind::White:
            Star(cr, cx, cy, 4, 5.5, 1.6, 0);
            break;  // sparkle: something inside
        default:
            break;
    }
}

bool IsBlack(OrbKind::Kind kind) { return kind == OrbKind::BlackFalling || kind == OrbKind::BlackFixed; }

// Orbs are drawn in a 24 x 24 cell about this centre, with this radius.
constexpr double kOrbCentre = 12, kOrbRadius = 11.2;

// A soft contact shadow, so orbs read as round against any background.
void OrbShadow(cairo_t* cr) {
    const double c = kOrbCentre, r = kOrbRadius;
    cairo_pattern_t* halo = cairo_pattern_create_radial(c, c + 0.6, r - 1, c, c + 0.6, r + 0.8);
    AddStop(halo, 0, {0, 0, 0, 0.45});
    AddStop(halo, 1, {0, 0, 0, 0});
    cairo_set_source(cr, halo);
    cairo_arc(cr, c, c + 0.6, r + 0.8, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);
}

// The ball lit from the upper left, a warm bounce light along its lower rim, and a dark rim line.
void OrbBody(cairo_t* cr, OrbKind::Kind kind, const Colour& base) {
    const double c = kOrbCentre, r = kOrbRadius;
    cairo_pattern_t* body = cairo_pattern_create_radial(c - 3.5, c - 4, 0.5, c, c, r);
    AddStop(body, 0.0, Shade(base, 1.55));
    AddStop(body, 0.45, base);
    AddStop(body, 0.85, Shade(base, 0.62));
    AddStop(body, 1.0, Shade(base, 0.42));
    cairo_set_source(cr, body);
    cairo_arc(cr, c, c, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(body);

    cairo_pattern_t* bounce = cairo_pattern_create_linear(0, c + 4, 0, c + r);
    AddStop(bounce, 0, {1, 1, 1, 0});
    AddStop(bounce, 1, {1, 0.95, 0.85, IsBlack(kind) ? 0.12 : 0.22});
    cairo_set_source(cr, bounce);
    cairo_arc(cr, c, c, r - 1.2, 0.15 * M_PI, 0.85 * M_PI);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    cairo_pattern_destroy(bounce);

    // The edge in two tones, a light ring inside a near-black rim, so that one of them stands
    // out from whatever lies behind: the rim on skies and ice, the ring on night, rock and lava.
    cairo_set_line_width(cr, 1.1);
    SetColour(cr, {Mix(base, {1, 1, 1}, 0.8).r, Mix(base, {1, 1, 1}, 0.8).g, Mix(base, {1, 1, 1}, 0.8).b, 0.95});
    cairo_arc(cr, c, c, r - 1.6, 0, 2 * M_PI);
    cairo_stroke(cr);
    SetColour(cr, Shade(base, 0.18));
    cairo_arc(cr, c, c, r - 0.55, 0, 2 * M_PI);
    cairo_stroke(cr);
}

// The inner mark tells the kinds apart by more than hue: a light fill with a dark edge reads on
// every colour; on the black orb a light line alone.
void OrbMark(cairo_t* cr, OrbKind::Kind kind, const OrbLook& look) {
    OrbMarkPath(cr, kind, kOrbCentre, kOrbCentre + 0.8);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    if (IsBlack(kind)) {
        cairo_set_line_width(cr, 2.2);
        SetColour(cr, look.mark);
        cairo_stroke(cr);
    } else {
        cairo_set_line_width(cr, 1.1);
        SetColour(cr, {Shade(look.base, 0.35).r, Shade(look.base, 0.35).g, Shade(look.base, 0.35).b, 0.85});
        cairo_stroke_preserve(cr);
        SetColour(cr, {look.mark.r, look.mark.g, look.mark.b, 0.92});
        cairo_fill(cr);
    }
}

// A glossy highlight and a small sharp glint, where the light falls.
void OrbGloss(cairo_t* cr) {
    const double c = kOrbCentre;
    cairo_save(cr);
    cairo_translate(cr, c - 4.2, c - 5.2);
    cairo_scale(cr, 1.0, 0.65);
    cairo_pattern_t* gloss = cairo_pattern_create_radial(0, 0, 0, 0, 0, 4.6);
    AddStop(gloss, 0, {1, 1, 1, 0.95});
    AddStop(gloss, 1, {1, 1, 1, 0});
    cairo_set_source(cr, gloss);
    cairo_arc(cr, 0, 0, 4.6, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(gloss);
    cairo_restore(cr);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.9);
    cairo_arc(cr, c - 5, c - 5.8, 1.3, 0, 2 * M_PI);
    cairo_fill(cr);
}

}  // namespace

void DrawOrb(cairo_t* cr, OrbKind::Kind kind) {
    const OrbLook look = LookOf(kind);
    OrbShadow(cr);
    OrbBody(cr, kind, look.base);
    OrbMark(cr, kind, look);
    OrbGloss(cr);
}

namespace {

// One tongue of flame: a teardrop pointing up from its base, hot in the middle.
void FlameTongue(cairo_t* cr, double x, double base, double width, double height, double alpha) {
    if (height <= 0.5 || alpha <= 0) return;
    cairo_move_to(cr, x, base - height);
    cairo_curve_to(cr, x + width * 0.35, base - height * 0.55, x + width * 0.6, base - height * 0.2, x + width * 0.5,
                   base);
    cairo_arc(cr, x, base, width * 0.5, 0, M_PI);
    cairo_curve_to(cr, x - width * 0.6, base - height * 0.2, x - width * 0.35, base - height * 0.55, x, base - height);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_radial(x, base - height * 0.15, 0, x, base - height * 0.35, height * 0.8);
    AddStop(p, 0.0, {1.0, 0.98, 0.75, alpha});
    AddStop(p, 0.35, {1.0, 0.78, 0.2, alpha});
    AddStop(p, 0.7, {0.95, 0.35, 0.05, alpha * 0.9});
    AddStop(p, 1.0, {0.7, 0.1, 0.02, alpha * 0.6});
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

void SmokePuff(cairo_t* cr, double x, double y, double radius, double alpha) {
    cairo_pattern_t* p = cairo_pattern_create_radial(x - radius * 0.3, y - radius * 0.3, 0, x, y, radius);
    AddStop(p, 0, {0.55, 0.52, 0.5, alpha});
    AddStop(p, 0.7, {0.4, 0.38, 0.37, alpha * 0.7});
    AddStop(p, 1, {0.3, 0.3, 0.3, 0});
    cairo_set_source(cr, p);
    cairo_arc(cr, x, y, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

}  // namespace

namespace {

// Frames 0..12: the flame grows over the orb (which the game hides at frame 6), then dies down to
// embers and a puff of smoke that fades.
void DrawBurnFrame(cairo_t* cr, int frame) {
    Rng rng(100 + frame);
    if (frame <= 6) {
        const double t = (frame + 1) / 7.0;
        Glow(cr, 12, 13, 6 + 7 * t, {1.0, 0.55, 0.1, 0.25 + 0.6 * t});
        const int tongues = 3 + frame;
        for (int i = 0; i < tongues; ++i) {
            const double x = 12 + rng.Uniform(-7, 7) * (0.5 + 0.5 * t);
            const double h = (6 + rng.Uniform(0, 8)) * (0.45 + 0.75 * t);
            FlameTongue(cr, x, 21 - rng.Uniform(0, 3), 4 + 3 * t, h, 0.65 + 0.35 * t);
        }
        if (frame >= 4) FlameTongue(cr, 12, 21.5, 9.5 + (frame - 4) * 2.0, 14.0 + (frame - 4) * 3.2, 0.92);
    } else if (frame <= 9) {
        const double t = (frame - 6) / 3.0;  // dying flame
        SmokePuff(cr, 12, 9 - 3 * t, 5 + 2 * t, 0.35 * t);
        Glow(cr, 12, 17, 9 - 3 * t, {1.0, 0.45, 0.05, 0.7 - 0.4 * t});
        for (int i = 0; i < 4; ++i) {
            FlameTongue(cr, 12 + rng.Uniform(-5, 5), 21, 5 - 2 * t, (12 - 8 * t) * rng.Uniform(0.6, 1.0),
                        0.9 - 0.3 * t);
        }
        for (int i = 0; i < 5; ++i) {
            cairo_set_source_rgba(cr, 1.0, 0.7, 0.2, 0.9 - 0.3 * t);
            cairo_arc(cr, 12 + rng.Uniform(-8, 8), 21 - rng.Uniform(0, 14) * (0.5 + t), 0.9, 0, 2 * M_PI);
            cairo_fill(cr);
        }
    } else {
        const double t = (frame - 9) / 3.0;  // smoke fading away
        for (int i = 0; i < 3; ++i)
            SmokePuff(cr, 12 + (i - 1) * 4.5 + rng.Uniform(-1, 1), 12 - 5 * t - i % 2 * 2, 4.5 + 3 * t,
                      0.5 * (1.0 - t) + 0.12);
        cairo_set_source_rgba(cr, 1.0, 0.55, 0.15, 0.6 * (1 - t) + 0.15);
        cairo_arc(cr, 12 + rng.Uniform(-3, 3), 20, 1.0, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

// The white orb cracks with light (first cell), then bursts into shards and sparkles (frames 1..9).
void DrawWhiteBurnFrame(cairo_t* cr, int frame) {
    if (frame == 0) {
        DrawOrb(cr, OrbKind::White);
        Glow(cr, 12, 12, 9, {1.0, 0.95, 0.6, 0.6});
        cairo_set_source_rgba(cr, 1.0, 0.85, 0.3, 0.95);
        cairo_set_line_width(cr, 1.0);
        cairo_move_to(cr, 12, 4);
        cairo_line_to(cr, 10, 9);
        cairo_line_to(cr, 14, 12);
        cairo_line_to(cr, 11, 19);
        cairo_move_to(cr, 14, 12);
        cairo_line_to(cr, 19, 14);
        cairo_stroke(cr);
        return;
    }
    const double t = frame / 9.0;
    Glow(cr, 12, 12, 9 + 3 * t, {1.0, 0.97, 0.75, 0.95 * (1 - t) + 0.1});
    cairo_set_source_rgba(cr, 1.0, 0.92, 0.55, 0.8 * (1 - t) + 0.1);
    cairo_set_line_width(cr, 1.2);
    cairo_arc(cr, 12, 12, 5 + 6.5 * t, 0, 2 * M_PI);
    cairo_stroke(cr);
    Rng rng(7);
    for (int i = 0; i < 8; ++i) {
        const double a = i * M_PI / 4 + rng.Uniform(-0.3, 0.3);
        const double d = 5 + 6.5 * t;
        const double x = 12 + d * std::cos(a), y = 12 + d * std::sin(a);
        const double s = 2.2 * (1 - t) + 0.8;
        cairo_save(cr);
        cairo_translate(cr, x, y);
        cairo_rotate(cr, a + frame * 0.6);
        cairo_move_to(cr, -s, -s * 0.6);
        cairo_line_to(cr, s, 0);
        cairo_line_to(cr, -s * 0.4, s * 0.8);
        cairo_close_path(cr);
        cairo_set_source_rgba(cr, 0.95, 0.96, 1.0, 0.95 - 0.55 * t);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    for (int i = 0; i < 5; ++i) {
        const double a = rng.Uniform(0, 2 * M_PI), d = rng.Uniform(2, 10) * (0.4 + t);
        Star(cr, 12 + d * std::cos(a), 12 + d * std::sin(a), 4, 2.2, 0.6, 0);
        cairo_set_source_rgba(cr, 1.0, 0.95, 0.5, 0.9 - 0.5 * t);
        cairo_fill(cr);
    }
}

void DrawChest(cairo_t* cr) {
    const Colour wood = FromHex(0x8a4a1c), gold = FromHex(0xf2c230), dark = FromHex(0x3a1a08);
    Glow(cr, 12, 11, 11, {1.0, 0.9, 0.4, 0.45});
    // Lid, tipped open with treasure shining out.
    cairo_move_to(cr, 3, 10);
    cairo_curve_to(cr, 3, 4, 21, 4, 21, 10);
    cairo_close_path(cr);
    SetColour(cr, Shade(wood, 1.2));
    cairo_fill_preserve(cr);
    SetColour(cr, dark);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
    cairo_set_source_rgba(cr, 1, 0.95, 0.5, 1);
    cairo_rectangle(cr, 4, 9.5, 16, 2.5);
    cairo_fill(cr);
    // Body.
    cairo_rectangle(cr, 3.5, 11.5, 17, 9);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 11, 0, 21);
    AddStop(p, 0, Shade(wood, 1.15));
    AddStop(p, 1, Shade(wood, 0.7));
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, dark);
    cairo_stroke(cr);
    // Gold bands and lock.
    SetColour(cr, gold);
    cairo_rectangle(cr, 6, 11.5, 2, 9);
    cairo_rectangle(cr, 16, 11.5, 2, 9);
    cairo_fill(cr);
    cairo_rectangle(cr, 10, 12.5, 4, 4.5);
    cairo_fill_preserve(cr);
    SetColour(cr, dark);
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    cairo_rectangle(cr, 11.5, 14, 1, 2);
    cairo_fill(cr);
    Star(cr, 17, 6.5, 4, 3, 0.7, 0);
    cairo_set_source_rgba(cr, 1, 1, 0.85, 1);
    cairo_fill(cr);
}

void DrawTornado(cairo_t* cr) {
    // A funnel of swirling grey bands, wide at the top.
    for (int i = 0; i < 7; ++i) {
        const double y = 3 + i * 2.9;
        const double half = 10.5 - i * 1.35;
        const double sway = std::sin(i * 0.9) * 1.5;
        cairo_save(cr);
        cairo_translate(cr, 12 + sway, y);
        cairo_scale(cr, half, 1.6);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
        const double shade = 0.5 + 0.06 * i;
        cairo_set_source_rgba(cr, shade, shade, shade + 0.08, 0.95);
        cairo_fill_preserve(cr);
        cairo_set_source_rgba(cr, 0.18, 0.18, 0.24, 0.9);
        cairo_set_line_width(cr, 0.9);
        cairo_stroke(cr);
    }
    cairo_set_source_rgba(cr, 1, 1, 1, 0.6);
    cairo_set_line_width(cr, 0.8);
    cairo_move_to(cr, 5, 4);
    cairo_curve_to(cr, 9, 6, 15, 6, 19, 3.5);
    cairo_move_to(cr, 8, 10);
    cairo_curve_to(cr, 11, 11, 14, 11, 16, 9.5);
    cairo_stroke(cr);
    // Bits of debris caught in the wind.
    cairo_set_source_rgba(cr, 0.45, 0.3, 0.15, 1);
    cairo_rectangle(cr, 3, 12, 1.8, 1.8);
    cairo_rectangle(cr, 19, 15, 1.6, 1.6);
    cairo_fill(cr);
}

// A ball of fire with flames licking upwards from it; the flames flicker from frame to frame.
void DrawFireball(cairo_t* cr, int frame) {
    Glow(cr, 12, 14, 11, {1.0, 0.45, 0.05, 0.55});
    Rng rng(300 + frame);
    const double xs[] = {6.5, 9.5, 12, 14.5, 17.5};
    for (int i = 0; i < 5; ++i) {
        const double h = (i == 2 ? 13 : (i == 1 || i == 3 ? 10.5 : 7.5)) + rng.Uniform(-1.5, 1.5);
        FlameTongue(cr, xs[i] + rng.Uniform(-0.8, 0.8), 15, 5.5, h, 0.9);
    }
    cairo_pattern_t* body = cairo_pattern_create_radial(11.2, 14, 0, 12, 15, 7.5);
    AddStop(body, 0, {1, 1, 0.92, 1});
    AddStop(body, 0.4, {1, 0.88, 0.35, 1});
    AddStop(body, 0.8, {1, 0.5, 0.08, 1});
    AddStop(body, 1, {0.85, 0.22, 0.02, 0.0});
    cairo_set_source(cr, body);
    cairo_arc(cr, 12, 15, 7.5, 0, 2 * M_PI);
    cairo_fill(cr);
    // Sparks thrown off the flame.
    for (int i = 0; i < 3; ++i) {
        cairo_set_source_rgba(cr, 1, 0.9, 0.5, 0.9);
        cairo_arc(cr, rng.Uniform(4, 20), rng.Uniform(1, 7), 0.7, 0, 2 * M_PI);
        cairo_fill(cr);
    }
}

void DrawCursor(cairo_t* cr) {
    cairo_move_to(cr, 1.5, 1.5);
    cairo_line_to(cr, 1.5, 19);
    cairo_line_to(cr, 6, 14.5);
    cairo_line_to(cr, 9.5, 21.5);
    cairo_line_to(cr, 12.5, 20);
    cairo_line_to(cr, 9, 13.5);
    cairo_line_to(cr, 15, 13.5);
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 0, 12, 20);
    AddStop(p, 0, FromHex(0xfff2b0));
    AddStop(p, 1, FromHex(0xf08a20));
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 1.4);
    SetColour(cr, FromHex(0x3a1606));
    cairo_stroke(cr);
}

}  // namespace

namespace {

void Eye(cairo_t* cr, double x, double y) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, 1.0, 1.15);
    cairo_arc(cr, 0, 0, 3.4, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_fill_preserve(cr);
    SetColour(cr, FromHex(0x3a1606));
    cairo_set_line_width(cr, 0.9);
    cairo_stroke(cr);
    SetColour(cr, FromHex(0x2a1a3a));
    cairo_arc(cr, x, y + 1.0, 2.0, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_source_rgb(cr, 1, 1, 1);
    cairo_arc(cr, x - 0.7, y + 0.2, 0.8, 0, 2 * M_PI);
    cairo_fill(cr);
}

// The dragon's colours: warm orange scales, darker where the body turns away from the light.
struct DragonPalette {
    Colour scale = FromHex(0xf08a2a);
    Colour scaleDark = FromHex(0xb8501a);
    Colour outline = FromHex(0x4a1c08);
};

// The body's centre line; the mouth sits on it, so shots leave straight below the dragon.
constexpr double kSpine = 30;

// An ellipse path about (x, y): a circle of radius r stretched by (sx, sy).
void Ellipse(cairo_t* cr, double x, double y, double sx, double sy, double r = 1) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, sx, sy);
    cairo_arc(cr, 0, 0, r, 0, 2 * M_PI);
    cairo_restore(cr);
}

// Fills the current path and outlines it, so every part reads against any background.
void FillAndOutline(cairo_t* cr, const Colour& fill, const Colour& outline, double width) {
    SetColour(cr, fill);
    cairo_fill_preserve(cr);
    SetColour(cr, outline);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

void FillAndOutline(cairo_t* cr, cairo_pattern_t* fill, const Colour& outline, double width) {
    cairo_set_source(cr, fill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(fill);
    SetColour(cr, outline);
    cairo_set_line_width(cr, width);
    cairo_stroke(cr);
}

// The tail curls up to the top of the cell and sways against the wing beat, so the flight looks alive.
void Tail(cairo_t* cr, const DragonPalette& c, Wings wings) {
    const double sway = wings == Wings::Up ? -2 : (wings == Wings::Down ? 2 : 0);
    cairo_move_to(cr, kSpine, 40);
    cairo_curve_to(cr, kSpine + 6, 28, kSpine - 7 + sway, 20, kSpine + sway, 9);
    SetColour(cr, c.outline);
    cairo_set_line_width(cr, 7.5);
    cairo_stroke_preserve(cr);
    SetColour(cr, c.scale);
    cairo_set_line_width(cr, 5.5);
    cairo_stroke(cr);
    // The spade tip.
    cairo_move_to(cr, kSpine + sway, 2);
    cairo_line_to(cr, kSpine + sway + 5, 9);
    cairo_line_to(cr, kSpine + sway, 12);
    cairo_line_to(cr, kSpine + sway - 5, 9);
    cairo_close_path(cr);
    FillAndOutline(cr, c.scaleDark, c.outline, 1.1);
}

// A wing frame's pose: where the tip reaches and how far the membrane bulges. A raised wing
// catches more light and a lowered one falls into shadow, so the three frames tell apart.
struct WingPose {
    double tipX, tipY, bulge, light;
};

WingPose PoseOf(Wings wings) {
    switch (wings) {
        case Wings::Up:
            return {25, 15, 6.5, 1.2};
        case Wings::Down:
            return {27, 62, 4.5, 0.82};
        default:
            return {29, 36, 5.5, 1.0};
    }
}

// The points a wing is built on, for the left (side -1) or right (+1) wing.
struct WingFrame {
    double side;
    double sx, sy;        // shoulder
    double tx, ty;        // tip
    double hx, hy;        // hip
    double nx, ny;        // unit normal of the tip-to-hip line, pointing away from the body
    double archX, archY;  // where the bone arches up between shoulder and tip
};

WingFrame FrameOf(double side, const WingPose& pose) {
    WingFrame w{};
    w.side = side;
    w.sx = kSpine + side * 7;
    w.sy = 44;
    w.tx = kSpine + side * pose.tipX;
    w.ty = pose.tipY;
    w.hx = kSpine + side * 7.5;
    w.hy = 57;
    w.nx = -(w.hy - w.ty);
    w.ny = w.hx - w.tx;
    const double len = std::hypot(w.nx, w.ny);
    w.nx /= len;
    w.ny /= len;
    if (w.nx * side < 0) {
        w.nx = -w.nx;
        w.ny = -w.ny;
    }
    w.archX = (w.sx + w.tx) / 2 + side * 2;
    w.archY = std::min(w.sy, w.ty) - 6;
    return w;
}

// The bony leading edge from the shoulder over the arch to the tip.
void LeadingEdge(cairo_t* cr, const WingFrame& w) {
    cairo_move_to(cr, w.sx, w.sy - 2);
    cairo_curve_to(cr, w.archX - w.side * 4, w.archY + 2, w.archX + w.side * 4, w.archY, w.tx, w.ty);
}

// The membrane: the leading edge, then a trailing edge of three scallops back to the hip, lit
// from the tip. Answers the first two scallop joints, where the finger bones end.
std::array<std::pair<double, double>, 2> WingMembrane(cairo_t* cr, const WingFrame& w, const WingPose& pose) {
    std::array<std::pair<double, double>, 2> joints{};
    LeadingEdge(cr, w);
    for (int i = 1; i <= 3; ++i) {
        const double f0 = (i - 1) / 3.0, f1 = i / 3.0, fm = (f0 + f1) / 2;
        const double ex = w.tx + (w.hx - w.tx) * f1, ey = w.ty + (w.hy - w.ty) * f1;
        const double mx = w.tx + (w.hx - w.tx) * fm + w.nx * pose.bulge;
        const double my = w.ty + (w.hy - w.ty) * fm + w.ny * pose.bulge;
        cairo_curve_to(cr, mx, my, mx, my, ex, ey);
        if (i < 3) joints[i - 1] = {ex, ey};
    }
    cairo_close_path(cr);
    const Colour membrane = Shade(FromHex(0xb0409a), pose.light);
    cairo_pattern_t* p = cairo_pattern_create_linear(w.sx, w.sy, w.tx, w.ty);
    AddStop(p, 0, Shade(membrane, 0.7));
    AddStop(p, 1, Shade(membrane, 1.3));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    FillAndOutline(cr, p, FromHex(0x4a1030), 1.1);
    return joints;
}

// A wing seen from above: the membrane, finger bones fanning from the wrist to the scallop
// joints, then the bone of the leading edge drawn over it with a claw at the tip.
void Wing(cairo_t* cr, double side, Wings wings) {
    const WingPose pose = PoseOf(wings);
    const WingFrame w = FrameOf(side, pose);
    const auto joints = WingMembrane(cr, w, pose);
    const double wristX = w.tx + (w.sx - w.tx) * 0.25, wristY = w.ty + (w.sy - w.ty) * 0.25;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, {0.42, 0.08, 0.22, 0.85});
    for (const auto& [jx, jy] : joints) {
        cairo_move_to(cr, wristX, wristY);
        cairo_line_to(cr, jx, jy);
    }
    cairo_stroke(cr);
    cairo_set_line_width(cr, 2.2);
    SetColour(cr, FromHex(0xd8602a));
    LeadingEdge(cr, w);
    cairo_stroke(cr);
    SetColour(cr, FromHex(0xfff0d0));
    cairo_arc(cr, w.tx, w.ty, 1.3, 0, 2 * M_PI);
    cairo_fill(cr);
}

// Hind legs peek out beside the body; front legs stand below them with three pale claws each.
void Legs(cairo_t* cr, const DragonPalette& c) {
    for (int side = -1; side <= 1; side += 2) {
        Ellipse(cr, kSpine + side * 9, 55, 1.0, 1.4, 3.2);
        FillAndOutline(cr, c.scaleDark, c.outline, 1);
    }
    for (int side = -1; side <= 1; side += 2) {
        Ellipse(cr, kSpine + side * 10.5, 61, 0.9, 1.2, 3.2);
        FillAndOutline(cr, c.scale, c.outline, 1);
        SetColour(cr, FromHex(0xfff4e0));
        for (int k = -1; k <= 1; ++k) {
            cairo_arc(cr, kSpine + side * 11.5 + k * 1.4, 64.5, 0.6, 0, 2 * M_PI);
            cairo_fill(cr);
        }
    }
}

// The body, lit down its middle so it looks round, with golden spikes along the back.
void Body(cairo_t* cr, const DragonPalette& c) {
    Ellipse(cr, kSpine, 50, 10.5, 15);
    cairo_pattern_t* fill = cairo_pattern_create_linear(kSpine - 10, 0, kSpine + 10, 0);
    AddStop(fill, 0, c.scaleDark);
    AddStop(fill, 0.4, Shade(c.scale, 1.15));
    AddStop(fill, 1, c.scaleDark);
    FillAndOutline(cr, fill, c.outline, 1.2);
    for (int i = 0; i < 4; ++i) {
        const double y = 38 + i * 6;
        cairo_move_to(cr, kSpine - 2, y + 2);
        cairo_line_to(cr, kSpine, y - 2);
        cairo_line_to(cr, kSpine + 2, y + 2);
        cairo_close_path(cr);
    }
    SetColour(cr, FromHex(0xffd24a));
    cairo_fill(cr);
}

// The head at the bottom of the cell, facing the player, lit from the upper left; little horns
// sweep back over it and a fin stands out at each side.
void Head(cairo_t* cr, const DragonPalette& c) {
    Ellipse(cr, kSpine, 77, 11.5, 10.5);
    cairo_pattern_t* fill = cairo_pattern_create_radial(kSpine - 3, 72, 1, kSpine, 77, 13);
    AddStop(fill, 0, Shade(c.scale, 1.3));
    AddStop(fill, 1, c.scaleDark);
    FillAndOutline(cr, fill, c.outline, 1.2);
    for (int side = -1; side <= 1; side += 2) {
        cairo_move_to(cr, kSpine + side * 4.5, 69);
        cairo_curve_to(cr, kSpine + side * 6, 64, kSpine + side * 8, 62, kSpine + side * 10.5, 60.5);
        cairo_curve_to(cr, kSpine + side * 9.5, 63.5, kSpine + side * 9, 66.5, kSpine + side * 8.5, 70);
        cairo_close_path(cr);
        FillAndOutline(cr, FromHex(0xfff0c8), c.outline, 0.9);
        cairo_move_to(cr, kSpine + side * 10.5, 73);
        cairo_line_to(cr, kSpine + side * 14.5, 71);
        cairo_line_to(cr, kSpine + side * 11.5, 78);
        cairo_close_path(cr);
        FillAndOutline(cr, FromHex(0xb0409a), c.outline, 0.9);
    }
}

// A short snout with two nostrils, rosy cheeks and big friendly eyes: the face players read first.
void Face(cairo_t* cr, const DragonPalette& c) {
    Ellipse(cr, kSpine, 85.5, 6.2, 4.3);
    cairo_pattern_t* snout = cairo_pattern_create_linear(0, 81, 0, 90);
    AddStop(snout, 0, Shade(c.scale, 1.2));
    AddStop(snout, 1, Shade(c.scale, 0.9));
    FillAndOutline(cr, snout, {c.outline.r, c.outline.g, c.outline.b, 0.6}, 0.8);
    SetColour(cr, FromHex(0x5a2008));
    cairo_arc(cr, kSpine - 2.2, 84.3, 0.7, 0, 2 * M_PI);
    cairo_arc(cr, kSpine + 2.2, 84.3, 0.7, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_set_source_rgba(cr, 1.0, 0.45, 0.5, 0.55);
    cairo_arc(cr, kSpine - 8, 81.5, 2.0, 0, 2 * M_PI);
    cairo_arc(cr, kSpine + 8, 81.5, 2.0, 0, 2 * M_PI);
    cairo_fill(cr);
    Eye(cr, kSpine - 4.8, 75.5);
    Eye(cr, kSpine + 4.8, 75.5);
}

// Firing opens the mouth wide with a spark at the lips, right where the shot leaves; at rest the
// dragon smiles.
void Mouth(cairo_t* cr, const DragonPalette& c, bool firing) {
    if (!firing) {
        cairo_set_line_width(cr, 1.0);
        SetColour(cr, c.outline);
        cairo_arc(cr, kSpine, 87, 3.2, 0.2 * M_PI, 0.8 * M_PI);
        cairo_stroke(cr);
        return;
    }
    Ellipse(cr, kSpine, 89, 4.0, 2.8);
    FillAndOutline(cr, FromHex(0x6a1010), c.outline, 0.9);
    Glow(cr, kSpine, 92, 8, {1.0, 0.75, 0.15, 0.95});
    Star(cr, kSpine, 92, 4, 5.5, 1.2, M_PI / 4);
    cairo_set_source_rgb(cr, 1, 1, 0.85);
    cairo_fill(cr);
}

}  // namespace

// Drawn back to front, as seen from above: the tail and wings lie under the body, the head on top.
void DrawDragon(cairo_t* cr, Wings wings, bool firing) {
    const DragonPalette palette;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    Tail(cr, palette, wings);
    Wing(cr, -1, wings);
    Wing(cr, +1, wings);
    Legs(cr, palette);
    Body(cr, palette);
    Head(cr, palette);
    Face(cr, palette);
    Mouth(cr, palette, firing);
}

namespace {

void PlayButton(cairo_t* cr, std::string_view label, int pressed) {
    const double sink = pressed;  // pressed frames sit lower and darker
    RoundedRect(cr, 2, 2 + sink, 96, 35, 9);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, 2, 0, 38);
    const Colour top = Shade(FromHex(0xf4a23a), 1.0 - 0.12 * pressed),
                 bottom = Shade(FromHex(0xa8421a), 1.0 - 0.1 * pressed);
    AddStop(p, 0, pressed ? bottom : Shade(top, 1.2));
    AddStop(p, 0.5, top);
    AddStop(p, 1, pressed ? top : bottom);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, FromHex(0x3a1606));
    cairo_set_line_width(cr, 2);
    cairo_stroke(cr);
    if (pressed == 0) {
        RoundedRect(cr, 6, 5, 88, 12, 6);
        cairo_set_source_rgba(cr, 1, 1, 1, 0.25);
        cairo_fill(cr);
    } else {
        cairo_set_source_rgba(cr, 1.0, 0.85, 0.4, 0.25 * pressed);
        RoundedRect(cr, 4, 4 + sink, 92, 31, 7);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
    LetterStyle style;
    style.font = "DejaVu Sans Bold";
    style.top = FromHex(0xfff6d8);
    style.bottom = FromHex(0xffd27a);
    style.outline = FromHex(0x4a1c08);
    style.outlineWidth = 1.6;
    style.shadow = false;
    DrawFittedText(cr, label, {12, 8 + static_cast<int>(sink), 76, 24}, style, 1);
}

// Dark carved wood with a warm grain, so the white HUD text reads everywhere.
void PanelWood(cairo_t* cr, double w, double h) {
    cairo_pattern_t* wood = cairo_pattern_create_linear(0, 0, w, 0);
    AddStop(wood, 0, FromHex(0x2a1408));
    AddStop(wood, 0.5, FromHex(0x4a2410));
    AddStop(wood, 1, FromHex(0x2a1408));
    cairo_set_source(cr, wood);
    cairo_paint(cr);
    cairo_pattern_destroy(wood);
    Rng rng(42);
    cairo_set_line_width(cr, 1);
    for (int i = 0; i < 40; ++i) {
        const double x = rng.Uniform(4, w - 4);
        cairo_move_to(cr, x, 0);
        cairo_curve_to(cr, x + rng.Uniform(-6, 6), h / 3, x + rng.Uniform(-6, 6), 2 * h / 3, x + rng.Uniform(-3, 3), h);
        cairo_set_source_rgba(cr, 0.1, 0.04, 0.0, rng.Uniform(0.1, 0.3));
        cairo_stroke(cr);
    }
}

// A gold edge with a dark inner line, so the panel reads as a frame beside any background.
void PanelFrame(cairo_t* cr, double w, double h) {
    RoundedRect(cr, 3, 3, w - 6, h - 6, 8);
    SetColour(cr, FromHex(0xc89030));
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    RoundedRect(cr, 6.5, 6.5, w - 13, h - 13, 6);
    cairo_set_source_rgba(cr, 0.1, 0.04, 0, 0.8);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// A quiet recessed well: the game draws its texts and buttons over these.
void PanelWell(cairo_t* cr, const Rect& well) {
    RoundedRect(cr, well.x, well.y, well.w, well.h, 5);
    cairo_set_source_rgba(cr, 0.05, 0.02, 0.0, 0.55);
    cairo_fill_preserve(cr);
    cairo_set_source_rgba(cr, 0.85, 0.6, 0.25, 0.45);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);
}

// A soft warm glow where the current and next orbs sit, inside the queue's well.
void OrbGlows(cairo_t* cr) {
    using namespace PlayGeometry;
    for (const auto& orbWell :
         {std::array<double, 3>{NextGlowX, NextGlowY, 11}, std::array<double, 3>{CurrentGlowX, CurrentGlowY, 15}}) {
        cairo_pattern_t* p = cairo_pattern_create_radial(orbWell[0], orbWell[1], 0, orbWell[0], orbWell[1], orbWell[2]);
        AddStop(p, 0, {1.0, 0.75, 0.3, 0.25});
        AddStop(p, 1, {1.0, 0.75, 0.3, 0.0});
        cairo_set_source(cr, p);
        cairo_arc(cr, orbWell[0], orbWell[1], orbWell[2], 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
}

// A small flame crest between two stars at the foot of the panel, below everything the game draws.
void PanelCrest(cairo_t* cr, double w) {
    cairo_save(cr);
    cairo_translate(cr, w / 2, 452);
    FlameTongue(cr, 0, 8, 12, 26, 0.85);
    FlameTongue(cr, -8, 10, 7, 14, 0.7);
    FlameTongue(cr, 8, 10, 7, 14, 0.7);
    cairo_restore(cr);
    for (int side = -1; side <= 1; side += 2) {
        Star(cr, w / 2 + side * 34, 452, 4, 4, 1, 0);
        cairo_set_source_rgba(cr, 0.95, 0.75, 0.35, 0.8);
        cairo_fill(cr);
    }
}

void Panel(cairo_t* cr) {
    const double w = assets::kPanel.w, h = assets::kPanel.h;
    PanelWood(cr, w, h);
    PanelFrame(cr, w, h);
    // The top five, the current score, the current level, the orb queue, then Restart and Exit.
    for (const Rect& well :
         {PlayGeometry::ScoresWell, PlayGeometry::ScoreWell, PlayGeometry::LevelWell, PlayGeometry::QueueWell})
        PanelWell(cr, well);
    OrbGlows(cr);
    PanelWell(cr, PlayGeometry::RestartWell);
    PanelWell(cr, PlayGeometry::ExitWell);
    PanelCrest(cr, w);
}

}  // namespace

void MakeSpriteSheet(const std::filesystem::path& out) {
    Canvas canvas(assets::kSpritesSize, assets::kSpritesSize);
    cairo_t* cr = canvas.Cr();

    const Wings wingOrder[3] = {Wings::Mid, Wings::Up, Wings::Down};
    for (int i = 0; i < 3; ++i) {
        {
            CellScope cell(cr, assets::kDragon[i]);
            DrawDragon(cr, wingOrder[i], false);
        }
        CellScope cell(cr, assets::kDragonFiring[i]);
        DrawDragon(cr, wingOrder[i], true);
    }
    // Every kind with a picture of its own (the fireball's is drawn below).
    for (const OrbKind::Kind kind : {OrbKind::Red, OrbKind::Blue, OrbKind::Green, OrbKind::Purple, OrbKind::Yellow,
                                     OrbKind::BlackFalling, OrbKind::White}) {
        CellScope cell(cr, assets::kOrbPictures[kind]);
        DrawOrb(cr, kind);
    }
    {
        CellScope cell(cr, assets::kWhiteBurnFirst);
        DrawWhiteBurnFrame(cr, 0);
    }
    for (int f = 1; f <= assets::kWhiteBurnFrames; ++f) {
        CellScope cell(cr, assets::WhiteBurnFrame(f));
        DrawWhiteBurnFrame(cr, f);
    }
    for (int f = 0; f < assets::kBurnFrames; ++f) {
        CellScope cell(cr, assets::BurnFrame(f));
        DrawBurnFrame(cr, f);
    }
    {
        CellScope cell(cr, assets::kChest);
        DrawChest(cr);
    }
    {
        CellScope cell(cr, assets::kTornado);
        DrawTornado(cr);
    }
    for (int f = 0; f < 3; ++f) {
        CellScope cell(cr, assets::kFireball[f]);
        DrawFireball(cr, f);
    }
    {
        CellScope cell(cr, assets::kCursor);
        DrawCursor(cr);
    }
    for (int f = 0; f < 3; ++f) {
        {
            CellScope cell(cr, assets::kExitButton[f]);
            PlayButton(cr, "Exit", f);
        }
        CellScope cell(cr, assets::kRestartButton[f]);
        PlayButton(cr, "Restart", f);
    }
    {
        CellScope cell(cr, assets::kPanel);
        Panel(cr);
    }
    canvas.Save(out, assets::kSprites);
}

}  // namespace gen
