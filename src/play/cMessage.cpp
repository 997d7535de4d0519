#include "play/cMessage.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <exception>
#include <limits>

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "engine/cTextures.h"

namespace {
struct Glyph {
    char digit;
    int32_t left, top, width, height;
};

// Digit cells of text.png; the advance after a glyph is its width. The "2" sits two pixels lower.
constexpr Glyph kGlyphs[] = {
    {'1', 30, 228, 32, 57},  {'2', 62, 230, 41, 55},  {'3', 104, 228, 43, 55}, {'4', 148, 228, 45, 53},
    {'5', 192, 228, 43, 54}, {'6', 234, 228, 43, 54}, {'7', 278, 228, 43, 55}, {'8', 321, 228, 43, 55},
    {'9', 364, 228, 42, 57}, {'0', 408, 228, 42, 57},
};

const Glyph* FindGlyph(char c) {
    for (const Glyph& glyph : kGlyphs)
        if (glyph.digit == c) return &glyph;
    return nullptr;
}
}  // namespace

bool ConvertsToLong(const std::string& text, int32_t* value) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) return false;
    const auto last = text.find_last_not_of(" \t");
    const char* begin = text.data() + first;
    const char* end = text.data() + last + 1;
    bool negative = false;
    if (*begin == '+' || *begin == '-') {
        negative = *begin == '-';
        ++begin;
    }
    // from_chars would also take "inf" and "nan"; a number starts with a digit or a point.
    if (begin == end || !(std::isdigit(static_cast<unsigned char>(*begin)) || *begin == '.')) return false;
    double parsed = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, parsed, std::chars_format::general);
    if (ec != std::errc() || ptr != end || !std::isfinite(parsed)) return false;
    const double rounded = std::nearbyint(negative ? -parsed : parsed);  // ties to even
    if (rounded < std::numeric_limits<int32_t>::min() || rounded > std::numeric_limits<int32_t>::max()) return false;
    if (value) *value = static_cast<int32_t>(rounded);
    return true;
}

cMessage::cMessage() {
    m_TextSprite.SetTexture(gTextures->Texture("text.png"));
    m_TextSprite.SetVisible(true);
    m_TextSprite.SetBlend(true);
    m_TextSprite.SetX(0);
    m_TextSprite.SetY(0);
}

void cMessage::DrawMessageBox(const std::string& text, int32_t x, int32_t y, int32_t width, int32_t height,
                              int32_t size, int16_t flag, bool pressEnter) {
    GfxText& drawer = gEngine->GetText();
    const int32_t shadow = GfxUtility::MakeColor(255, 0, 0, 0);
    const auto fx = static_cast<float>(x);
    const auto fy = static_cast<float>(y);
    const auto fsize = static_cast<float>(size);
    drawer.DrawText(fx, fy, static_cast<float>(width), static_cast<float>(height), text, 0, -1, "Arial", fsize,
                    flag != 0, 0, 1.0f, 1.0f, shadow);
    if (pressEnter)
        drawer.DrawText(fx, static_cast<float>(y + height), 200, 20, "Press Enter to Continue", 0, -1, "Arial", fsize,
                        flag != 0, 0, 1.0f, 1.0f, shadow);
}

void cMessage::DrawCaption(int32_t left, int32_t top, int32_t width, int32_t height, int32_t x, int32_t y,
                           int16_t alpha) {
    m_TextSprite.SetSourceRect(left, top, width, height);
    m_TextSprite.SetX(static_cast<float>(x));
    m_TextSprite.SetY(static_cast<float>(y));
    m_TextSprite.SetAlpha(alpha);
    m_TextSprite.Render();
}

void cMessage::DrawPause(int32_t x, int32_t y, int16_t alpha) { DrawCaption(170, 0, 140, 70, x, y, alpha); }
void cMessage::DrawLevel(int32_t x, int32_t y, int16_t alpha) { DrawCaption(170, 72, 140, 70, x, y, alpha); }
void cMessage::DrawComplete(int32_t x, int32_t y, int16_t alpha) { DrawCaption(138, 144, 206, 76, x, y, alpha); }
void cMessage::DrawGameOver(int32_t x, int32_t y, int16_t alpha) { DrawCaption(120, 296, 261, 66, x, y, alpha); }

int32_t cMessage::DrawNumber(const std::string& text, int32_t x, int32_t y, int16_t alpha) {
    int32_t pending = 0;
    try {
        // The value itself is not needed: the conversion only rejects text that is not a number.
        if (!ConvertsToLong(text)) throw RuntimeError(ErrorNumber::TypeMismatch, "Type mismatch");
        m_TextSprite.SetAlpha(alpha);
        for (const char c : text) {
            const Glyph* glyph = FindGlyph(c);
            if (!glyph) continue;
            m_TextSprite.SetSourceRect(glyph->left, glyph->top, glyph->width, glyph->height);
            m_TextSprite.SetX(static_cast<float>(x));
            m_TextSprite.SetY(static_cast<float>(y));
            m_TextSprite.Render();
            x += glyph->width;
        }
        return x;
    } catch (const RuntimeError& error) {
        pending = error.Number();
    } catch (const std::exception&) {
        pending = ErrorNumber::TypeMismatch;
    }
    ReportError(ErrorNumber::TypeMismatch, "cMessage", "DrawNumber",
                "Could not convert " + text + " to a numeric value.", true, true, true, pending);
    return x;
}
