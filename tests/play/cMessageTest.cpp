// SPDX-License-Identifier: GPL-3.0-or-later
// Message panels: captions and the digit font come from text.png, whose test picture encodes each
// texel's coordinates, so a screen pixel names the texel that was drawn there.
#include <gtest/gtest.h>

#include <functional>

#include "base/RuntimeError.h"
#include "base/modError.h"
#include "play/cMessage.h"
#include "shell/AssetTable.h"
#include "support/World.h"

namespace {
using kwtest::TextTexel;

class Messages : public kwtest::HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        m_Message = std::make_unique<cMessage>();
    }
    // Draws the text at (x, y) and answers the x after its last digit.
    int32_t Number(const std::string& text, int32_t x, int32_t y) {
        int32_t end = 0;
        kwtest::DrawOneFrame([&] { end = m_Message->DrawNumber(text, x, y, 255); });
        return end;
    }
    std::unique_ptr<cMessage> m_Message;
};

// Each digit or caption draws exactly its cell of the content table at the asked corner.
TEST_F(Messages, EachGlyphAndCaptionDrawsExactlyItsCell) {
    using Draw = void (cMessage::*)(int32_t, int32_t, int16_t);
    const std::pair<Draw, assets::Rect> captions[] = {{&cMessage::DrawPause, assets::kPaused.rect},
                                                      {&cMessage::DrawLevel, assets::kLevel.rect},
                                                      {&cMessage::DrawComplete, assets::kComplete.rect},
                                                      {&cMessage::DrawGameOver, assets::kGameOver.rect}};
    std::vector<std::pair<std::function<void()>, assets::Rect>> cells;
    for (const auto& [draw, rect] : captions)
        cells.emplace_back([this, draw = draw] { (m_Message.get()->*draw)(100, 100, 255); }, rect);
    for (size_t i = 0; i < assets::kDigits.size(); ++i) {
        const std::string digit(1, assets::kDigitOrder[i]);
        const int32_t width = assets::kDigits[i].w;
        cells.emplace_back(
            [this, digit, width] { EXPECT_EQ(m_Message->DrawNumber(digit, 100, 100, 255), 100 + width); },
            assets::kDigits[i]);
    }
    for (const auto& [draw, c] : cells) {
        kwtest::DrawOneFrame(draw);
        EXPECT_EQ(PixelAt(100, 100), TextTexel(c.x, c.y));
        EXPECT_EQ(PixelAt(99 + c.w, 99 + c.h), TextTexel(c.x + c.w - 1, c.y + c.h - 1));
        EXPECT_EQ(kwtest::Rgb(PixelAt(100 + c.w, 100)), 0u);
        EXPECT_EQ(kwtest::Rgb(PixelAt(100, 100 + c.h)), 0u);
    }
}

TEST_F(Messages, DigitsFollowOneAnotherAndOtherCharactersAreSkippedWithoutAdvancing) {
    EXPECT_EQ(Number("10", 430, 160), 504);
    EXPECT_EQ(PixelAt(430, 160), TextTexel(30, 228));
    EXPECT_EQ(PixelAt(462, 160), TextTexel(408, 228));
    EXPECT_EQ(Number("-5", 200, 100), 243);
    EXPECT_EQ(PixelAt(200, 100), TextTexel(192, 228));
}

class NotANumber : public Messages, public ::testing::WithParamInterface<const char*> {};

TEST_P(NotANumber, IsReportedAndEndsTheProgram) {
    const std::string text = GetParam();
    EXPECT_THROW(Number(text, 10, 10), ExitSignal);
    CloseErrorLog();
    const std::string log = m_Folder.ReadText("game/errors.log");
    EXPECT_NE(log.find("Handled Error Occurred in cMessage.DrawNumber\r\nError Number: 13\r\nError: Could not "
                       "convert " +
                       text + " to a numeric value."),
              std::string::npos)
        << log;
}

INSTANTIATE_TEST_SUITE_P(Texts, NotANumber, ::testing::Values("", "abc", "12a", "1 2", "inf", "99999999999"));

TEST_F(Messages, PressEnterLineSitsRightBelowTheBlockAndNothingIsDrawnBehindTheText) {
    const auto lit = [&](int32_t x0, int32_t y0, int32_t w, int32_t h) {
        int count = 0;
        for (int32_t y = y0; y < y0 + h; ++y)
            for (int32_t x = x0; x < x0 + w; ++x) count += kwtest::Rgb(PixelAt(x, y)) != 0;
        return count;
    };
    kwtest::DrawOneFrame([&] { m_Message->DrawMessageBox("Hello", 20, 20, 400, 60, 8, -1, true); });
    EXPECT_GT(lit(20, 20, 400, 60), 0);
    EXPECT_GT(lit(20, 80, 200, 20), 0);
    EXPECT_EQ(lit(300, 20, 120, 60), 0);
    kwtest::DrawOneFrame([&] { m_Message->DrawMessageBox("Hello", 20, 20, 400, 60, 8, -1, false); });
    EXPECT_EQ(lit(20, 80, 200, 20), 0);
}

}  // namespace
