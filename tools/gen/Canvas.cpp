// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing helpers shared by the picture generator.
#include "Canvas.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>
#include <string>

namespace gen {

Colour Mix(const Colour& a, const Colour& b, double t) {
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t, a.a + (b.a - a.a) * t};
}

Colour Shade(const Colour& c, double factor) {
    if (factor <= 1.0) return {c.r * factor, c.g * factor, c.b * factor, c.a};
    const double t = std::min(1.0, factor - 1.0);
    return Mix(c, {1, 1, 1, c.a}, t);
}

Colour FromHex(unsigned rgb, double alpha) {
    return {((rgb >> 16) & 0xff) / 255.0, ((rgb >> 8) & 0xff) / 255.0, (rgb & 0xff) / 255.0, alpha};
}

void SetColour(cairo_t* cr, const Colour& c) { cairo_set_source_rgba(cr, c.r, c.g, c.b, c.a); }

void AddStop(cairo_pattern_t* p, double offset, const Colour& c) {
    cairo_pattern_add_color_stop_rgba(p, offset, c.r, c.g, c.b, c.a);
}

void Glow(cairo_t* cr, double x, double y, double radius, const Colour& c) {
    cairo_pattern_t* p = cairo_pattern_create_radial(x, y, 0, x, y, radius);
    AddStop(p, 0, c);
    AddStop(p, 1, {c.r, c.g, c.b, 0});
    cairo_set_source(cr, p);
    cairo_arc(cr, x, y, radius, 0, 2 * M_PI);
    cairo_fill(cr);
    cairo_pattern_destroy(p);
}

Canvas::Canvas(int width, int height)
    : m_Surface(cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height)),
      m_Cr(cairo_create(m_Surface)),
      m_Width(width),
      m_Height(height) {
    if (cairo_surface_status(m_Surface) != CAIRO_STATUS_SUCCESS || cairo_status(m_Cr) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot create a " + std::to_string(width) + "x" + std::to_string(height) +
                                 " picture");
}

Canvas::~Canvas() {
    cairo_destroy(m_Cr);
    cairo_surface_destroy(m_Surface);
}

void Canvas::Save(const std::filesystem::path& dir, std::string_view name) const {
    cairo_surface_flush(m_Surface);
    const std::filesystem::path final = dir / std::string(name);
    const std::filesystem::path temp = dir / (std::string(name) + ".part");
    if (cairo_surface_write_to_png(m_Surface, temp.c_str()) != CAIRO_STATUS_SUCCESS)
        throw std::runtime_error("cannot write " + temp.string());
    std::filesystem::rename(temp, final);
}

CellScope::CellScope(cairo_t* cr, const assets::Rect& cell) : m_Cr(cr) {
    cairo_save(cr);
    cairo_rectangle(cr, cell.x, cell.y, cell.w, cell.h);
    cairo_clip(cr);
    cairo_translate(cr, cell.x, cell.y);
}

CellScope::~CellScope() { cairo_restore(m_Cr); }

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius) {
    const double r = std::min(radius, std::min(w, h) / 2);
    cairo_new_sub_path(cr);
    cairo_arc(cr, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr);
}

void Star(cairo_t* cr, double cx, double cy, int points, double outer, double inner, double rotation) {
    cairo_new_sub_path(cr);
    for (int i = 0; i < points * 2; ++i) {
        const double a = rotation - M_PI / 2 + i * M_PI / points;
        const double r = (i % 2 == 0) ? outer : inner;
        cairo_line_to(cr, cx + r * std::cos(a), cy + r * std::sin(a));
    }
    cairo_close_path(cr);
}

namespace {
double Lattice(int x, int y, unsigned seed) {
    unsigned h = static_cast<unsigned>(x) * 374761393u + static_cast<unsigned>(y) * 668265263u + seed * 2246822519u;
    h = (h ^ (h >> 13)) * 1274126177u;
    h ^= h >> 16;
    return (h & 0xffffff) / static_cast<double>(0xffffff);
}
int Wrap(int v, int period) { return ((v % period) + period) % period; }
double Smooth(double t) { return t * t * (3 - 2 * t); }
}  // namespace

double PeriodicNoise(double x, double y, int periodX, int periodY, unsigned seed) {
    const double fx = std::floor(x), fy = std::floor(y);
    const int x0 = static_cast<int>(fx), y0 = static_cast<int>(fy);
    const double tx = Smooth(x - fx), ty = Smooth(y - fy);
    const int xa = Wrap(x0, periodX), xb = Wrap(x0 + 1, periodX);
    const int ya = Wrap(y0, periodY), yb = Wrap(y0 + 1, periodY);
    const double a = Lattice(xa, ya, seed), b = Lattice(xb, ya, seed);
    const double c = Lattice(xa, yb, seed), d = Lattice(xb, yb, seed);
    return (a + (b - a) * tx) * (1 - ty) + (c + (d - c) * tx) * ty;
}

double PeriodicFbm(double x, double y, int periodX, int periodY, unsigned seed, int octaves) {
    double sum = 0, amp = 0.5, norm = 0;
    for (int o = 0; o < octaves; ++o) {
        sum += amp * PeriodicNoise(x, y, periodX, periodY, seed + 17u * o);
        norm += amp;
        x *= 2;
        y *= 2;
        periodX *= 2;
        periodY *= 2;
        amp *= 0.5;
    }
    return sum / norm;
}

}  // namespace gen
