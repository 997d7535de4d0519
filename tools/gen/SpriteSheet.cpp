// sprites.png: orbs, burn animations, bonus items, fireball, cursor, the dragon, the play-screen
// buttons and the side panel, each drawn into its cell of the content map.
#include <array>
#include <cmath>

#include "Canvas.h"
#include "Lettering.h"
#include "Pictures.h"

namespace gen {

using assets::OrbKind;
using assets::Rect;

namespace {

struct OrbLook {
    Colour base;
    Colour mark;
};

OrbLook LookOf(OrbKind kind) {
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
        case OrbKind::Black:
            return {FromHex(0x2a2630), FromHex(0x8a8494)};
        case OrbKind::White:
            return {FromHex(0xeeeef4), FromHex(0x9fb0d8)};
    }
    return {FromHex(0x808080), FromHex(0xffffff)};
}

// The small inner mark that tells the orbs apart without relying on colour.
void OrbMarkPath(cairo_t* cr, OrbKind kind, double cx, double cy) {
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
        case OrbKind::Black:  // a cross: nothing but fire breaks it
            cairo_move_to(cr, cx - 3.5, cy - 3.5);
            cairo_line_to(cr, cx + 3.5, cy + 3.5);
            cairo_move_to(cr, cx + 3.5, cy - 3.5);
            cairo_line_to(cr, cx - 3.5, cy + 3.5);
            break;
        case OrbKind::White:
            Star(cr, cx, cy, 4, 5.5, 1.6, 0);
            break;  // sparkle: something inside
    }
}

}  // namespace

void DrawOrb(cairo_t* cr, OrbKind kind) {
    const OrbLook look = LookOf(kind);
    const double c = 12, r = 11.2;
    // Soft contact shadow so orbs read as round against any background.
    cairo_pattern_t* halo = cairo_pattern_create_radial(c, c + 0.6, r - 1, c, c + 0.6, r + 0.8);
    AddStop(halo, 0, {0, 0, 0, 0.45});
    AddStop(halo, 1, {0, 0, 0, 0});
    cairo_set_source(cr, halo);
    cairo_arc(cr, c, c + 0.6, r + 0.8, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(halo);

    cairo_pattern_t* body = cairo_pattern_create_radial(c - 3.5, c - 4, 0.5, c, c, r);
    AddStop(body, 0.0, Shade(look.base, 1.55));
    AddStop(body, 0.45, look.base);
    AddStop(body, 0.85, Shade(look.base, 0.62));
    AddStop(body, 1.0, Shade(look.base, 0.42));
    cairo_set_source(cr, body);
    cairo_arc(cr, c, c, r, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(body);

    // Warm bounce light along the lower rim.
    cairo_pattern_t* bounce = cairo_pattern_create_linear(0, c + 4, 0, c + r);
    AddStop(bounce, 0, {1, 1, 1, 0});
    AddStop(bounce, 1, {1, 0.95, 0.85, kind == OrbKind::Black ? 0.12 : 0.22});
    cairo_set_source(cr, bounce);
    cairo_arc(cr, c, c, r - 1.2, 0.15 * M_PI, 0.85 * M_PI);
    cairo_set_line_width(cr, 1.6);
    cairo_stroke(cr);
    cairo_pattern_destroy(bounce);

    cairo_set_line_width(cr, 1.0);
    SetColour(cr, {Shade(look.base, 0.3).r, Shade(look.base, 0.3).g, Shade(look.base, 0.3).b, 0.9});
    cairo_arc(cr, c, c, r - 0.5, 0, 2 * M_PI);
    cairo_stroke(cr);

    // Inner mark: light fill with a dark edge so it reads on every colour.
    OrbMarkPath(cr, kind, c, c + 0.8);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    if (kind == OrbKind::Black) {
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

    // Glossy highlight.
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

// A dragon wing seen from above: a bony leading edge from the shoulder to the tip, and a membrane
// whose scalloped trailing edge bulges outwards on its way back to the hip.
void Wing(cairo_t* cr, double side, Wings wings) {
    double tipX = 0, tipY = 0, bulge = 0;
    Colour membrane = FromHex(0xb0409a);
    switch (wings) {
        case Wings::Mid:
            tipX = 29;
            tipY = 36;
            bulge = 5.5;
            break;
        case Wings::Up:
            tipX = 25;
            tipY = 15;
            bulge = 6.5;
            membrane = Shade(membrane, 1.2);
            break;
        case Wings::Down:
            tipX = 27;
            tipY = 62;
            bulge = 4.5;
            membrane = Shade(membrane, 0.82);
            break;
    }
    const double cx = 30;
    const double sx = cx + side * 7, sy = 44;       // shoulder
    const double tx = cx + side * tipX, ty = tipY;  // wing tip
    const double hx = cx + side * 7.5, hy = 57;     // hip
    // Outward normal of the tip-to-hip line: away from the body.
    double nx = -(hy - ty), ny = hx - tx;
    const double len = std::hypot(nx, ny);
    nx /= len;
    ny /= len;
    if (nx * side < 0) {
        nx = -nx;
        ny = -ny;
    }
    const double archX = (sx + tx) / 2 + side * 2, archY = std::min(sy, ty) - 6;  // the bone arches up
    auto leadingEdge = [&] {
        cairo_move_to(cr, sx, sy - 2);
        cairo_curve_to(cr, archX - side * 4, archY + 2, archX + side * 4, archY, tx, ty);
    };
    leadingEdge();
    double jx[3], jy[3];
    for (int i = 1; i <= 3; ++i) {
        const double f0 = (i - 1) / 3.0, f1 = i / 3.0, fm = (f0 + f1) / 2;
        const double ex = tx + (hx - tx) * f1, ey = ty + (hy - ty) * f1;
        const double mx = tx + (hx - tx) * fm + nx * bulge, my = ty + (hy - ty) * fm + ny * bulge;
        cairo_curve_to(cr, mx, my, mx, my, ex, ey);
        jx[i - 1] = ex;
        jy[i - 1] = ey;
    }
    cairo_close_path(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(sx, sy, tx, ty);
    AddStop(p, 0, Shade(membrane, 0.7));
    AddStop(p, 1, Shade(membrane, 1.3));
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, FromHex(0x4a1030));
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_width(cr, 1.1);
    cairo_stroke(cr);
    // Finger bones fanning from the wrist to the scallop joints.
    const double wx = tx + (sx - tx) * 0.25, wy = ty + (sy - ty) * 0.25;
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_set_line_width(cr, 1.0);
    SetColour(cr, {0.42, 0.08, 0.22, 0.85});
    for (int i = 0; i < 2; ++i) {
        cairo_move_to(cr, wx, wy);
        cairo_line_to(cr, jx[i], jy[i]);
    }
    cairo_stroke(cr);
    cairo_set_line_width(cr, 2.2);
    SetColour(cr, FromHex(0xd8602a));
    leadingEdge();
    cairo_stroke(cr);
    SetColour(cr, FromHex(0xfff0d0));
    cairo_arc(cr, tx, ty, 1.3, 0, 2 * M_PI);
    cairo_fill(cr);
}

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

}  // namespace

void DrawDragon(cairo_t* cr, Wings wings, bool firing) {
    const Colour scale = FromHex(0xf08a2a), scaleDark = FromHex(0xb8501a);
    const Colour outline = FromHex(0x4a1c08);
    const double cx = 30;
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);

    // Tail, curling up to the top of the cell with a spade tip.
    const double tailSway = wings == Wings::Up ? -2 : (wings == Wings::Down ? 2 : 0);
    cairo_move_to(cr, cx, 40);
    cairo_curve_to(cr, cx + 6, 28, cx - 7 + tailSway, 20, cx + tailSway, 9);
    SetColour(cr, outline);
    cairo_set_line_width(cr, 7.5);
    cairo_stroke_preserve(cr);
    SetColour(cr, scale);
    cairo_set_line_width(cr, 5.5);
    cairo_stroke(cr);
    cairo_move_to(cr, cx + tailSway, 2);
    cairo_line_to(cr, cx + tailSway + 5, 9);
    cairo_line_to(cr, cx + tailSway, 12);
    cairo_line_to(cr, cx + tailSway - 5, 9);
    cairo_close_path(cr);
    SetColour(cr, scaleDark);
    cairo_fill_preserve(cr);
    SetColour(cr, outline);
    cairo_set_line_width(cr, 1.1);
    cairo_stroke(cr);

    Wing(cr, -1, wings);
    Wing(cr, +1, wings);

    // Hind legs peeking out beside the body.
    for (int side = -1; side <= 1; side += 2) {
        cairo_save(cr);
        cairo_translate(cr, cx + side * 9, 55);
        cairo_scale(cr, 1.0, 1.4);
        cairo_arc(cr, 0, 0, 3.2, 0, 2 * M_PI);
        cairo_restore(cr);
        SetColour(cr, scaleDark);
        cairo_fill_preserve(cr);
        SetColour(cr, outline);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    }

    // Front legs.
    for (int side = -1; side <= 1; side += 2) {
        cairo_save(cr);
        cairo_translate(cr, cx + side * 10.5, 61);
        cairo_scale(cr, 0.9, 1.2);
        cairo_arc(cr, 0, 0, 3.2, 0, 2 * M_PI);
        cairo_restore(cr);
        SetColour(cr, scale);
        cairo_fill_preserve(cr);
        SetColour(cr, outline);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
        SetColour(cr, FromHex(0xfff4e0));
        for (int k = -1; k <= 1; ++k) {
            cairo_arc(cr, cx + side * 11.5 + k * 1.4, 64.5, 0.6, 0, 2 * M_PI);
            cairo_fill(cr);
        }
    }

    // Body.
    cairo_save(cr);
    cairo_translate(cr, cx, 50);
    cairo_scale(cr, 10.5, 15);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* bodyFill = cairo_pattern_create_linear(cx - 10, 0, cx + 10, 0);
    AddStop(bodyFill, 0, scaleDark);
    AddStop(bodyFill, 0.4, Shade(scale, 1.15));
    AddStop(bodyFill, 1, scaleDark);
    cairo_set_source(cr, bodyFill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(bodyFill);
    SetColour(cr, outline);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    // Back ridge spikes.
    for (int i = 0; i < 4; ++i) {
        const double y = 38 + i * 6;
        cairo_move_to(cr, cx - 2, y + 2);
        cairo_line_to(cr, cx, y - 2);
        cairo_line_to(cr, cx + 2, y + 2);
        cairo_close_path(cr);
    }
    SetColour(cr, FromHex(0xffd24a));
    cairo_fill(cr);

    // Head at the bottom of the cell, facing the player.
    cairo_save(cr);
    cairo_translate(cr, cx, 77);
    cairo_scale(cr, 11.5, 10.5);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* headFill = cairo_pattern_create_radial(cx - 3, 72, 1, cx, 77, 13);
    AddStop(headFill, 0, Shade(scale, 1.3));
    AddStop(headFill, 1, scaleDark);
    cairo_set_source(cr, headFill);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(headFill);
    SetColour(cr, outline);
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    // Little curved horns sweeping back over the head.
    for (int side = -1; side <= 1; side += 2) {
        cairo_move_to(cr, cx + side * 4.5, 69);
        cairo_curve_to(cr, cx + side * 6, 64, cx + side * 8, 62, cx + side * 10.5, 60.5);
        cairo_curve_to(cr, cx + side * 9.5, 63.5, cx + side * 9, 66.5, cx + side * 8.5, 70);
        cairo_close_path(cr);
        SetColour(cr, FromHex(0xfff0c8));
        cairo_fill_preserve(cr);
        SetColour(cr, outline);
        cairo_set_line_width(cr, 0.9);
        cairo_stroke(cr);
        // A small fin at each side of the head.
        cairo_move_to(cr, cx + side * 10.5, 73);
        cairo_line_to(cr, cx + side * 14.5, 71);
        cairo_line_to(cr, cx + side * 11.5, 78);
        cairo_close_path(cr);
        SetColour(cr, FromHex(0xb0409a));
        cairo_fill_preserve(cr);
        SetColour(cr, outline);
        cairo_stroke(cr);
    }
    // Short snout with two nostrils.
    cairo_save(cr);
    cairo_translate(cr, cx, 85.5);
    cairo_scale(cr, 6.2, 4.3);
    cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
    cairo_restore(cr);
    cairo_pattern_t* snout = cairo_pattern_create_linear(0, 81, 0, 90);
    AddStop(snout, 0, Shade(scale, 1.2));
    AddStop(snout, 1, Shade(scale, 0.9));
    cairo_set_source(cr, snout);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(snout);
    SetColour(cr, {outline.r, outline.g, outline.b, 0.6});
    cairo_set_line_width(cr, 0.8);
    cairo_stroke(cr);
    SetColour(cr, FromHex(0x5a2008));
    cairo_arc(cr, cx - 2.2, 84.3, 0.7, 0, 2 * M_PI);
    cairo_arc(cr, cx + 2.2, 84.3, 0.7, 0, 2 * M_PI);
    cairo_fill(cr);
    // Rosy cheeks and big friendly eyes.
    cairo_set_source_rgba(cr, 1.0, 0.45, 0.5, 0.55);
    cairo_arc(cr, cx - 8, 81.5, 2.0, 0, 2 * M_PI);
    cairo_arc(cr, cx + 8, 81.5, 2.0, 0, 2 * M_PI);
    cairo_fill(cr);
    Eye(cr, cx - 4.8, 75.5);
    Eye(cr, cx + 4.8, 75.5);

    if (firing) {
        // Mouth open wide with a spark at the lips.
        cairo_save(cr);
        cairo_translate(cr, cx, 89);
        cairo_scale(cr, 4.0, 2.8);
        cairo_arc(cr, 0, 0, 1, 0, 2 * M_PI);
        cairo_restore(cr);
        SetColour(cr, FromHex(0x6a1010));
        cairo_fill_preserve(cr);
        SetColour(cr, outline);
        cairo_set_line_width(cr, 0.9);
        cairo_stroke(cr);
        Glow(cr, cx, 92, 8, {1.0, 0.75, 0.15, 0.95});
        Star(cr, cx, 92, 4, 5.5, 1.2, M_PI / 4);
        cairo_set_source_rgb(cr, 1, 1, 0.85);
        cairo_fill(cr);
    } else {
        // A happy closed smile.
        cairo_set_line_width(cr, 1.0);
        SetColour(cr, outline);
        cairo_arc(cr, cx, 87, 3.2, 0.2 * M_PI, 0.8 * M_PI);
        cairo_stroke(cr);
    }
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

void Panel(cairo_t* cr) {
    const double w = assets::kPanel.w, h = assets::kPanel.h;
    // Dark carved wood with a warm grain, so the white HUD text reads everywhere.
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
    // Gold frame.
    RoundedRect(cr, 3, 3, w - 6, h - 6, 8);
    SetColour(cr, FromHex(0xc89030));
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    RoundedRect(cr, 6.5, 6.5, w - 13, h - 13, 6);
    cairo_set_source_rgba(cr, 0.1, 0.04, 0, 0.8);
    cairo_set_line_width(cr, 1);
    cairo_stroke(cr);

    // Quiet recessed wells behind the game's texts and orbs.
    auto well = [&](double x, double y, double ww, double hh) {
        RoundedRect(cr, x, y, ww, hh, 5);
        cairo_set_source_rgba(cr, 0.05, 0.02, 0.0, 0.55);
        cairo_fill_preserve(cr);
        cairo_set_source_rgba(cr, 0.85, 0.6, 0.25, 0.45);
        cairo_set_line_width(cr, 1);
        cairo_stroke(cr);
    };
    well(12, 16, 108, 106);
    well(12, 150, 108, 35);
    well(12, 187, 108, 35);
    well(12, 230, 108, 62);
    for (const auto& orbWell : {std::array<double, 3>{39, 276, 11}, std::array<double, 3>{82, 272, 15}}) {
        cairo_pattern_t* p = cairo_pattern_create_radial(orbWell[0], orbWell[1], 0, orbWell[0], orbWell[1], orbWell[2]);
        AddStop(p, 0, {1.0, 0.75, 0.3, 0.25});
        AddStop(p, 1, {1.0, 0.75, 0.3, 0.0});
        cairo_set_source(cr, p);
        cairo_arc(cr, orbWell[0], orbWell[1], orbWell[2], 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(p);
    }
    well(12, 319, 106, 46);
    well(12, 369, 106, 46);
    // A small flame crest at the foot of the panel.
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
    for (const auto& orb : assets::kOrbs) {
        CellScope cell(cr, orb.rect);
        DrawOrb(cr, orb.kind);
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
