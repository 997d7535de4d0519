// SPDX-License-Identifier: GPL-3.0-or-later
// Test asset writers: PNG through SDL_image, WAV by hand, zip archives through libzip.
#include "gfx/GfxTestSupport.h"

#include <SDL.h>
#include <SDL_image.h>
#include <zip.h>

#include <cmath>
#include <cstdio>
#include <memory>
#include <numbers>

#include "gfx/GfxImpl.h"

namespace GfxTestSupport {

bool WritePng(const std::string& path, int32_t width, int32_t height,
              const std::function<uint32_t(int32_t, int32_t)>& pixel, bool alpha) {
    if (width <= 0 || height <= 0) return false;
    gfx_detail::SdlPtr<SDL_Surface> s(SDL_CreateRGBSurfaceWithFormat(0, width, height, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!s) return false;
    for (int32_t y = 0; y < height; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(s->pixels) + y * s->pitch);
        for (int32_t x = 0; x < width; ++x) row[x] = pixel(x, y);
    }
    if (alpha) return IMG_SavePNG(s.get(), path.c_str()) == 0;
    gfx_detail::SdlPtr<SDL_Surface> rgb(SDL_ConvertSurfaceFormat(s.get(), SDL_PIXELFORMAT_RGB24, 0));
    return rgb && IMG_SavePNG(rgb.get(), path.c_str()) == 0;
}

uint32_t SdlBlend(uint32_t picture, uint32_t modulate, uint32_t under, bool alpha) {
    // As a PNG arrives: with alpha as ABGR8888, without as RGB888.
    gfx_detail::SdlPtr<SDL_Surface> from(
        SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32, alpha ? SDL_PIXELFORMAT_ABGR8888 : SDL_PIXELFORMAT_RGB888));
    gfx_detail::SdlPtr<SDL_Surface> to(SDL_CreateRGBSurfaceWithFormat(0, 1, 1, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!from || !to) return 0;
    *static_cast<uint32_t*>(from->pixels) =
        SDL_MapRGBA(from->format, static_cast<Uint8>(picture >> 16), static_cast<Uint8>(picture >> 8),
                    static_cast<Uint8>(picture), static_cast<Uint8>(picture >> 24));
    *static_cast<uint32_t*>(to->pixels) = under;
    SDL_SetSurfaceBlendMode(from.get(), SDL_BLENDMODE_BLEND);
    SDL_SetSurfaceAlphaMod(from.get(), static_cast<Uint8>(modulate >> 24));
    SDL_SetSurfaceColorMod(from.get(), static_cast<Uint8>(modulate >> 16), static_cast<Uint8>(modulate >> 8),
                           static_cast<Uint8>(modulate));
    SDL_BlitSurface(from.get(), nullptr, to.get(), nullptr);
    return *static_cast<uint32_t*>(to->pixels);
}

bool WriteSolidPng(const std::string& path, int32_t width, int32_t height, uint32_t argb) {
    return WritePng(path, width, height, [argb](int32_t, int32_t) { return argb; });
}

bool WriteCheckerPng(const std::string& path, int32_t width, int32_t height, uint32_t a, uint32_t b, int32_t cell) {
    if (cell <= 0) return false;
    return WritePng(path, width, height,
                    [=](int32_t x, int32_t y) { return ((x / cell + y / cell) % 2 == 0) ? a : b; });
}

bool WriteWav(const std::string& path, int32_t milliseconds) {
    constexpr uint32_t Rate = 22050;
    const uint32_t samples = static_cast<uint32_t>(std::max(milliseconds, 0)) * Rate / 1000;
    const uint32_t dataBytes = samples * 2;
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    const auto u32 = [f](uint32_t v) {
        const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                    static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
        std::fwrite(b, 1, 4, f);
    };
    const auto u16 = [f](uint32_t v) {
        const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
        std::fwrite(b, 1, 2, f);
    };
    std::fwrite("RIFF", 1, 4, f);
    u32(36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, f);
    u32(16);
    u16(1);
    u16(1);
    u32(Rate);
    u32(Rate * 2);
    u16(2);
    u16(16);
    std::fwrite("data", 1, 4, f);
    u32(dataBytes);
    for (uint32_t i = 0; i < samples; ++i) {
        const double v = std::sin(static_cast<double>(i) * 2.0 * std::numbers::pi * 440.0 / Rate) * 2000.0;
        u16(static_cast<uint16_t>(static_cast<int16_t>(v)));
    }
    const bool ok = std::ferror(f) == 0;
    return std::fclose(f) == 0 && ok;
}

bool WriteZip(const std::string& path, const std::vector<std::pair<std::string, std::string>>& entries,
              const std::string& password) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (!archive) return false;
    for (const auto& [name, contents] : entries) {
        zip_source_t* source = zip_source_buffer(archive, contents.data(), contents.size(), 0);
        if (!source) {
            zip_discard(archive);
            return false;
        }
        const zip_int64_t index = zip_file_add(archive, name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE);
        if (index < 0) {
            zip_source_free(source);
            zip_discard(archive);
            return false;
        }
        if (!password.empty() &&
            zip_file_set_encryption(archive, static_cast<zip_uint64_t>(index), ZIP_EM_AES_256, password.c_str()) != 0) {
            zip_discard(archive);
            return false;
        }
    }
    return zip_close(archive) == 0;
}

bool MovePointerInWindow(GfxEngine& engine, int32_t width, int32_t height, int32_t x, int32_t y) {
    SDL_Window* window = engine.GetImpl().Window.get();
    if (!window) return false;
    SDL_SetWindowSize(window, width, height);
    SDL_Event e{};
    e.type = SDL_MOUSEMOTION;
    e.motion.windowID = SDL_GetWindowID(window);
    e.motion.x = x;
    e.motion.y = y;
    return SDL_PushEvent(&e) == 1;
}

}  // namespace GfxTestSupport
