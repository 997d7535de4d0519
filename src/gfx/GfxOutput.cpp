// SPDX-License-Identifier: GPL-3.0-or-later
// Showing the composed frame: in the window's own surface, updated at 1:1 or scaled, or, where a
// GPU renders, through one streaming texture that the GPU scales and shows with vsync. Where the
// only OpenGL is a software rasteriser the GL stack is never loaded: it would draw every pixel of
// every frame, and it alone weighs more than the rest of the game.
#include <SDL.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "gfx/Gfx.h"
#include "gfx/GfxImpl.h"

namespace {
using gfx_detail::GameHeight;
using gfx_detail::GameWidth;
using gfx_detail::Screen;

// The first output pixel, counted from the picture's edge, that shows game pixel `at` or one
// after it: the inverse of GfxGamePixel, so a part copied alone matches the same part of a whole copy.
int FirstShowing(int at, int gameSize, int viewSize) {
    const int64_t c = (2 * int64_t{at} * viewSize + gameSize - 1) / gameSize;
    return static_cast<int>(c / 2);
}

// Copies the frame's `area` to `out`, where the frame shows at `view`, nearest pixel. Answers
// the window rectangle written.
SDL_Rect CopyToWindow(const SDL_Surface& frame, SDL_Surface& out, const SDL_Rect& view, const SDL_Rect& area) {
    const int x0 = view.x + FirstShowing(area.x, GameWidth, view.w);
    const int x1 = view.x + FirstShowing(area.x + area.w, GameWidth, view.w);
    const int y0 = view.y + FirstShowing(area.y, GameHeight, view.h);
    const int y1 = view.y + FirstShowing(area.y + area.h, GameHeight, view.h);
    const bool oneToOne = view.w == GameWidth && view.h == GameHeight;
    std::vector<int> column(oneToOne ? 0 : static_cast<size_t>(std::max(x1 - x0, 0)));
    for (int x = x0; x < x1 && !oneToOne; ++x)
        column[static_cast<size_t>(x - x0)] = GfxGamePixel(x, view.x, view.w, GameWidth);
    for (int y = y0; y < y1; ++y) {
        const int frameY = GfxGamePixel(y, view.y, view.h, GameHeight);
        const auto* from = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(frame.pixels) +
                                                             static_cast<ptrdiff_t>(frameY) * frame.pitch);
        auto* to =
            reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(out.pixels) + static_cast<ptrdiff_t>(y) * out.pitch);
        if (oneToOne) {
            std::memcpy(to + x0, from + (x0 - view.x), static_cast<size_t>(x1 - x0) * sizeof(uint32_t));
        } else {
            for (int x = x0; x < x1; ++x) to[x] = from[column[static_cast<size_t>(x - x0)]];
        }
    }
    return {x0, y0, x1 - x0, y1 - y0};
}

SDL_Rect View(int w, int h, GfxScaling scaling) {
    const GfxArea area = GfxPictureArea(w, h, scaling);
    return {area.x, area.y, area.w, area.h};
}

// The window's surface takes our pixels word for word when it is 32-bit with our channel order.
bool SameLayout(const SDL_Surface& out) {
    const SDL_PixelFormat& f = *out.format;
    return f.BytesPerPixel == 4 && f.Rmask == 0x00FF0000u && f.Gmask == 0x0000FF00u && f.Bmask == 0x000000FFu;
}

// True when OpenGL here could only be a software rasteriser. Asking GL itself would load it
// (tens of megabytes and a fifth of a second) just to learn not to use it, so the answer comes
// from the environment: an explicit choice of renderer, Mesa's software switches, and on
// Linux whether the kernel offers any graphics device at all.
bool OnlySoftwareGl() {
    if (const char* driver = SDL_GetHint(SDL_HINT_RENDER_DRIVER)) return SDL_strcasecmp(driver, "software") == 0;
    if (const char* forced = std::getenv("LIBGL_ALWAYS_SOFTWARE"); forced && *forced && std::strcmp(forced, "0") != 0)
        return true;
    if (const char* gallium = std::getenv("GALLIUM_DRIVER");
        gallium && (std::strcmp(gallium, "llvmpipe") == 0 || std::strcmp(gallium, "softpipe") == 0))
        return true;
#if defined(__linux__)
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator("/dev/dri", ec)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("card", 0) == 0 || name.rfind("renderD", 0) == 0) return false;
    }
    return !std::filesystem::exists("/dev/nvidiactl", ec);
#else
    return false;
#endif
}

// Whatever happens to the window that loses its picture makes the next frame show all of it.
int WatchWindow(void* data, SDL_Event* e) {
    auto& d = *static_cast<GfxEngine::Impl*>(data);
    if (e->type == SDL_WINDOWEVENT &&
        (e->window.event == SDL_WINDOWEVENT_EXPOSED || e->window.event == SDL_WINDOWEVENT_SIZE_CHANGED ||
         e->window.event == SDL_WINDOWEVENT_SHOWN || e->window.event == SDL_WINDOWEVENT_RESTORED))
        d.ShowAll = true;
    if (e->type == SDL_RENDER_TARGETS_RESET) d.ShowAll = true;
    return 0;
}
}  // namespace

GfxArea GfxPictureArea(int32_t width, int32_t height, GfxScaling scaling) {
    if (width <= 0 || height <= 0) return {0, 0, GameWidth, GameHeight};
    const int32_t whole = std::min(width / GameWidth, height / GameHeight);
    int32_t w = width, h = height;
    if (scaling == GfxScaling::Sharp && whole >= 1) {
        w = GameWidth * whole;
        h = GameHeight * whole;
    } else if (int64_t{width} * GameHeight > int64_t{height} * GameWidth) {
        w = static_cast<int32_t>(int64_t{height} * GameWidth / GameHeight);
    } else {
        h = static_cast<int32_t>(int64_t{width} * GameHeight / GameWidth);
    }
    return {(width - w) / 2, (height - h) / 2, w, h};
}

int32_t GfxGamePixel(int32_t at, int32_t start, int32_t size, int32_t gameSize) {
    if (size <= 0) return at - start;
    // The centre of pixel `at`, in halves of an output pixel, scaled to game pixels, rounded down.
    const int64_t n = (2 * (int64_t{at} - start) + 1) * gameSize;
    const int64_t d = 2 * int64_t{size};
    return static_cast<int32_t>(n >= 0 ? n / d : -((-n + d - 1) / d));
}

void GfxEngine::SetScaling(GfxScaling scaling) {
    m_Impl->Scaling = scaling;
    m_Impl->ShowAll = true;  // the borders move
}

void GfxEngine::Impl::Show(const SDL_Rect& area) {
    if (FrameTexture) {
        const auto* pixels = static_cast<const uint8_t*>(Frame->pixels) + area.y * Frame->pitch + area.x * 4;
        SDL_UpdateTexture(FrameTexture.get(), &area, pixels, Frame->pitch);
        SDL_SetRenderDrawColor(Renderer.get(), 0, 0, 0, 255);
        SDL_RenderClear(Renderer.get());
        int w = 0, h = 0;
        SDL_GetRendererOutputSize(Renderer.get(), &w, &h);
        const SDL_Rect view = View(w, h, Scaling);
        SDL_RenderCopy(Renderer.get(), FrameTexture.get(), nullptr, &view);
        SDL_RenderPresent(Renderer.get());
        ShowAll = false;
        return;
    }
    SDL_Surface* out = SDL_GetWindowSurface(Window.get());
    if (!out) return;
    const SDL_Rect view = View(out->w, out->h, Scaling);
    const SDL_Rect whole{0, 0, out->w, out->h};
    if (SDL_MUSTLOCK(out)) SDL_LockSurface(out);
    SDL_Rect written = view;
    if (!SameLayout(*out)) {
        SDL_BlitScaled(Frame.get(), nullptr, out, &written);
        written = whole;  // a converting copy is whole each time
    } else {
        // Showing all includes the bars beside a picture that does not fill the window.
        if (ShowAll) SDL_FillRect(out, nullptr, SDL_MapRGB(out->format, 0, 0, 0));
        written = CopyToWindow(*Frame, *out, view, area);
        if (ShowAll) written = whole;
    }
    if (SDL_MUSTLOCK(out)) SDL_UnlockSurface(out);
    SDL_UpdateWindowSurfaceRects(Window.get(), &written, 1);
    ShowAll = false;
}

bool GfxEngine::Impl::OpenOutput() {
    SDL_AddEventWatch(WatchWindow, this);
    WatchingWindow = true;
    ShowAll = true;
    if (!OnlySoftwareGl()) {
        Renderer.reset(SDL_CreateRenderer(Window.get(), -1, SDL_RENDERER_ACCELERATED | SDL_RENDERER_PRESENTVSYNC));
        if (Renderer)
            FrameTexture.reset(SDL_CreateTexture(Renderer.get(), SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                                 GameWidth, GameHeight));
        if (!FrameTexture) Renderer.reset();
    }
    if (Renderer) return true;
    // The window's own surface, never a GPU texture behind it.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    SurfaceOutput = SDL_GetWindowSurface(Window.get()) != nullptr;
    return SurfaceOutput;
}

void GfxEngine::Impl::CloseDisplay() {
    if (WatchingWindow) SDL_DelEventWatch(WatchWindow, this);
    WatchingWindow = false;
    // The frames hold textures too.
    Drawing.clear();
    Composed.clear();
    Lines.clear();
    LineIndex.clear();
    Textures.clear();
    FrameTexture.reset();
    Renderer.reset();
    SurfaceOutput = false;
    Frame.reset();
    Window.reset();
    FrameCaptured = false;
    ComposedPixels = 0;
}
