// SPDX-License-Identifier: GPL-3.0-or-later
// Text drawing: faces found through fontconfig, rasterised by SDL_ttf, laid out in a box with
// line breaks and word wrap. Rasterised lines are cached so steady text costs no rendering.
#include <SDL.h>
#include <SDL_ttf.h>
#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

#include "gfx/Gfx.h"
#include "gfx/GfxImpl.h"

#if defined(__SANITIZE_ADDRESS__)
// Fontconfig drops a buffer while parsing its own configuration; that is not ours to mend, and
// every program that draws text would otherwise fail the leak check.
extern "C" const char* __lsan_default_suppressions() { return "leak:libfontconfig.so\n"; }
#endif

namespace {
// The font file fontconfig picks for a face; its fallback when the face is unknown.
gfx_detail::FaceFile MatchFace(const std::string& face, bool bold) {
    gfx_detail::FaceFile found;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return found;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(face.c_str()));
    // A face that is not installed falls back to Arial's metrics (Liberation Sans) rather than to
    // the wider default sans, so panel labels laid out for a narrow display face still fit.
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("Arial"));
    FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    if (match) {
        FcChar8* path = nullptr;
        if (FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch && path)
            found.file = reinterpret_cast<const char*>(path);
        int index = 0;
        if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) found.index = index;
        // A family without a bold cut is emboldened by the rasteriser instead.
        int weight = FC_WEIGHT_REGULAR;
        if (bold && FcPatternGetInteger(match, FC_WEIGHT, 0, &weight) == FcResultMatch && weight < FC_WEIGHT_DEMIBOLD)
            found.embolden = true;
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return found;
}

int32_t PixelSize(float points) {
    if (!std::isfinite(points)) return 12;
    return std::clamp(static_cast<int32_t>(std::lrint(points * 96.0f / 72.0f)), 1, 512);
}

// Paragraphs split at "\r\n" (a lone "\n" or "\r" breaks too).
std::vector<std::string> Paragraphs(const std::string& text) {
    std::vector<std::string> paragraphs(1);
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' || text[i] == '\n') {
            if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
            paragraphs.emplace_back();
        } else {
            paragraphs.back() += text[i];
        }
    }
    return paragraphs;
}

// The width a line covers on screen: trailing blanks take no room at the end of a line.
int InkWidth(TTF_Font* font, const std::string& s) {
    const size_t end = s.find_last_not_of(' ');
    if (end == std::string::npos) return 0;
    int w = 0, h = 0;
    return TTF_SizeUTF8(font, s.substr(0, end + 1).c_str(), &w, &h) == 0 ? w : 0;
}

// Each paragraph on its own lines, greedily wrapped at blanks to the box width.
std::vector<std::string> LayOut(TTF_Font* font, const std::string& text, int32_t maxWidth) {
    std::vector<std::string> lines;
    for (const std::string& p : Paragraphs(text)) {
        if (maxWidth <= 0 || InkWidth(font, p) <= maxWidth) {
            lines.push_back(p);
            continue;
        }
        std::string line;
        size_t pos = 0;
        while (pos < p.size()) {
            const size_t end = p.find(' ', pos);
            const std::string word = p.substr(pos, end == std::string::npos ? std::string::npos : end - pos);
            const std::string candidate = line.empty() ? word : line + " " + word;
            if (!line.empty() && InkWidth(font, candidate) > maxWidth) {
                lines.push_back(line);
                line = word;
            } else {
                line = candidate;
            }
            if (end == std::string::npos) break;
            pos = end + 1;
        }
        lines.push_back(line);
    }
    return lines;
}

// Written lines a little too wide for their box (a heading, the lines of a message panel) are
// drawn a little smaller, down to three quarters of the size, rather than broken apart with a
// word or two left on a line of their own; text that does not fit even then wraps at its size.
int32_t ShrunkToFit(GfxEngine::Impl& d, const std::string& face, bool bold, int32_t pixels, const std::string& text,
                    int32_t boxWidth) {
    if (boxWidth <= 0) return pixels;
    const std::vector<std::string> paragraphs = Paragraphs(text);
    const auto fitsAt = [&](int32_t px) {
        TTF_Font* font = d.FontForPixels(face, bold, px);
        return font && std::all_of(paragraphs.begin(), paragraphs.end(),
                                   [&](const std::string& p) { return InkWidth(font, p) <= boxWidth; });
    };
    if (fitsAt(pixels)) return pixels;
    const int32_t smallest = std::max(1, (pixels * 3 + 3) / 4);
    for (int32_t px = pixels - 1; px >= smallest; --px)
        if (fitsAt(px)) return px;
    return pixels;
}

// The glyphs grown by one pixel all round: each pixel takes the strongest alpha of its 3 x 3
// neighbourhood. Drawn under the text in a dark colour, it outlines every stroke, so white
// text reads on the palest sky as well as on the darkest cave.
gfx_detail::SdlPtr<SDL_Surface> Grown(SDL_Surface* glyphs) {
    gfx_detail::SdlPtr<SDL_Surface> source(SDL_ConvertSurfaceFormat(glyphs, SDL_PIXELFORMAT_ARGB8888, 0));
    if (!source) return nullptr;
    const int w = source->w, h = source->h;
    gfx_detail::SdlPtr<SDL_Surface> grown(
        SDL_CreateRGBSurfaceWithFormat(0, w + 2, h + 2, 32, SDL_PIXELFORMAT_ARGB8888));
    if (!grown) return nullptr;
    // A padded alpha plane, then the 3 x 3 maximum as a row pass and a column pass.
    const int pw = w + 4, ph = h + 4;
    std::vector<uint8_t> alpha(static_cast<size_t>(pw) * static_cast<size_t>(ph), 0);
    for (int y = 0; y < h; ++y) {
        const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(source->pixels) +
                                                            static_cast<ptrdiff_t>(y) * source->pitch);
        for (int x = 0; x < w; ++x)
            alpha[static_cast<size_t>((y + 2) * pw + x + 2)] = static_cast<uint8_t>(row[x] >> 24);
    }
    std::vector<uint8_t> across(alpha.size(), 0);
    for (int y = 0; y < ph; ++y)
        for (int x = 1; x < pw - 1; ++x) {
            const size_t i = static_cast<size_t>(y * pw + x);
            across[i] = std::max({alpha[i - 1], alpha[i], alpha[i + 1]});
        }
    for (int y = 0; y < h + 2; ++y) {
        auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(grown->pixels) +
                                                static_cast<ptrdiff_t>(y) * grown->pitch);
        for (int x = 0; x < w + 2; ++x) {
            const size_t i = static_cast<size_t>(y * pw + x + 1);  // the rows above, at and below
            const uint32_t a =
                std::max({across[i], across[i + static_cast<size_t>(pw)], across[i + 2 * static_cast<size_t>(pw)]});
            row[x] = a << 24 | 0xFFFFFFu;
        }
    }
    return grown;
}

}  // namespace

TTF_Font* GfxEngine::Impl::FontFor(const std::string& face, bool bold, float size) {
    return FontForPixels(face, bold, PixelSize(size));
}

TTF_Font* GfxEngine::Impl::FontForPixels(const std::string& face, bool bold, int32_t px) {
    if (StandIns) return nullptr;
    // Captions may be measured before the display opens, so the font libraries start on demand.
    if (!TtfStarted) TtfStarted = TTF_Init() == 0;
    if (!FontconfigReady) FontconfigReady = FcInit() == FcTrue;
    if (!TtfStarted || !FontconfigReady) return nullptr;
    auto fileIt = FaceFiles.find({face, bold});
    if (fileIt == FaceFiles.end()) fileIt = FaceFiles.emplace(std::make_pair(face, bold), MatchFace(face, bold)).first;
    const gfx_detail::FaceFile& face_file = fileIt->second;
    if (face_file.file.empty()) return nullptr;
    const auto key = std::make_tuple(face_file.file, px, face_file.embolden);
    auto fontIt = Fonts.find(key);
    if (fontIt == Fonts.end()) {
        gfx_detail::SdlPtr<TTF_Font> font(TTF_OpenFontIndex(face_file.file.c_str(), px, face_file.index));
        if (!font) return nullptr;
        if (face_file.embolden) TTF_SetFontStyle(font.get(), TTF_STYLE_BOLD);
        fontIt = Fonts.emplace(key, std::move(font)).first;
    }
    return fontIt->second.get();
}

const gfx_detail::CachedLine* GfxEngine::Impl::LineFor(TTF_Font* font, const std::string& key, const std::string& text,
                                                       bool outlined) {
    const auto render = [&] {
        return gfx_detail::SdlPtr<SDL_Surface>(
            TTF_RenderUTF8_Blended(font, text.c_str(), SDL_Color{255, 255, 255, 255}));
    };
    // The outline is made the first time a line is drawn with one, from the same glyphs.
    const auto addOutline = [&](gfx_detail::CachedLine& line, SDL_Surface* glyphs) {
        const gfx_detail::SdlPtr<SDL_Surface> grown = Grown(glyphs);
        if (grown) line.outline = MakeTexture(grown.get());
    };
    const auto found = LineIndex.find(key);
    if (found != LineIndex.end()) {
        Lines.splice(Lines.begin(), Lines, found->second);
        gfx_detail::CachedLine& line = found->second->second;
        if (outlined && !line.outline) {
            if (const auto surface = render()) addOutline(line, surface.get());
        }
        return &line;
    }
    const gfx_detail::SdlPtr<SDL_Surface> surface = render();
    if (!surface) return nullptr;
    gfx_detail::CachedLine line;
    line.texture = MakeTexture(surface.get());
    if (!line.texture) return nullptr;
    line.width = surface->w;
    line.height = surface->h;
    if (outlined) addOutline(line, surface.get());
    ++Rasterised;
    Lines.emplace_front(key, std::move(line));
    LineIndex[key] = Lines.begin();
    while (Lines.size() > MaxCachedLines) {
        LineIndex.erase(Lines.back().first);
        Lines.pop_back();
    }
    return &Lines.front().second;
}

void GfxText::DrawText(float x, float y, float width, float height, const std::string& text, int32_t align,
                       int32_t colour, const std::string& face, float size, bool bold, int32_t, float shadowDx,
                       float shadowDy, int32_t shadowColour) {
    (void)height;  // text starts at the top of the box and may run below it, as the game lays it out
    auto& d = m_Engine->GetImpl();
    using gfx_detail::Drawable;
    if (!d.Frame || text.empty() || !Drawable(x) || !Drawable(y)) return;
    const int32_t requested = PixelSize(size);
    // Without a usable box width there is nothing to wrap in or align to: left-aligned, one line each.
    const int32_t boxWidth = Drawable(width) ? static_cast<int32_t>(width) : 0;
    if (!Drawable(width)) align = 0;
    const bool shadow = (static_cast<uint32_t>(shadowColour) >> 24) != 0 && (shadowDx != 0 || shadowDy != 0) &&
                        Drawable(shadowDx) && Drawable(shadowDy);
    const std::string layoutKey =
        face + (bold ? "|b|" : "|r|") + std::to_string(requested) + "|" + std::to_string(boxWidth) + "|" + text;
    auto layout = d.Layouts.find(layoutKey);
    if (layout == d.Layouts.end()) {
        TTF_Font* font = d.FontFor(face, bold, size);
        if (!font) return;
        if (d.Layouts.size() >= d.MaxLayouts) d.Layouts.clear();  // a changing text must not grow it forever
        const int32_t pixels = ShrunkToFit(d, face, bold, requested, text, boxWidth);
        layout =
            d.Layouts
                .emplace(layoutKey,
                         GfxEngine::Impl::Layout{pixels, LayOut(d.FontForPixels(face, bold, pixels), text, boxWidth)})
                .first;
    }
    TTF_Font* font = d.FontForPixels(face, bold, layout->second.pixels);
    if (!font) return;
    const std::string keyPrefix = face + (bold ? "|b|" : "|r|") + std::to_string(layout->second.pixels) + "|";
    const int skip = TTF_FontLineSkip(font);
    float top = std::floor(y);
    for (const std::string& text_line : layout->second.lines) {
        if (!text_line.empty()) {
            const gfx_detail::CachedLine* line = d.LineFor(font, keyPrefix + text_line, text_line, shadow);
            if (line) {
                float left = std::floor(x);
                if (align == 1) left = std::floor(x + static_cast<float>(boxWidth) - static_cast<float>(line->width));
                if (align == 2)
                    left = std::floor(x + (static_cast<float>(boxWidth) - static_cast<float>(line->width)) / 2.0f);
                if (shadow && line->outline) {
                    // An outline all round, and once more at the shadow's offset for depth.
                    for (const auto& [dx, dy] : {std::pair{0.0f, 0.0f}, std::pair{shadowDx, shadowDy}}) {
                        const SDL_Rect s{static_cast<int>(std::floor(left + dx)) - 1,
                                         static_cast<int>(std::floor(top + dy)) - 1, line->width + 2, line->height + 2};
                        d.Draw(line->outline, nullptr, s, static_cast<uint32_t>(shadowColour));
                    }
                }
                const SDL_Rect r{static_cast<int>(left), static_cast<int>(top), line->width, line->height};
                d.Draw(line->texture, nullptr, r, static_cast<uint32_t>(colour));
            }
        }
        top += static_cast<float>(skip);
    }
}

void GfxText::Prepare(const std::string& text, const std::string& face, float size, bool bold, float width) {
    auto& d = m_Engine->GetImpl();
    d.Rehearsing = true;
    DrawText(0, 0, width, 0, text, 0, -1, face, size, bold, 0, 0, 0, 0);
    d.Rehearsing = false;
}

int32_t GfxText::GetCachedLineCount() const { return static_cast<int32_t>(m_Engine->GetImpl().Lines.size()); }

int64_t GfxText::GetRasterisedLineCount() const { return m_Engine->GetImpl().Rasterised; }

int32_t GfxText::MeasureWidth(const std::string& text, const std::string& face, float size, bool bold) {
    TTF_Font* font = m_Engine->GetImpl().FontFor(face, bold, size);
    int w = 0, h = 0;
    if (font && TTF_SizeUTF8(font, text.c_str(), &w, &h) == 0) return w;
    return 0;
}

int32_t GfxText::MeasureHeight(const std::string& text, const std::string& face, float size, bool bold) {
    TTF_Font* font = m_Engine->GetImpl().FontFor(face, bold, size);
    int w = 0, h = 0;
    if (font && TTF_SizeUTF8(font, text.c_str(), &w, &h) == 0) return h;
    return 0;
}
