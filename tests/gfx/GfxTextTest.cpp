// SPDX-License-Identifier: GPL-3.0-or-later
// Text draws real glyphs in the asked colour, aligns in its box, and steady text is not
// rasterised again frame after frame.
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "GfxFixture.h"
#include "gfx/GfxTestSupport.h"

namespace {
const int32_t kRed = GfxUtility::MakeColor(255, 255, 0, 0);

class Texts : public GfxFixture {
protected:
    void SetUp() override {
        GfxFixture::SetUp();
        OpenDisplay();
    }
    GfxText& Text() { return m_Engine->GetText(); }
    // Columns of the frame's box that hold any pixel with red above 128.
    std::pair<int, int> RedSpan(int left, int top, int right, int bottom) const {
        int first = -1, last = -1;
        for (int x = left; x < right; ++x)
            for (int y = top; y < bottom; ++y)
                if ((m_Engine->ReadPixel(x, y) >> 16 & 0xFFu) > 128) {
                    if (first < 0) first = x;
                    last = x;
                    break;
                }
        return {first, last};
    }
    // How many of the first 3 * `height` rows below y = 10 hold ink.
    int RowsWithInk(int height) const {
        int rows = 0;
        for (int y = 10; y < 10 + 3 * height; ++y) rows += RedSpan(10, y, 200, y + 1).first != -1;
        return rows;
    }
    // Draws 12-point Arial in the box at (100, 100), 300 by 100.
    void Draw(const std::string& text, int32_t align, int32_t colour = -1) {
        Frame([&] { Text().DrawText(100, 100, 300, 100, text, align, colour, "Arial", 12, false, 0, 2, 2, 0); });
    }
    // Draws white 12-point text in a box `box` wide at (10, 10).
    void DrawAt10(float box, const std::string& text, const char* font = "Arial", bool bold = false) {
        Frame([&] { Text().DrawText(10, 10, box, 400, text, 0, -1, font, 12, bold, 0, 0, 0, 0); });
    }
};

TEST_F(Texts, GlyphsAppearInTheAskedColourLeftRightOrCentredInTheBox) {
    Draw("Caption", 0, kRed);
    const auto left = RedSpan(90, 95, 420, 140);
    EXPECT_GE(left.first, 100);
    EXPECT_LT(left.first, 110);
    EXPECT_EQ(m_Engine->ReadPixel(left.first, 110) & 0xFFFFu, 0u) << "no green or blue in red text";
    Draw("Caption", 1, kRed);
    const auto right = RedSpan(90, 95, 420, 140);
    Draw("Caption", 2, kRed);
    const auto centre = RedSpan(90, 95, 420, 140);
    EXPECT_NEAR(right.second, 399, 3);
    EXPECT_NEAR((centre.first + centre.second) / 2.0, 250, 3);
    EXPECT_NEAR(Text().MeasureWidth("Caption", "Arial", 12, false), right.second - right.first + 1, 3);
}

TEST_F(Texts, LinesBreakAtCarriageReturnsAndWrapInTheBoxButAHeadingALittleTooWideShrinksOntoOneLine) {
    const int32_t height = Text().MeasureHeight("A", "Arial", 12, true);
    DrawAt10(600, "One\r\nTwo");
    EXPECT_GT(RowsWithInk(height), height);  // glyphs on two lines
    DrawAt10(80, "many words that cannot fit on one narrow line at all");
    EXPECT_EQ(RedSpan(91, 0, 640, 480).first, -1);  // nothing right of the box
    const int32_t width = Text().MeasureWidth("Current Score", "Tessivar", 12, true);
    DrawAt10(width * 0.9f, "Current Score", "Tessivar", true);
    EXPECT_LE(RowsWithInk(height), height);  // one line
    EXPECT_EQ(RedSpan(11 + static_cast<int>(width * 0.9f), 0, 640, 480).first, -1);
    DrawAt10(width * 0.5f, "Current Score", "Tessivar", true);
    EXPECT_GT(RowsWithInk(height), height);  // too far over: it wraps at its own size
}

TEST_F(Texts, SteadyTextIsRasterisedOnceAndTheCacheStaysBounded) {
    for (int i = 0; i < 10; ++i) Draw("Score: 100\r\nLevel 3", 0);
    EXPECT_EQ(Text().GetRasterisedLineCount(), 2);
    for (int i = 0; i < 400; ++i) Draw("Score: " + std::to_string(i), 0);
    EXPECT_LE(Text().GetCachedLineCount(), 256);
}

}  // namespace
