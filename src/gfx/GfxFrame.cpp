// SPDX-License-Identifier: GPL-3.0-or-later
// The frame path: what a frame draws is recorded as a list of texture copies; at its end the
// list is compared with the one composed before, only the area where they differ is composed
// again (in software, into one 640 x 480 picture), and only that area is shown (GfxOutput.cpp).
// A frame that changes nothing costs no drawing at all, which is most frames on a menu.
#include <SDL.h>

#include <algorithm>
#include <cstring>
#include <vector>

#include "gfx/Gfx.h"
#include "gfx/GfxImpl.h"

namespace {
using gfx_detail::DrawCommand;

using gfx_detail::Screen;

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
    if ((Renderer || SurfaceOutput) && (ShowAll || !IsEmpty(area))) Show(ShowAll ? Screen : area);
}
