// Message panels: captions and the digit font come from text.png, whose test picture encodes each
// texel's coordinates, so a screen pixel names the texel that was drawn there.
#include "play/cMessage.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>

#include "base/RuntimeError.h"
#include "base/modError.h"
#include "play/cPlayState.h"
#include "support/World.h"
#include "ui/cTutorialState.h"

namespace {
using kwtest::TextTexel;

class MessageTest : public kwtest::HeadlessGame {
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

struct Cell {
    std::string text;  // a digit, or a caption's name
    int32_t left, top, width, height;
};
class TextCells : public MessageTest, public ::testing::WithParamInterface<Cell> {};

TEST_P(TextCells, EachGlyphOrCaptionDrawsExactlyItsCell) {
    const Cell c = GetParam();
    if (c.text.size() == 1) {
        EXPECT_EQ(Number(c.text, 100, 100), 100 + c.width) << "a digit advances by its width";
    } else {
        using Draw = void (cMessage::*)(int32_t, int32_t, int16_t);
        const std::map<std::string, Draw> captions = {{"Pause", &cMessage::DrawPause},
                                                      {"Level", &cMessage::DrawLevel},
                                                      {"Complete", &cMessage::DrawComplete},
                                                      {"GameOver", &cMessage::DrawGameOver}};
        kwtest::DrawOneFrame([&] { (m_Message.get()->*captions.at(c.text))(100, 100, 255); });
    }
    EXPECT_EQ(PixelAt(100, 100), TextTexel(c.left, c.top));
    EXPECT_EQ(PixelAt(99 + c.width, 99 + c.height), TextTexel(c.left + c.width - 1, c.top + c.height - 1));
    EXPECT_EQ(kwtest::Rgb(PixelAt(100 + c.width, 100)), 0u);
    EXPECT_EQ(kwtest::Rgb(PixelAt(100, 100 + c.height)), 0u);
}

INSTANTIATE_TEST_SUITE_P(TextPng, TextCells,
                         ::testing::Values(Cell{"1", 30, 228, 32, 57}, Cell{"2", 62, 230, 41, 55},
                                           Cell{"3", 104, 228, 43, 55}, Cell{"4", 148, 228, 45, 53},
                                           Cell{"5", 192, 228, 43, 54}, Cell{"6", 234, 228, 43, 54},
                                           Cell{"7", 278, 228, 43, 55}, Cell{"8", 321, 228, 43, 55},
                                           Cell{"9", 364, 228, 42, 57}, Cell{"0", 408, 228, 42, 57},
                                           Cell{"Pause", 170, 0, 140, 70}, Cell{"Level", 170, 72, 140, 70},
                                           Cell{"Complete", 138, 144, 206, 76}, Cell{"GameOver", 120, 296, 261, 66}),
                         [](const auto& info) { return info.param.text; });

TEST_F(MessageTest, DigitsFollowOneAnotherAndOtherCharactersAreSkippedWithoutAdvancing) {
    EXPECT_EQ(Number("10", 430, 160), 504);
    EXPECT_EQ(PixelAt(430, 160), TextTexel(30, 228));
    EXPECT_EQ(PixelAt(462, 160), TextTexel(408, 228));
    EXPECT_EQ(Number("-5", 200, 100), 243);
    EXPECT_EQ(PixelAt(200, 100), TextTexel(192, 228));
}

class NotANumber : public MessageTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(NotANumber, IsReportedAndEndsTheProgram) {
    const std::string text = GetParam();
    OpenErrorLog();
    EXPECT_THROW(Number(text, 10, 10), ExitSignal);
    CloseErrorLog();
    std::stringstream log;
    log << std::ifstream(m_Folder.Path("game/errors.log")).rdbuf();
    EXPECT_NE(log.str().find("Handled Error Occurred in cMessage.DrawNumber\r\nError Number: 13\r\nError: Could not "
                             "convert " +
                             text + " to a numeric value."),
              std::string::npos)
        << log.str();
}

INSTANTIATE_TEST_SUITE_P(Texts, NotANumber, ::testing::Values("", "abc", "12a", "1 2", "inf", "99999999999"));

TEST_F(MessageTest, PressEnterLineSitsRightBelowTheBlockAndNothingIsDrawnBehindTheText) {
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

// Every multi-line panel the game shows: the lesson boxes, then the congratulations.
class PanelLines : public MessageTest, public ::testing::WithParamInterface<int32_t> {};

TEST_P(PanelLines, EachWrittenLineStaysOneLineInThe450PixelBox) {
    const int32_t step = GetParam();
    const std::string text =
        step < cTutorialState::kFreePlayStep ? cTutorialState::LessonText(step) : cPlayState::CongratulationsText();
    kwtest::DrawOneFrame([&] { m_Message->DrawMessageBox(text, 175, 200, 450, 100, 8, -1, false); });
    int32_t lines = 0;
    bool inkAbove = false;
    for (int32_t y = 195; y < 480; ++y) {
        bool ink = false;
        for (int32_t x = 170; x < 640 && !ink; ++x) ink = (PixelAt(x, y) >> 16 & 0xFFu) > 100;  // white on black
        lines += ink && !inkAbove;
        inkAbove = ink;
    }
    EXPECT_EQ(lines, std::count(text.begin(), text.end(), '\n') + 1) << text;
}

INSTANTIATE_TEST_SUITE_P(Panels, PanelLines, ::testing::Range(0, cTutorialState::kFreePlayStep + 1));
}  // namespace
