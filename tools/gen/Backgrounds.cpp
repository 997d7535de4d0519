// SPDX-License-Identifier: GPL-3.0-or-later
// Board backgrounds, 510 x 960, that tile top to bottom: two copies scroll upwards one above the
// other, so every pattern repeats with a period of exactly the picture's height. A per-pixel base
// (periodic noise) is overlaid with small shapes drawn three times, shifted by one height up and down.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>

#include "Canvas.h"
#include "Pictures.h"

namespace gen {

namespace {

constexpr int W = assets::kBoardW;
constexpr int H = assets::kBoardH;

// Noise over the picture with `cellsY` lattice cells from top to bottom, so it repeats vertically.
double Fbm(int x, int y, int cellsX, int cellsY, unsigned seed, int octaves) {
    return PeriodicFbm(x * cellsX / double(W), y * cellsY / double(H), cellsX, cellsY, seed, octaves);
}
// 0..1..0 over the height: a slow vertical swell that joins up with itself.
double Cycle(int y, double turns = 1.0, double phase = 0.0) {
    return 0.5 + 0.5 * std::cos(2 * M_PI * (turns * y / double(H) + phase));
}

// Distances to the nearest and second-nearest of a grid of jittered points, repeating vertically.
void Voronoi(int x, int y, int cellsX, int cellsY, unsigned seed, double& d1, double& d2) {
    const double cw = double(W) / cellsX, ch = double(H) / cellsY;
    const int cx = static_cast<int>(x / cw), cy = static_cast<int>(y / ch);
    d1 = d2 = 1e9;
    for (int j = -1; j <= 1; ++j) {
        for (int i = -1; i <= 1; ++i) {
            const int gx = cx + i, gy = cy + j;
            const int wy = ((gy % cellsY) + cellsY) % cellsY;
            Rng rng(seed * 7919u + static_cast<unsigned>(gx + 1000) * 31u + static_cast<unsigned>(wy) * 131071u);
            const double px = (gx + rng.Uniform(0.15, 0.85)) * cw;
            const double py = (gy + rng.Uniform(0.15, 0.85)) * ch;
            const double d = std::hypot(px - x, py - y);
            if (d < d1) {
                d2 = d1;
                d1 = d;
            } else if (d < d2) {
                d2 = d;
            }
        }
    }
}

using PixelFn = std::function<Colour(int x, int y)>;

void FillPixels(Canvas& canvas, const PixelFn& fn) {
    cairo_surface_flush(canvas.Surface());
    unsigned char* data = cairo_image_surface_get_data(canvas.Surface());
    const int stride = cairo_image_surface_get_stride(canvas.Surface());
    for (int y = 0; y < H; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(data + y * stride);
        for (int x = 0; x < W; ++x) {
            const Colour c = fn(x, y);
            auto ch = [](double v) { return static_cast<uint32_t>(std::lrint(std::clamp(v, 0.0, 1.0) * 255)); };
            row[x] = 0xff000000u | (ch(c.r) << 16) | (ch(c.g) << 8) | ch(c.b);
        }
    }
    cairo_surface_mark_dirty(canvas.Surface());
}

// Draws a shape at y and again one picture height above and below, so it crosses the seam cleanly.
void Wrapped(double y, const std::function<void(double)>& draw) {
    draw(y - H);
    draw(y);
    draw(y + H);
}

// ---- themes ----

void MeadowSky(Canvas& canvas, bool gentle) {
    const Colour high = gentle ? FromHex(0x8cc4e6) : FromHex(0x6aa8dc);
    const Colour low = gentle ? FromHex(0xbfe2ee) : FromHex(0xa4d2ec);
    FillPixels(canvas, [&](int x, int y) {
        Colour c = Mix(high, low, Cycle(y, 1.0));
        const double n = Fbm(x, y, 4, 8, 11, 5);
        const double cloud = std::clamp((n - 0.52) * 2.6, 0.0, 1.0);
        c = Mix(c, FromHex(0xf6f8ff), cloud * (gentle ? 0.5 : 0.6));
        return c;
    });
    cairo_t* cr = canvas.Cr();
    Rng rng(gentle ? 5 : 6);
    for (int i = 0; i < 26; ++i) {  // drifting dandelion seeds
        const double x = rng.Uniform(10, W - 10), y = rng.Uniform(0, H), s = rng.Uniform(2, 4);
        Wrapped(y, [&](double yy) {
            cairo_set_source_rgba(cr, 1, 1, 1, 0.55);
            cairo_set_line_width(cr, 0.7);
            for (int k = 0; k < 8; ++k) {
                const double a = k * M_PI / 4;
                cairo_move_to(cr, x, yy);
                cairo_line_to(cr, x + s * std::cos(a), yy + s * std::sin(a));
            }
            cairo_stroke(cr);
            cairo_move_to(cr, x, yy);
            cairo_line_to(cr, x + s * 0.3, yy + s * 2.2);
            cairo_stroke(cr);
        });
    }
    if (!gentle) {
        for (int i = 0; i < 6; ++i) {  // far-off birds
            const double x = rng.Uniform(30, W - 30), y = rng.Uniform(0, H), s = rng.Uniform(3, 5);
            Wrapped(y, [&](double yy) {
                cairo_set_source_rgba(cr, 0.2, 0.25, 0.35, 0.45);
                cairo_set_line_width(cr, 1.1);
                cairo_move_to(cr, x - s, yy);
                cairo_curve_to(cr, x - s / 2, yy - s / 2, x, yy - s / 3, x, yy);
                cairo_curve_to(cr, x, yy - s / 3, x + s / 2, yy - s / 2, x + s, yy);
                cairo_stroke(cr);
            });
        }
    }
}

void Sunset(Canvas& canvas) {
    FillPixels(canvas, [](int x, int y) {
        const double t = Cycle(y, 1.0);
        Colour c = Mix(FromHex(0xe88a5a), FromHex(0x9a4a7a), t);
        c = Mix(c, FromHex(0xf2b86a), 0.35 * Cycle(y, 2.0, 0.25));
        // Long thin clouds lying across the sky.
        const double streak = Fbm(x, y, 2, 40, 23, 4);
        const double band = std::clamp((streak - 0.55) * 3.0, 0.0, 1.0);
        c = Mix(c, FromHex(0xffd8b0), band * 0.45);
        c = Mix(c, FromHex(0x5a2a5a), std::clamp((0.42 - streak) * 2.0, 0.0, 1.0) * 0.35);
        return c;
    });
    cairo_t* cr = canvas.Cr();
    Rng rng(8);
    for (int i = 0; i < 12; ++i) {  // lanterns of light
        const double x = rng.Uniform(20, W - 20), y = rng.Uniform(0, H), r = rng.Uniform(6, 14);
        Wrapped(y, [&](double yy) { Glow(cr, x, yy, r, {1, 0.9, 0.6, 0.25}); });
    }
}

void Night(Canvas& canvas) {
    FillPixels(canvas, [](int x, int y) {
        Colour c = Mix(FromHex(0x0e1236), FromHex(0x1c1a4a), Cycle(y, 1.0));
        const double n = Fbm(x, y, 3, 6, 41, 5);
        const double m = Fbm(x, y, 4, 8, 43, 4);
        c = Mix(c, FromHex(0x4a2a7a), std::clamp((n - 0.5) * 2.2, 0.0, 1.0) * 0.55);
        c = Mix(c, FromHex(0x1a4a7a), std::clamp((m - 0.55) * 2.5, 0.0, 1.0) * 0.4);
        return c;
    });
    cairo_t* cr = canvas.Cr();
    Rng rng(9);
    for (int i = 0; i < 260; ++i) {
        const double x = rng.Uniform(0, W), y = rng.Uniform(0, H), r = rng.Uniform(0.4, 1.3), a = rng.Uniform(0.3, 0.9);
        Wrapped(y, [&](double yy) {
            cairo_set_source_rgba(cr, 1, 1, 0.92, a);
            cairo_arc(cr, x, yy, r, 0, 2 * M_PI);
            cairo_fill(cr);
        });
    }
    for (int i = 0; i < 14; ++i) {  // a few bright twinkling stars
        const double x = rng.Uniform(10, W - 10), y = rng.Uniform(0, H);
        Wrapped(y, [&](double yy) {
            Glow(cr, x, yy, 6, {0.8, 0.85, 1, 0.35});
            Star(cr, x, yy, 4, 5, 0.8, 0);
            cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
            cairo_fill(cr);
        });
    }
}

void Cave(Canvas& canvas) {
    FillPixels(canvas, [](int x, int y) {
        // Layered rock: bands that wander with the noise, thin dark cracks, a darker shaft edge.
        const double warp = Fbm(x, y, 4, 8, 51, 4);
        const double strata = Cycle(static_cast<int>(std::lrint(y + 90 * warp)) % H + H, 12.0);
        const double grain = Fbm(x, y, 12, 24, 52, 4);
        Colour c = Mix(FromHex(0x3a2e26), FromHex(0x5e4c3c), 0.55 * strata + 0.45 * grain);
        const double ridge = 1.0 - std::abs(2.0 * Fbm(x, y, 6, 12, 53, 5) - 1.0);
        c = Mix(c, FromHex(0x16100c), std::clamp((ridge - 0.93) * 12.0, 0.0, 1.0) * 0.7);
        const double edge = std::min(x, W - 1 - x) / 70.0;
        return Mix(FromHex(0x120c0a), c, std::clamp(0.45 + edge, 0.0, 1.0));
    });
    cairo_t* cr = canvas.Cr();
    Rng rng(10);
    for (int i = 0; i < 16; ++i) {  // glowing crystal clusters
        const double x = rng.Uniform(15, W - 15), y = rng.Uniform(0, H);
        const Colour tint = (i % 2) ? FromHex(0x6ae0d8) : FromHex(0xb47af0);
        const int shards = rng.Range(3, 5);
        const double angles[] = {-0.5, -0.2, 0.1, 0.35, 0.6};
        Wrapped(y, [&](double yy) {
            Glow(cr, x, yy, 20, {tint.r, tint.g, tint.b, 0.25});
            for (int k = 0; k < shards; ++k) {
                cairo_save(cr);
                cairo_translate(cr, x, yy);
                cairo_rotate(cr, angles[k]);
                cairo_move_to(cr, -2.5, 0);
                cairo_line_to(cr, 0, -10 - k * 2);
                cairo_line_to(cr, 2.5, 0);
                cairo_close_path(cr);
                cairo_set_source_rgba(cr, tint.r, tint.g, tint.b, 0.75);
                cairo_fill(cr);
                cairo_restore(cr);
            }
        });
    }
}

void Ice(Canvas& canvas) {
    FillPixels(canvas, [](int x, int y) {
        double d1, d2;
        Voronoi(x, y, 6, 12, 61, d1, d2);
        const double facet = std::clamp(d1 / 60.0, 0.0, 1.0);
        Colour c = Mix(FromHex(0x9ccbe4), FromHex(0x7aaad0), facet);
        c = Mix(c, FromHex(0xe4f4fc), std::clamp(1.0 - (d2 - d1) / 3.0, 0.0, 1.0) * 0.28);
        c = Mix(c, FromHex(0x7ab0d8), 0.3 * Cycle(y, 1.0));
        const double frost = Fbm(x, y, 8, 16, 63, 3);
        return Mix(c, FromHex(0xf0faff), std::clamp((frost - 0.6) * 2.0, 0.0, 1.0) * 0.4);
    });
    cairo_t* cr = canvas.Cr();
    Rng rng(11);
    for (int i = 0; i < 30; ++i) {  // snowflakes
        const double x = rng.Uniform(8, W - 8), y = rng.Uniform(0, H), s = rng.Uniform(2.5, 5.5);
        Wrapped(y, [&](double yy) {
            cairo_set_source_rgba(cr, 1, 1, 1, 0.6);
            cairo_set_line_width(cr, 0.9);
            for (int k = 0; k < 3; ++k) {
                const double a = k * M_PI / 3;
                cairo_move_to(cr, x - s * std::cos(a), yy - s * std::sin(a));
                cairo_line_to(cr, x + s * std::cos(a), yy + s * std::sin(a));
            }
            cairo_stroke(cr);
        });
    }
}

void Volcano(Canvas& canvas) {
    FillPixels(canvas, [](int x, int y) {
        const double n = Fbm(x, y, 4, 8, 71, 6);
        Colour c = Mix(FromHex(0x1e0c08), FromHex(0x4a2216), n);
        const double v = Fbm(x, y, 3, 6, 73, 5);
        const double vein = std::clamp(1.0 - std::abs(v - 0.5) * 22.0, 0.0, 1.0);
        c = Mix(c, FromHex(0xff7a1a), vein * 0.75);
        c = Mix(c, FromHex(0xffd05a), std::pow(vein, 3.0) * 0.5);
        return Mix(c, FromHex(0x6a1a0a), 0.2 * Cycle(y, 1.0));
    });
    cairo_t* cr = canvas.Cr();
    Rng rng(12);
    for (int i = 0; i < 50; ++i) {  // rising embers
        const double x = rng.Uniform(0, W), y = rng.Uniform(0, H), r = rng.Uniform(0.8, 1.8);
        Wrapped(y, [&](double yy) {
            Glow(cr, x, yy, r * 3.5, {1, 0.5, 0.1, 0.4});
            cairo_set_source_rgba(cr, 1, 0.85, 0.4, 0.9);
            cairo_arc(cr, x, yy, r * 0.7, 0, 2 * M_PI);
            cairo_fill(cr);
        });
    }
}

void Forest(Canvas& canvas) {
    FillPixels(canvas, [](int x, int y) {
        const double n = Fbm(x, y, 6, 12, 81, 6);
        Colour c = Mix(FromHex(0x163a22), FromHex(0x3a7040), n);
        const double leaves = Fbm(x, y, 16, 32, 83, 3);
        c = Mix(c, FromHex(0x0e2a16), std::clamp((0.45 - leaves) * 3.0, 0.0, 1.0) * 0.5);
        // Sunlight falling in slanting shafts; the slant repeats over the height.
        const double shaft = Cycle(static_cast<int>(std::lrint(y + x * 0.94)) % H, 3.0);
        return Mix(c, FromHex(0xd8f0a0), std::pow(shaft, 8.0) * 0.18);
    });
    cairo_t* cr = canvas.Cr();
    Rng rng(13);
    for (int i = 0; i < 40; ++i) {  // fireflies
        const double x = rng.Uniform(0, W), y = rng.Uniform(0, H);
        Wrapped(y, [&](double yy) {
            Glow(cr, x, yy, 5, {0.9, 1, 0.4, 0.45});
            cairo_set_source_rgba(cr, 1, 1, 0.7, 0.9);
            cairo_arc(cr, x, yy, 0.9, 0, 2 * M_PI);
            cairo_fill(cr);
        });
    }
}

}  // namespace

void MakeBackground(const std::filesystem::path& out, std::string_view theme) {
    Canvas canvas(W, H);
    if (theme == "meadow")
        MeadowSky(canvas, false);
    else if (theme == "tutorial")
        MeadowSky(canvas, true);
    else if (theme == "sunset")
        Sunset(canvas);
    else if (theme == "night")
        Night(canvas);
    else if (theme == "cave")
        Cave(canvas);
    else if (theme == "ice")
        Ice(canvas);
    else if (theme == "volcano")
        Volcano(canvas);
    else if (theme == "forest")
        Forest(canvas);
    else
        throw std::runtime_error("no background theme named " + std::string(theme));
    canvas.Save(out, std::string(theme) + ".png");
}

}  // namespace gen
