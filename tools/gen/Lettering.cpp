// SPDX-License-Identifier: GPL-3.0-or-later
// Lettering for captions, digits and button labels.
#include "Lettering.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <memory>
#include <string>

namespace gen {

namespace {
struct GObjectDeleter {
    void operator()(void* p) const { g_object_unref(p); }
};
struct FontDeleter {
    void operator()(PangoFontDescription* d) const { pango_font_description_free(d); }
};
}  // namespace

void DrawFittedText(cairo_t* cr, std::string_view text, const assets::Rect& box, const LetterStyle& style,
                    double margin) {
    std::unique_ptr<PangoLayout, GObjectDeleter> layout(pango_cairo_create_layout(cr));
    std::unique_ptr<PangoFontDescription, FontDeleter> font(pango_font_description_from_string(style.font));
    pango_font_description_set_absolute_size(font.get(), 100 * PANGO_SCALE);
    pango_layout_set_font_description(layout.get(), font.get());
    const std::string str(text);
    pango_layout_set_text(layout.get(), str.c_str(), static_cast<int>(str.size()));

    PangoRectangle ink, logical;
    pango_layout_get_pixel_extents(layout.get(), &ink, &logical);
    const double room = style.outlineWidth + margin;
    const double availW = box.w - 2 * room - (style.shadow ? 2 : 0);
    const double availH = box.h - 2 * room - (style.shadow ? 2 : 0);
    double sx = availW / std::max(1, ink.width);
    double sy = availH / std::max(1, ink.height);
    if (!style.stretch) sx = sy = std::min(sx, sy);
    // Keep stretched glyphs from looking squashed: never more than a third wider or narrower.
    if (style.stretch) sx = std::clamp(sx, sy * 0.75, sy * 1.33);
    if (style.maxFontPx > 0) {
        sx = std::min(sx, style.maxFontPx / 100);
        sy = std::min(sy, style.maxFontPx / 100);
    }

    const double drawnW = ink.width * sx, drawnH = ink.height * sy;
    const double left = box.x + (box.w - drawnW) / 2 - (style.shadow ? 1 : 0);
    const double top = box.y + (box.h - drawnH) / 2 - (style.shadow ? 1 : 0);

    cairo_save(cr);
    cairo_translate(cr, left, top);
    cairo_scale(cr, sx, sy);
    cairo_translate(cr, -ink.x, -ink.y);
    pango_cairo_layout_path(cr, layout.get());
    cairo_restore(cr);

    cairo_path_t* path = cairo_copy_path(cr);
    cairo_new_path(cr);
    cairo_save(cr);
    cairo_set_line_join(cr, CAIRO_LINE_JOIN_ROUND);
    if (style.shadow) {
        cairo_save(cr);
        cairo_translate(cr, 2, 2);
        cairo_append_path(cr, path);
        cairo_set_line_width(cr, style.outlineWidth * 2);
        cairo_set_source_rgba(cr, 0, 0, 0, 0.35);
        cairo_stroke_preserve(cr);
        cairo_fill(cr);
        cairo_restore(cr);
    }
    cairo_append_path(cr, path);
    cairo_set_line_width(cr, style.outlineWidth * 2);
    SetColour(cr, style.outline);
    cairo_stroke_preserve(cr);
    cairo_pattern_t* fill = cairo_pattern_create_linear(0, top, 0, top + drawnH);
    AddStop(fill, 0.0, Shade(style.top, 1.25));
    AddStop(fill, 0.45, style.top);
    AddStop(fill, 1.0, style.bottom);
    cairo_set_source(cr, fill);
    cairo_fill(cr);
    cairo_pattern_destroy(fill);
    cairo_restore(cr);
    cairo_new_path(cr);
    cairo_path_destroy(path);
}

}  // namespace gen
