// The frame path: what a frame draws is recorded as a list of texture copies; at its end the
// list is compared with the one composed before, only the area where they differ is composed
// again (in software, into one 640 x 480 picture), and only that area is shown. A frame that
// changes nothing costs no drawing at all, which is most frames on a menu.
//
// The output is the window's own surface, updated at 1:1 or scaled, or, where a GPU renders,
// one streaming texture that the GPU scales and shows with vsync. Where the only OpenGL is a
// software rasteriser, the GL stack is never loaded: it would draw every pixel of every frame.
#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <vector>

#include "gfx/Gfx.h"
#include "gfx/GfxImpl.h"

namespace {
using gfx_detail::DrawCommand;

constexpr int GameWidth = 640;
constexpr int GameHeight = 480;
constexpr SDL_Rect Screen{0, 0, GameWidth, GameHeight};

bool IsEmpty(const SDL_Rect& r) { return r.w <= 0 || r.h <= 0; }

// Adds the on-screen part of `r` to `area`.
void Extend(SDL_Rect& area, const SDL_Rect& r) {
    SDL_Rect visible;
    if (!SDL_IntersectRect(&r, &Screen, &visible)) return;
    if (IsEmpty(area))
        area = visible;
    else
        SDL_UnionRect(&area, &visible, &area);
}

// The area where frame `now` can differ from frame `before`: the places of the commands that
// have no equal partner in the other list. Partners are paired in order, so any pixel outside
// the area is covered by the same copies in the same order in both frames.
SDL_Rect ChangedArea(const std::vector<DrawCommand>& before, const std::vector<DrawCommand>& now) {
    constexpr size_t LookAhead = 8;  // how far an inserted or removed copy is looked past
    const auto find = [](const std::vector<DrawCommand>& in, size_t from, const DrawCommand& what) {
        for (size_t k = 1; k <= LookAhead && from + k < in.size(); ++k)
            if (in[from + k] == what) return k;
        return size_t{0};
    };
    SDL_Rect area{0, 0, 0, 0};
    size_t i = 0, j = 0;
    while (i < before.size() && j < now.size()) {
        if (before[i] == now[j]) {
            ++i, ++j;
        } else if (const size_t removed = find(before, i, now[j]); removed != 0) {
            for (const size_t end = i + removed; i < end; ++i) Extend(area, before[i].dst);
        } else if (const size_t inserted = find(now, j, before[i]); inserted != 0) {
            for (const size_t end = j + inserted; j < end; ++j) Extend(area, now[j].dst);
        } else {
            Extend(area, before[i++].dst);
            Extend(area, now[j++].dst);
        }
    }
    for (; i < before.size(); ++i) Extend(area, before[i].dst);
    for (; j < now.size(); ++j) Extend(area, now[j].dst);
    return area;
}

// A scaled copy cut at the edge of the area would sample its picture from another origin than
// when drawn whole, so the area grows until every scaled copy it touches lies inside it.
void GrowOverScaledCopies(SDL_Rect& area, const std::vector<DrawCommand>& commands) {
    for (bool grown = true; grown;) {
        grown = false;
        for (const DrawCommand& c : commands) {
            SDL_Rect visible, joined;
            if ((c.src.w == c.dst.w && c.src.h == c.dst.h) || !SDL_IntersectRect(&c.dst, &Screen, &visible) ||
                !SDL_HasIntersection(&visible, &area))
                continue;
            SDL_UnionRect(&area, &visible, &joined);
            if (!SDL_RectEquals(&joined, &area)) area = joined, grown = true;
        }
    }
}

bool Opaque(const DrawCommand& c) { return c.texture->opaque && (c.modulate >> 24) == 0xFF; }

bool HidesArea(const DrawCommand& c, const SDL_Rect& area) {
    SDL_Rect covered;
    return Opaque(c) && SDL_IntersectRect(&c.dst, &area, &covered) && SDL_RectEquals(&covered, &area);
}

// Where the 640 x 480 picture sits in an output of w x h: scaled to fit, centred, as SDL's
// logical size does it, so mouse positions map back the same way.
SDL_Rect Letterbox(int w, int h) {
    const float wanted = static_cast<float>(GameWidth) / GameHeight;
    const float real = static_cast<float>(w) / static_cast<float>(h);
    if (std::abs(wanted - real) < 0.0001f) return {0, 0, w, h};
    if (wanted > real) {
        const int vh = static_cast<int>(GameHeight * (static_cast<float>(w) / GameWidth));
        return {0, (h - vh) / 2, w, vh};
    }
    const int vw = static_cast<int>(GameWidth * (static_cast<float>(h) / GameHeight));
    return {(w - vw) / 2, 0, vw, h};
}

// Copies the frame's `area` to `out`, where the frame shows at `view`, nearest pixel: window
// pixel X shows frame column (X - view.x) * 640 / view.w, so a part copied alone matches the
// same part of a whole copy. Answers the window rectangle written.
SDL_Rect CopyToWindow(const SDL_Surface& frame, SDL_Surface& out, const SDL_Rect& view, const SDL_Rect& area) {
    const auto firstCovering = [](int at, int frameSize, int viewSize) {
        return (at * viewSize + frameSize - 1) / frameSize;
    };
    const int x0 = view.x + firstCovering(area.x, GameWidth, view.w);
    const int x1 = view.x + firstCovering(area.x + area.w, GameWidth, view.w);
    const int y0 = view.y + firstCovering(area.y, GameHeight, view.h);
    const int y1 = view.y + firstCovering(area.y + area.h, GameHeight, view.h);
    const bool oneToOne = view.w == GameWidth && view.h == GameHeight;
    std::vector<int> column(oneToOne ? 0 : static_cast<size_t>(std::max(x1 - x0, 0)));
    for (int x = x0; x < x1 && !oneToOne; ++x) column[static_cast<size_t>(x - x0)] = (x - view.x) * GameWidth / view.w;
    for (int y = y0; y < y1; ++y) {
        const int frameY = (y - view.y) * GameHeight / view.h;
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

gfx_detail::TextureRef GfxEngine::Impl::MakeTexture(SDL_Surface* picture) {
    if (!picture) return nullptr;
    // A 32-bit picture keeps its own layout, so it blends exactly as SDL blends that layout;
    // others become 32-bit, with alpha where they have any transparency.
    const Uint32 format = picture->format->format;
    const bool keyed = SDL_HasColorKey(picture) == SDL_TRUE;
    bool alpha = picture->format->Amask != 0 || keyed;
    if (const SDL_Palette* palette = picture->format->palette)
        for (int i = 0; i < palette->ncolors && !alpha; ++i) alpha = palette->colors[i].a != SDL_ALPHA_OPAQUE;
    const bool kept = !keyed && (format == SDL_PIXELFORMAT_ARGB8888 || format == SDL_PIXELFORMAT_ABGR8888 ||
                                 format == SDL_PIXELFORMAT_RGBA8888 || format == SDL_PIXELFORMAT_BGRA8888 ||
                                 format == SDL_PIXELFORMAT_RGB888 || format == SDL_PIXELFORMAT_BGR888);
    gfx_detail::SdlPtr<SDL_Surface> pixels(SDL_ConvertSurfaceFormat(
        picture, kept ? format : static_cast<Uint32>(alpha ? SDL_PIXELFORMAT_ARGB8888 : SDL_PIXELFORMAT_RGB888), 0));
    if (!pixels) return nullptr;
    auto texture = std::make_shared<gfx_detail::Texture>();
    texture->width = picture->w;
    texture->height = picture->h;
    texture->opaque = pixels->format->Amask == 0;
    texture->pixels = std::move(pixels);
    return texture;
}

void GfxEngine::Impl::Draw(const gfx_detail::TextureRef& texture, const SDL_Rect* src, const SDL_Rect& dst,
                           uint32_t modulate) {
    if (!texture || !Frame || Rehearsing || IsEmpty(dst) || !SDL_HasIntersection(&dst, &Screen)) return;
    // The part of the picture that exists.
    const SDL_Rect whole{0, 0, texture->width, texture->height};
    SDL_Rect part = whole;
    if (src && !SDL_IntersectRect(src, &whole, &part)) return;
    Drawing.push_back(DrawCommand{texture, part, dst, modulate});
}

namespace {
uint32_t MulDiv255(uint32_t a, uint32_t b) { return a * b / 255; }

// A picture with an alpha channel under alpha or colour modulation is blended as SDL's generic
// blitter does it: each channel times its modulation, colour times the alpha that results, then
// over the frame, every product divided by 255 and rounded down. `p` is in the frame's layout.
uint32_t BlendPixel(uint32_t p, uint32_t d, uint32_t modulate) {
    const uint32_t a = MulDiv255(p >> 24, modulate >> 24), keep = 255 - a;
    uint32_t out = (a + MulDiv255(keep, d >> 24)) << 24;
    for (int shift = 0; shift < 24; shift += 8) {
        const uint32_t c = MulDiv255(MulDiv255((p >> shift) & 0xFF, (modulate >> shift) & 0xFF), a);
        out |= (c + MulDiv255(keep, (d >> shift) & 0xFF)) << shift;
    }
    return out;
}

#if defined(__GNUC__)
// The same two pixels at a time, one 16-bit lane per channel: ((t + 1) + ((t + 1) >> 8)) >> 8 is
// t / 255 for every product t of two bytes, so the result is exact. `Order` names the picture's
// bytes in the frame's order (blue, green, red, alpha).
using Bytes = uint8_t __attribute__((vector_size(8)));
using Words = uint16_t __attribute__((vector_size(16)));

Words Div255(Words t) {
    t += 1;
    return (t + (t >> 8)) >> 8;
}

template <int B, int G, int R, int A>
void BlendPairs(const uint8_t* in, uint8_t* out, int pairs, uint32_t modulate) {
    const auto m = [modulate](int shift) { return static_cast<uint16_t>((modulate >> shift) & 0xFF); };
    const Words mod{m(0), m(8), m(16), m(24), m(0), m(8), m(16), m(24)};
    const Words colourLanes{0xFFFF, 0xFFFF, 0xFFFF, 0, 0xFFFF, 0xFFFF, 0xFFFF, 0};
    const Words alphaLanes{0, 0, 0, 255, 0, 0, 0, 255};
    for (int i = 0; i < pairs; ++i, in += 8, out += 8) {
        Bytes raw, under;
        std::memcpy(&raw, in, 8);
        std::memcpy(&under, out, 8);
        const Words picture = __builtin_convertvector(raw, Words);
        Words s = __builtin_shufflevector(picture, picture, B, G, R, A, B + 4, G + 4, R + 4, A + 4);
        s = Div255(s * mod);
        const Words alpha = __builtin_shufflevector(s, s, 3, 3, 3, 3, 7, 7, 7, 7);
        s = Div255(s * ((alpha & colourLanes) | alphaLanes));
        const Words blended = s + Div255((255 - alpha) * __builtin_convertvector(under, Words));
        const Bytes result = __builtin_convertvector(blended, Bytes);
        std::memcpy(out, &result, 8);
    }
}
#endif

// Blends a modulated copy of a 32-bit picture with alpha into the frame's clip rectangle.
void BlendModulated(const SDL_Surface& from, SDL_Rect src, SDL_Surface& frame, SDL_Rect dst, uint32_t modulate) {
    SDL_Rect visible;
    if (!SDL_IntersectRect(&dst, &frame.clip_rect, &visible)) return;
    src.x += visible.x - dst.x;
    src.y += visible.y - dst.y;
    const SDL_PixelFormat& f = *from.format;
    for (int y = 0; y < visible.h; ++y) {
        const auto* in = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(from.pixels) +
                                                           static_cast<ptrdiff_t>(src.y + y) * from.pitch) +
                         src.x;
        auto* out = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(frame.pixels) +
                                                static_cast<ptrdiff_t>(visible.y + y) * frame.pitch) +
                    visible.x;
        int x = 0;
#if defined(__GNUC__) && SDL_BYTEORDER == SDL_LIL_ENDIAN
        const int pairs = visible.w / 2;
        const auto* bytesIn = reinterpret_cast<const uint8_t*>(in);
        auto* bytesOut = reinterpret_cast<uint8_t*>(out);
        if (f.format == SDL_PIXELFORMAT_ARGB8888)
            BlendPairs<0, 1, 2, 3>(bytesIn, bytesOut, pairs, modulate), x = 2 * pairs;
        if (f.format == SDL_PIXELFORMAT_ABGR8888)
            BlendPairs<2, 1, 0, 3>(bytesIn, bytesOut, pairs, modulate), x = 2 * pairs;
#endif
        for (; x < visible.w; ++x) {
            const uint32_t p = in[x];
            const uint32_t ordered = ((p >> f.Ashift) & 0xFF) << 24 | ((p >> f.Rshift) & 0xFF) << 16 |
                                     ((p >> f.Gshift) & 0xFF) << 8 | ((p >> f.Bshift) & 0xFF);
            out[x] = BlendPixel(ordered, out[x], modulate);
        }
    }
}

// One copy into the frame, clipped to the frame's clip rectangle, the way SDL's software renderer
// makes it: opaque pictures at full alpha are copied rather than blended (the same pixels, far
// cheaper), and a scaled copy that would cross the frame's edge is scaled whole first.
void Copy(const DrawCommand& c, SDL_Surface& frame) {
    SDL_Surface& from = *c.texture->pixels;
    const Uint8 a = static_cast<Uint8>(c.modulate >> 24), r = static_cast<Uint8>(c.modulate >> 16),
                g = static_cast<Uint8>(c.modulate >> 8), b = static_cast<Uint8>(c.modulate);
    const bool scaled = c.src.w != c.dst.w || c.src.h != c.dst.h;
    if (!scaled && !c.texture->opaque && c.modulate != 0xFFFFFFFFu && from.format->BytesPerPixel == 4) {
        BlendModulated(from, c.src, frame, c.dst, c.modulate);
        return;
    }
    const SDL_BlendMode blend = Opaque(c) ? SDL_BLENDMODE_NONE : SDL_BLENDMODE_BLEND;
    SDL_SetSurfaceColorMod(&from, r, g, b);
    SDL_SetSurfaceAlphaMod(&from, a);
    SDL_SetSurfaceBlendMode(&from, blend);
    SDL_Rect src = c.src, dst = c.dst;
    if (!scaled) {
        SDL_BlitSurface(&from, &src, &frame, &dst);
    } else if (dst.x >= 0 && dst.y >= 0 && dst.x + dst.w <= frame.w && dst.y + dst.h <= frame.h) {
        SDL_BlitScaled(&from, &src, &frame, &dst);
    } else {
        gfx_detail::SdlPtr<SDL_Surface> whole(SDL_CreateRGBSurfaceWithFormat(0, dst.w, dst.h, 32, from.format->format));
        if (!whole) return;
        SDL_SetSurfaceBlendMode(&from, SDL_BLENDMODE_NONE);
        SDL_SetSurfaceColorMod(&from, 255, 255, 255);
        SDL_SetSurfaceAlphaMod(&from, 255);
        SDL_Rect inside{0, 0, dst.w, dst.h};
        SDL_BlitScaled(&from, &src, whole.get(), &inside);
        SDL_SetSurfaceColorMod(whole.get(), r, g, b);
        SDL_SetSurfaceAlphaMod(whole.get(), a);
        SDL_SetSurfaceBlendMode(whole.get(), blend);
        SDL_BlitSurface(whole.get(), nullptr, &frame, &dst);
    }
}
}  // namespace

void GfxEngine::Impl::ComposeAndShow() {
    SDL_Rect area = ChangedArea(Composed, Drawing);
    GrowOverScaledCopies(area, Drawing);
    ComposedPixels = IsEmpty(area) ? 0 : static_cast<int64_t>(area.w) * area.h;
    if (!IsEmpty(area)) {
        SDL_SetClipRect(Frame.get(), &area);
        // Nothing under the last opaque copy that hides the whole area can show.
        size_t first = Drawing.size();
        while (first > 0 && !HidesArea(Drawing[first - 1], area)) --first;
        if (first == 0)
            SDL_FillRect(Frame.get(), &area, 0xFF000000u);
        else
            --first;
        for (size_t k = first; k < Drawing.size(); ++k)
            if (SDL_HasIntersection(&Drawing[k].dst, &area)) Copy(Drawing[k], *Frame);
        SDL_SetClipRect(Frame.get(), nullptr);
    }
    FrameCaptured = true;
    Composed.swap(Drawing);
    Drawing.clear();
    if (Renderer && (ShowAll || !IsEmpty(area))) Show(ShowAll ? Screen : area);
}

void GfxEngine::Impl::Show(const SDL_Rect& area) {
    if (FrameTexture) {
        const auto* pixels = static_cast<const uint8_t*>(Frame->pixels) + area.y * Frame->pitch + area.x * 4;
        SDL_UpdateTexture(FrameTexture.get(), &area, pixels, Frame->pitch);
        SDL_SetRenderDrawColor(Renderer.get(), 0, 0, 0, 255);
        SDL_RenderClear(Renderer.get());
        SDL_RenderCopy(Renderer.get(), FrameTexture.get(), nullptr, nullptr);
        SDL_RenderPresent(Renderer.get());
        ShowAll = false;
        return;
    }
    SDL_Surface* out = SDL_GetWindowSurface(Window.get());
    if (!out) return;
    const SDL_Rect view = Letterbox(out->w, out->h);
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
    if (!Renderer) {
        // The window's own surface, never a GPU texture behind it. The software renderer on the
        // window draws nothing: it is there to map mouse positions from window to game pixels.
        SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
        Renderer.reset(SDL_CreateRenderer(Window.get(), -1, SDL_RENDERER_SOFTWARE));
    }
    return Renderer && SDL_RenderSetLogicalSize(Renderer.get(), GameWidth, GameHeight) == 0;
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
    Frame.reset();
    Window.reset();
    FrameCaptured = false;
    ComposedPixels = 0;
}
