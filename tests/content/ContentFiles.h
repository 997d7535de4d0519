// SPDX-License-Identifier: GPL-3.0-or-later
// Where the content test finds what the build made: the generated pictures and sounds, the hand-made
// levels and the packed archives of the game folder; and a small owner for decoded PNG pictures.
#pragma once

#include <cairo.h>

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <memory>

#include "shell/AssetTable.h"
#include "support/GameFolder.h"

namespace content {

inline std::filesystem::path GeneratedDir() { return std::filesystem::path(KW_BINARY_DIR) / "content"; }
inline std::filesystem::path LevelsDir() { return std::filesystem::path(KW_SOURCE_DIR) / "data" / "levels"; }
inline std::filesystem::path GameDir() { return std::filesystem::path(KW_GAME_DIR) / "game"; }

using kwtest::ReadFile;

// A PNG read with cairo, as ARGB32 (premultiplied) or RGB24.
class Picture final {
public:
    explicit Picture(const std::filesystem::path& path) : m_Surface(cairo_image_surface_create_from_png(path.c_str())) {
        if (Loaded()) cairo_surface_flush(m_Surface.get());
    }
    bool Loaded() const { return cairo_surface_status(m_Surface.get()) == CAIRO_STATUS_SUCCESS; }
    int Width() const { return cairo_image_surface_get_width(m_Surface.get()); }
    int Height() const { return cairo_image_surface_get_height(m_Surface.get()); }
    int Alpha(int x, int y) const {
        if (cairo_image_surface_get_format(m_Surface.get()) == CAIRO_FORMAT_RGB24) return 255;
        return static_cast<int>(Word(x, y) >> 24);
    }
    // Red, green or blue (channel 2, 1, 0) as drawn, not premultiplied, 0..255.
    int Channel(int x, int y, int channel) const {
        const int alpha = Alpha(x, y);
        const auto premultiplied = static_cast<int>(Word(x, y) >> (8 * channel) & 0xFF);
        return alpha == 0 ? 0 : std::min(255, premultiplied * 255 / alpha);
    }

private:
    uint32_t Word(int x, int y) const {
        const unsigned char* row = cairo_image_surface_get_data(m_Surface.get()) +
                                   static_cast<ptrdiff_t>(y) * cairo_image_surface_get_stride(m_Surface.get());
        return reinterpret_cast<const uint32_t*>(row)[x];
    }
    struct Destroy {
        void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
    };
    std::unique_ptr<cairo_surface_t, Destroy> m_Surface;
};

}  // namespace content
