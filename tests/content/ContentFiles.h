// Where the content test finds what the build made: the generated pictures and sounds, the hand-made
// levels and the packed archives of the game folder; and a small owner for decoded PNG pictures.
#pragma once

#include <cairo.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

#include "shell/AssetTable.h"

namespace content {

inline std::filesystem::path GeneratedDir() { return std::filesystem::path(KW_BINARY_DIR) / "content"; }
inline std::filesystem::path LevelsDir() { return std::filesystem::path(KW_SOURCE_DIR) / "data" / "levels"; }
inline std::filesystem::path GameDir() { return std::filesystem::path(KW_GAME_DIR) / "game"; }

std::string ReadFile(const std::filesystem::path& path);

// A PNG read with cairo. Pixels are premultiplied ARGB.
class Picture final {
public:
    explicit Picture(const std::filesystem::path& path);
    bool Loaded() const { return m_Surface && cairo_surface_status(m_Surface.get()) == CAIRO_STATUS_SUCCESS; }
    int Width() const;
    int Height() const;
    uint32_t Pixel(int x, int y) const;
    int Alpha(int x, int y) const { return static_cast<int>(Pixel(x, y) >> 24); }
    // Pixels in the rectangle with alpha at least `minAlpha`.
    int CountVisible(const assets::Rect& r, int minAlpha = 24) const;

private:
    struct Destroy {
        void operator()(cairo_surface_t* s) const { cairo_surface_destroy(s); }
    };
    std::unique_ptr<cairo_surface_t, Destroy> m_Surface;
};

}  // namespace content
