// SPDX-License-Identifier: GPL-3.0-or-later
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
#include "shell/AssetTable.h"

namespace {
// Draws one cell of text.png with its top-left corner at (x, y); the sprite scales about its
// centre, so a scaled cell is placed by its centre.
void DrawCell(GfxSprite& sprite, const assets::Rect& cell, int32_t x, int32_t y, float scale = 1) {
    sprite.SetSourceRect(cell.x, cell.y, cell.w, cell.h);
    sprite.SetScale(scale);
    sprite.SetX(static_cast<float>(x) - static_cast<float>(cell.w) * (1 - scale) / 2);
    sprite.SetY(static_cast<float>(y) - static_cast<float>(cell.h) * (1 - scale) / 2);
    sprite.Render();
}

// The digit font's cell for a character, or null for a character that is not a digit.
const assets::Rect* DigitCell(char c) {
    const size_t digit = assets::kDigitOrder.find(c);
    return digit == std::string_view::npos ? nullptr : &assets::kDigits[digit];
}

void DrawCaption(GfxSprite& sprite, const assets::Caption& caption, int32_t x, int32_t y, int16_t alpha) {
    sprite.SetAlpha(alpha);
    DrawCell(sprite, caption.rect, x, y);
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

void cMessage::DrawPause(int32_t x, int32_t y, int16_t alpha) {
    DrawCaption(m_TextSprite, assets::kPaused, x, y, alpha);
}
void cMessage::DrawLevel(int32_t x, int32_t y, int16_t alpha) {
    DrawCaption(m_TextSprite, assets::kLevel, x, y, alpha);
}
void cMessage::DrawComplete(int32_t x, int32_t y, int16_t alpha) {
    DrawCaption(m_TextSprite, assets::kComplete, x, y, alpha);
}
void cMessage::DrawGameOver(int32_t x, int32_t y, int16_t alpha) {
    DrawCaption(m_TextSprite, assets::kGameOver, x, y, alpha);
}

int32_t cMessage::NumberWidth(const std::string& text) {
    int32_t width = 0;
    for (const char c : text)
        if (const assets::Rect* cell = DigitCell(c)) width += cell->w;
    return width;
}

int32_t cMessage::DrawNumber(const std::string& text, int32_t x, int32_t y, int16_t alpha, float scale) {
    int32_t pending = 0;
    try {
        // The value itself is not needed: the conversion only rejects text that is not a number.
        if (!ConvertsToLong(text)) throw RuntimeError(ErrorNumber::TypeMismatch, "Type mismatch");
        m_TextSprite.SetAlpha(alpha);
        for (const char c : text) {
            // Each digit advances by its own width.
            const assets::Rect* cell = DigitCell(c);
            if (!cell) continue;
            DrawCell(m_TextSprite, *cell, x, y, scale);
            x += static_cast<int32_t>(std::lrint(static_cast<float>(cell->w) * scale));
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
