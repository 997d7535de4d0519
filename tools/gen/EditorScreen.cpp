// SPDX-License-Identifier: GPL-3.0-or-later
// editor.png: the level editor's screen in the play panel's wood and gold, with wells for its
// texts, buttons for its captions, a window onto the board and the frame of the chosen cell.
#include "Canvas.h"
#include "Pictures.h"

namespace gen {

namespace {

using assets::Rect;

// A small button in the play screen's Restart and Exit colours; the editor writes its caption.
void Button(cairo_t* cr, const Rect& r) {
    const double radius = r.h / 3.0;
    RoundedRect(cr, r.x + 0.5, r.y + 0.5, r.w - 1, r.h - 1, radius);
    cairo_pattern_t* p = cairo_pattern_create_linear(0, r.y, 0, r.y + r.h);
    AddStop(p, 0, Shade(FromHex(0xf4a23a), 1.2));
    AddStop(p, 0.5, FromHex(0xd8782a));
    AddStop(p, 1, FromHex(0x8a3212));
    cairo_set_source(cr, p);
    cairo_fill_preserve(cr);
    cairo_pattern_destroy(p);
    SetColour(cr, FromHex(0x3a1606));
    cairo_set_line_width(cr, 1.2);
    cairo_stroke(cr);
    RoundedRect(cr, r.x + 3, r.y + 2, r.w - 6, r.h * 0.35, radius / 2);
    cairo_set_source_rgba(cr, 1, 1, 1, 0.22);
    cairo_fill(cr);
}

// A gold frame round the board, and the board itself left clear.
void BoardWindow(cairo_t* cr, const Rect& r) {
    RoundedRect(cr, r.x - 3, r.y - 3, r.w + 6, r.h + 6, 4);
    SetColour(cr, FromHex(0xc89030));
    cairo_set_line_width(cr, 2.5);
    cairo_stroke(cr);
    cairo_save(cr);
    cairo_set_operator(cr, CAIRO_OPERATOR_CLEAR);
    cairo_rectangle(cr, r.x, r.y, r.w, r.h);
    cairo_fill(cr);
    cairo_restore(cr);
}

// A glowing gold frame that the palette draws round the cell being painted with.
void BrushFrame(cairo_t* cr, const Rect& r) {
    for (int i = 3; i >= 1; --i) {
        RoundedRect(cr, r.x + 3 - i, r.y + 3 - i, r.w - 6 + 2 * i, r.h - 6 + 2 * i, 5 + i);
        cairo_set_source_rgba(cr, 1.0, 0.85, 0.3, 0.18);
        cairo_set_line_width(cr, 2);
        cairo_stroke(cr);
    }
    RoundedRect(cr, r.x + 3, r.y + 3, r.w - 6, r.h - 6, 5);
    cairo_set_source_rgba(cr, 1.0, 0.9, 0.5, 0.2);
    cairo_fill_preserve(cr);
    SetColour(cr, FromHex(0xffd860));
    cairo_set_line_width(cr, 1.5);
    cairo_stroke(cr);
}

}  // namespace

void MakeEditorScreen(const std::filesystem::path& out) {
    Canvas canvas(assets::kEditorW, assets::kEditorH);
    cairo_t* cr = canvas.Cr();
    {
        CellScope screen(cr, assets::kEditorScreen);
        const double w = assets::kEditorScreen.w, h = assets::kEditorScreen.h;
        PanelWood(cr, w, h);
        RoundedRect(cr, 1.5, 1.5, w - 3, h - 3, 6);
        SetColour(cr, FromHex(0xc89030));
        cairo_set_line_width(cr, 2.5);
        cairo_stroke(cr);
        for (const Rect& well :
             {assets::kEditorHeading, assets::kEditorFields, assets::kEditorPalette, assets::kEditorStatus})
            PanelWell(cr, well);
        PanelWell(cr, assets::kEditorFindings, 0.65);  // darker: the findings are read at a glance
        for (const Rect& button : assets::kEditorButtons) Button(cr, button);
        BoardWindow(cr, assets::kEditorBoard);
    }
    CellScope brush(cr, assets::kEditorBrush);
    BrushFrame(cr, {0, 0, assets::kEditorBrush.w, assets::kEditorBrush.h});
    canvas.Save(out, assets::kEditor);
}

}  // namespace gen
