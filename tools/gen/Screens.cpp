// SPDX-License-Identifier: GPL-3.0-or-later
// The full-screen and menu pictures: text.png (captions and digits), the title picture, the menu
// buttons at rest and highlighted, Back and OK, the black fade and the tiling clouds.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "Canvas.h"
#include "Lettering.h"
#include "Pictures.h"

namespace gen {

namespace {

LetterStyle DisplayStyle() {
    LetterStyle style;
    style.font = "DejaVu Serif Bold";
    style.outlineWidth = 3.0;
    return style;
}

// Each glyph stays inside its own box: the game draws the boxes side by side.
void Clip(cairo_t* cr, const assets::Rect& box) {
    cairo_save(cr);
    cairo_rectangle(cr, box.x, box.y, box.w, box.h);
    cairo_clip(cr);
}

void Caption(cairo_t* cr, std::string_view text, const assets::Rect& box) {
    Clip(cr, box);
    DrawFittedText(cr, text, box, DisplayStyle(), 1);
    cairo_restore(cr);
}

void Digit(cairo_t* cr, char digit, const assets::Rect& box) {
    LetterStyle style = DisplayStyle();
    style.stretch = true;
    Clip(cr, box);
    DrawFittedText(cr, std::string_view(&digit, 1), box, style, 0);
    cairo_restore(cr);
}

}  // namespace

void MakeTextSheet(const std::filesystem::path& out) {
    Canvas canvas(assets::kTextSize, assets::kTextSize);
    for (const auto& caption : assets::kCaptions) Caption(canvas.Cr(), caption.text, caption.rect);
    for (size_t i = 0; i < assets::kDigits.size(); ++i) Digit(canvas.Cr(), assets::kDigitOrder[i], assets::kDigits[i]);
    canvas.Save(out, assets::kText);
}

void EveningSky(cairo_t* cr, double w, double h) {
    cairo_pattern_t* sky = cairo_pattern_create_linear(0, 0, 0, h);
    AddStop(sky, 0.0, FromHex(0x1c2a6a));
    AddStop(sky, 0.45, FromHex(0x5a58a8));
    AddStop(sky, 0.75, FromHex(0xe89a8a));
    AddStop(sky, 1.0, FromHex(0xffd49a));
    cairo_set_source(cr, sky);
    cairo_rectangle(cr, 0, 0, w, h);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);
}

namespace {

void Hills(cairo_t* cr, double w, double baseY, double amplitude, double phase, const Colour& colour) {
    cairo_move_to(cr, 0, 480);
    for (int x = 0; x <= static_cast<int>(w); x += 4) {
        const double y =
            baseY - amplitude * (0.6 * std::sin(x * 0.012 + phase) + 0.4 * std::sin(x * 0.031 + phase * 2));
        cairo_line_to(cr, x, y);
    }
    cairo_line_to(cr, w, 480);
    cairo_close_path(cr);
    SetColour(cr, colour);
    cairo_fill(cr);
}

void SoftCloud(cairo_t* cr, double x, double y, double scale, double alpha) {
    const double puffs[][3] = {{0, 0, 14}, {16, -6, 16}, {34, 0, 13}, {18, 5, 14}, {-12, 4, 10}, {46, 5, 9}};
    for (const auto& p : puffs) {
        cairo_pattern_t* g = cairo_pattern_create_radial(x + p[0] * scale, y + p[1] * scale, 0, x + p[0] * scale,
                                                         y + p[1] * scale, p[2] * scale);
        AddStop(g, 0, {1, 0.96, 0.95, alpha});
        AddStop(g, 0.7, {1, 0.92, 0.9, alpha * 0.8});
        AddStop(g, 1, {1, 0.9, 0.9, 0});
        cairo_set_source(cr, g);
        cairo_arc(cr, x + p[0] * scale, y + p[1] * scale, p[2] * scale, 0, 2 * M_PI);
        cairo_fill(cr);
        cairo_pattern_destroy(g);
    }
}

// Dusk over the hills: first stars, a big soft moon behind the title, thin clouds.
void TitleBackdrop(cairo_t* cr, double w, double h) {
    EveningSky(cr, w, h);
    Rng rng(2024);
    for (int i = 0; i < 70; ++i) {  // stars only in the upper sky, where the title sits
        const double x = rng.Uniform(0, w), y = rng.Uniform(0, 160);
        cairo_set_source_rgba(cr, 1, 1, 0.9, rng.Uniform(0.3, 0.9));
        cairo_arc(cr, x, y, rng.Uniform(0.5, 1.4), 0, 2 * M_PI);
        cairo_fill(cr);
    }
    cairo_pattern_t* moon = cairo_pattern_create_radial(520, 90, 10, 520, 90, 90);
    AddStop(moon, 0, {1, 0.97, 0.85, 0.9});
    AddStop(moon, 0.35, {1, 0.95, 0.8, 0.5});
    AddStop(moon, 1, {1, 0.9, 0.7, 0});
    cairo_set_source(cr, moon);
    cairo_paint(cr);
    cairo_pattern_destroy(moon);
    SoftCloud(cr, 40, 200, 1.2, 0.35);
    SoftCloud(cr, 470, 240, 1.4, 0.3);
    SoftCloud(cr, 260, 150, 0.9, 0.18);
    Hills(cr, w, 400, 22, 0.5, FromHex(0x6a5a9a));
    Hills(cr, w, 430, 18, 2.1, FromHex(0x3a6a4a));
    Hills(cr, w, 458, 12, 4.0, FromHex(0x24482e));
}

// The dragon, large, on the left, diving towards the orbs, just having shot one.
void TitleDragon(cairo_t* cr) {
    cairo_save(cr);
    cairo_translate(cr, 112, 312);  // below the level-select screen's Back button
    cairo_rotate(cr, -0.18);
    cairo_scale(cr, 2.5, 2.5);
    cairo_translate(cr, -30, -48);
    DrawDragon(cr, Wings::Up, true);
    cairo_restore(cr);
}

void OrbAt(cairo_t* cr, double x, double y, double scale, OrbKind::Kind kind) {
    cairo_save(cr);
    cairo_translate(cr, x, y);
    cairo_scale(cr, scale, scale);
    DrawOrb(cr, kind);
    cairo_restore(cr);
}

// Stacks of orbs on the right, as on the board, and a few tumbling past the dragon.
void TitleOrbs(cairo_t* cr) {
    const OrbKind::Kind kinds[] = {OrbKind::Red,   OrbKind::Blue,   OrbKind::Purple,
                                   OrbKind::Green, OrbKind::Yellow, OrbKind::White};
    const int stacks[][2] = {{470, 3}, {506, 5}, {542, 4}, {578, 2}, {614, 3}};
    int k = 0;
    for (const auto& s : stacks)
        for (int row = 0; row < s[1]; ++row) OrbAt(cr, s[0] - 18, 430 - row * 36, 1.5, kinds[(k++ * 7 + row) % 5]);
    const double tumble[][3] = {{150, 418, 1.3}, {196, 250, 0.9}, {24, 300, 1.1}};
    for (int i = 0; i < 3; ++i) OrbAt(cr, tumble[i][0], tumble[i][1], tumble[i][2], kinds[i + 3]);
}

void TitleLettering(cairo_t* cr) {
    LetterStyle title;
    title.font = "DejaVu Serif Bold";
    title.outlineWidth = 5;
    DrawFittedText(cr, "Kindlewisp", {70, 22, 500, 120}, title, 2);
    LetterStyle tag;
    tag.font = "Liberation Serif Bold Italic";  // both faces come with the packages the build installs
    tag.top = FromHex(0xfff4e0);
    tag.bottom = FromHex(0xffc890);
    tag.outline = FromHex(0x3a1a30);
    tag.outlineWidth = 2;
    tag.shadow = false;
    DrawFittedText(cr, "a little dragon learns to breathe fire", {150, 138, 340, 30}, tag, 1);
}

}  // namespace

void MakeTitleScreen(const std::filesystem::path& out) {
    Canvas canvas(assets::kScreenW, assets::kScreenH);
    cairo_t* cr = canvas.Cr();
    TitleBackdrop(cr, assets::kScreenW, assets::kScreenH);
    TitleDragon(cr);
    TitleOrbs(cr);
    TitleLettering(cr);
    canvas.Save(out, assets::kTitle);
}

namespace {

// A rounded gem-like menu button with its label; lit buttons glow gold.
void MenuButton(cairo_t* cr, const assets::MenuButton& button, bool lit) {
    const auto& r = button.rect;
    const double x = r.x + 5, y = r.y + 5, w = r.w - 10, h = r.h - 11;
    if (lit) {
        for (int i = 4; i >= 1; --i) {
            RoundedRect(cr, x - i, y - i, w + 2 * i, h + 2 * i, h / 2 + i);
            cairo_set_source_rgba(cr, 1.0, 0.85, 0.3, 0.14);
            cairo_fill(cr);
        }
    } else {
        RoundedRect(cr, x + 1, y + 3, w, h, h / 2);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
        cairo_fill(cr);
    }
    RoundedRect(cr, x, y, w, h, h / 2);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, y, 0, y + h);
    const Colour top = lit ? FromHex(0xffc24a) : FromHex(0x8a3a9a);
    const Colour bottom = lit ? FromHex(0xd0601a) : FromHex(0x3a1a5a);
    AddStop(p, 0, Shade(top, 1.25));
    AddStop(p, 0.5, top);
    AddStop(p, 1, bottom);
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, lit ? FromHex(0xfff2b0) : FromHex(0xd8a040));
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    RoundedRect(cr, x + 6, y + 3, w - 12, h * 0.38, h * 0.19);
    cairo_set_source_rgba(cr, 1, 1, 1, lit ? 0.35 : 0.18);
    cairo_fill(cr);

    LetterStyle style;
    style.font = "DejaVu Serif Bold";
    style.top = lit ? FromHex(0xffffff) : FromHex(0xffe8a0);
    style.bottom = lit ? FromHex(0xfff0c0) : FromHex(0xf0a040);
    style.outline = lit ? FromHex(0x7a2a08) : FromHex(0x24082a);
    style.outlineWidth = 2;
    style.shadow = false;
    style.maxFontPx = 21;
    const int padX = static_cast<int>(h * 0.45);
    DrawFittedText(
        cr, button.label,
        {static_cast<int>(x) + padX, static_cast<int>(y) + 4, static_cast<int>(w) - 2 * padX, static_cast<int>(h) - 8},
        style, 1);
}

// An arrow in the lettering's colours and outline, so it reads as part of "LEVEL 12" beside it;
// lit, it glows as a highlighted button does. Points left (-1) or right (+1).
void LevelArrow(cairo_t* cr, const assets::Rect& cell, int direction, bool lit) {
    const LetterStyle letters = DisplayStyle();
    const double cx = cell.x + cell.w / 2.0, cy = cell.y + cell.h / 2.0;
    const double half = cell.h / 2.0 - 5, reach = cell.w / 2.0 - 5;  // room for the glow
    cairo_move_to(cr, cx + direction * reach, cy);
    cairo_line_to(cr, cx - direction * reach, cy - half);
    cairo_line_to(cr, cx - direction * reach, cy + half);
    cairo_close_path(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (lit) {
        cairo_set_source_rgba(cr, 1.0, 0.85, 0.3, 0.5);
        cairo_set_line_width(cr, letters.outlineWidth * 2 + 2);
        cairo_stroke_preserve(cr);
    }
    SetColour(cr, letters.outline);
    cairo_set_line_width(cr, letters.outlineWidth * 2);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, cy - half, 0, cy + half);
    AddStop(p, 0, lit ? FromHex(0xffffff) : letters.top);
    AddStop(p, 1, lit ? letters.top : letters.bottom);
    cairo_set_source(cr, p);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

}  // namespace

void MakeMenuButtons(const std::filesystem::path& out) {
    for (bool lit : {false, true}) {
        Canvas canvas(assets::kMenuSize, assets::kMenuSize);
        for (const auto& button : assets::kMenuButtons) MenuButton(canvas.Cr(), button, lit);
        canvas.Save(out, lit ? assets::kButtonsLit : assets::kButtonsRest);
    }
    Canvas canvas(assets::kMenuSize, assets::kMenuSize);
    for (const auto& button : assets::kBackOkButtons) MenuButton(canvas.Cr(), button, false);
    for (int i = 0; i < 2; ++i) {
        LevelArrow(canvas.Cr(), assets::kLevelArrows[i], i == 0 ? -1 : 1, false);
        LevelArrow(canvas.Cr(), assets::kLevelArrowsLit[i], i == 0 ? -1 : 1, true);
    }
    canvas.Save(out, assets::kBackOk);
}

void MakeFade(const std::filesystem::path& out) {
    Canvas canvas(assets::kScreenW, assets::kScreenH);
    cairo_set_source_rgb(canvas.Cr(), 0, 0, 0);
    cairo_paint(canvas.Cr());
    canvas.Save(out, assets::kFade);
}

void MakeClouds(const std::filesystem::path& out) {
    const int size = assets::kCloudsSize;
    Canvas canvas(size, size);
    cairo_surface_flush(canvas.Surface());
    unsigned char* data = cairo_image_surface_get_data(canvas.Surface());
    const int stride = cairo_image_surface_get_stride(canvas.Surface());
    // Noise with a lattice period that divides the picture, so it tiles in both directions.
    const int period = 3;
    for (int y = 0; y < size; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < size; ++x) {
            const double u = x * period / static_cast<double>(size), v = y * period / static_cast<double>(size);
            const double n = PeriodicFbm(u, v, period, period, 31, 5);
            const double t = std::clamp((n - 0.47) / 0.28, 0.0, 1.0);
            const double alpha = t * t * (3 - 2 * t) * 0.5;
            const double light = 0.86 + 0.14 * std::clamp((n - 0.6) * 4, 0.0, 1.0);
            const auto a = static_cast<uint32_t>(std::lrint(alpha * 255));
            const auto c = static_cast<uint32_t>(std::lrint(light * alpha * 255));  // premultiplied
            row[x] = (a << 24) | (c << 16) | (c << 8) | std::min<uint32_t>(a, c + 4);
        }
    }
    cairo_surface_mark_dirty(canvas.Surface());
    canvas.Save(out, assets::kClouds);
}

}  // namespace gen
