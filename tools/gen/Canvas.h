// SPDX-License-Identifier: GPL-3.0-or-later
// Drawing helpers shared by the picture generator: an owned cairo image surface with its context,
// colours, PNG output, rounded shapes and a noise that repeats so pictures can tile.
#pragma once

#include <cairo.h>

#include <filesystem>
#include <memory>
#include <string_view>

#include "Random.h"
#include "shell/AssetTable.h"

namespace gen {

struct Colour {
    double r, g, b, a = 1.0;
};

// Mixes two colours: t = 0 gives a, t = 1 gives b.
Colour Mix(const Colour& a, const Colour& b, double t);
Colour Shade(const Colour& c, double factor);  // factor < 1 darkens, > 1 lightens towards white
Colour FromHex(unsigned rgb, double alpha = 1.0);
void SetColour(cairo_t* cr, const Colour& c);
void AddStop(cairo_pattern_t* p, double offset, const Colour& c);
// A soft round light fading from c at the centre to nothing at the radius.
void Glow(cairo_t* cr, double x, double y, double radius, const Colour& c);

// An ARGB image with its cairo context; both released together.
class Canvas final {
public:
    Canvas(int width, int height);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* Cr() const { return m_Cr; }
    cairo_surface_t* Surface() const { return m_Surface; }
    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    // Writes the picture as PNG; throws on failure.
    void Save(const std::filesystem::path& dir, std::string_view name) const;

private:
    cairo_surface_t* m_Surface;
    cairo_t* m_Cr;
    int m_Width, m_Height;
};

// Saves the context, clips to the cell and moves the origin to its top-left corner; restores on exit.
class CellScope final {
public:
    CellScope(cairo_t* cr, const assets::Rect& cell);
    ~CellScope();
    CellScope(const CellScope&) = delete;
    CellScope& operator=(const CellScope&) = delete;

private:
    cairo_t* m_Cr;
};

void RoundedRect(cairo_t* cr, double x, double y, double w, double h, double radius);
void Star(cairo_t* cr, double cx, double cy, int points, double outer, double inner, double rotation);

// Smooth value noise in [0, 1] that repeats every periodX by periodY lattice units.
double PeriodicNoise(double x, double y, int periodX, int periodY, unsigned seed);
// Several octaves of PeriodicNoise; still periodic.
double PeriodicFbm(double x, double y, int periodX, int periodY, unsigned seed, int octaves);

}  // namespace gen
