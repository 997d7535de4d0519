// Message panels: captions and the digit font come from text.png, whose test picture encodes each
// texel's coordinates, so a screen pixel names the texel that was drawn there.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "play/cMessage.h"
#include "shell/RuntimeError.h"
#include "shell/modError.h"
#include "ui/Fixture.h"

namespace {
using kwtest::HeadlessGame;
using kwtest::TextTexel;

class MessageTest : public HeadlessGame {
protected:
    void SetUp() override {
        HeadlessGame::SetUp();
        m_Message = std::make_unique<cMessage>();
    }
    std::unique_ptr<cMessage> m_Message;
};

struct Cell {
    char digit;
    int32_t left, top, width, height;
};

class DigitFont : public MessageTest, public ::testing::WithParamInterface<Cell> {};

TEST_P(DigitFont, EachDigitDrawsItsWholeCellAndAdvancesByItsWidth) {
    const Cell c = GetParam();
    int32_t end = 0;
    kwtest::DrawOneFrame([&] { end = m_Message->DrawNumber(std::string(1, c.digit), 100, 100, 255); });
    EXPECT_EQ(end, 100 + c.width);
    EXPECT_EQ(PixelAt(100, 100), TextTexel(c.left, c.top));
    EXPECT_EQ(PixelAt(100 + c.width - 1, 100 + c.height - 1), TextTexel(c.left + c.width - 1, c.top + c.height - 1));
    EXPECT_EQ(kwtest::Rgb(PixelAt(100 + c.width, 100)), 0u) << "nothing beyond the cell";
    EXPECT_EQ(kwtest::Rgb(PixelAt(100, 100 + c.height)), 0u);
}

INSTANTIATE_TEST_SUITE_P(TextPng, DigitFont,
                         ::testing::Values(Cell{'1', 30, 228, 32, 57}, Cell{'2', 62, 230, 41, 55},
                                           Cell{'3', 104, 228, 43, 55}, Cell{'4', 148, 228, 45, 53},
                                           Cell{'5', 192, 228, 43, 54}, Cell{'6', 234, 228, 43, 54},
                                           Cell{'7', 278, 228, 43, 55}, Cell{'8', 321, 228, 43, 55},
                                           Cell{'9', 364, 228, 42, 57}, Cell{'0', 408, 228, 42, 57}));

TEST_F(MessageTest, TenDrawsTheOneAt430AndTheZeroAt462AndEndsAt504) {
    int32_t end = 0;
    kwtest::DrawOneFrame([&] { end = m_Message->DrawNumber("10", 430, 160, 255); });
    EXPECT_EQ(end, 504);
    EXPECT_EQ(PixelAt(430, 160), TextTexel(30, 228));
    EXPECT_EQ(PixelAt(462, 160), TextTexel(408, 228));
}

TEST_F(MessageTest, ASignIsSkippedWithoutAdvancing) {
    int32_t end = 0;
    kwtest::DrawOneFrame([&] { end = m_Message->DrawNumber("-5", 200, 100, 255); });
    EXPECT_EQ(end, 243);
    EXPECT_EQ(PixelAt(200, 100), TextTexel(192, 228));
}

class NotANumber : public MessageTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(NotANumber, IsReportedAndEndsTheProgram) {
    const std::string text = GetParam();
    OpenErrorLog();
    bool ended = false;
    try {
        kwtest::DrawOneFrame([&] { m_Message->DrawNumber(text, 10, 10, 255); });
    } catch (const ExitSignal&) {
        ended = true;
    }
    CloseErrorLog();
    EXPECT_TRUE(ended);
    std::ifstream log(m_Dir / "game" / "errors.log");
    std::stringstream content;
    content << log.rdbuf();
    EXPECT_NE(content.str().find("Handled Error Occurred in cMessage.DrawNumber"), std::string::npos);
    EXPECT_NE(content.str().find("Error Number: 13"), std::string::npos);
    EXPECT_NE(content.str().find("Error: Could not convert " + text + " to a numeric value."), std::string::npos)
        << content.str();
}

INSTANTIATE_TEST_SUITE_P(Texts, NotANumber, ::testing::Values("", "abc", "12a", "99999999999", "inf", "1 2"));

TEST(NumberConversion, AcceptsWhatTheGameWritesAndRoundsHalfToEven) {
    int32_t value = 0;
    EXPECT_TRUE(ConvertsToLong(" 42 ", &value));
    EXPECT_EQ(value, 42);
    EXPECT_TRUE(ConvertsToLong("-2147483648", &value));
    EXPECT_EQ(value, INT32_MIN);
    EXPECT_TRUE(ConvertsToLong("2.5", &value));
    EXPECT_EQ(value, 2);
    EXPECT_TRUE(ConvertsToLong("+7", &value));
    EXPECT_FALSE(ConvertsToLong("2147483648"));
    EXPECT_FALSE(ConvertsToLong("-"));
    EXPECT_FALSE(ConvertsToLong("nan"));
}

struct Caption {
    const char* name;
    void (cMessage::*draw)(int32_t, int32_t, int16_t);
    int32_t left, top, width, height;
};

class Captions : public MessageTest, public ::testing::WithParamInterface<Caption> {};

TEST_P(Captions, DrawTheirCellAtThePosition) {
    const Caption c = GetParam();
    kwtest::DrawOneFrame([&] { (m_Message.get()->*c.draw)(50, 40, 255); });
    EXPECT_EQ(PixelAt(50, 40), TextTexel(c.left, c.top));
    EXPECT_EQ(PixelAt(50 + c.width - 1, 40 + c.height - 1), TextTexel(c.left + c.width - 1, c.top + c.height - 1));
    EXPECT_EQ(kwtest::Rgb(PixelAt(50 + c.width, 40)), 0u);
}

INSTANTIATE_TEST_SUITE_P(TextPng, Captions,
                         ::testing::Values(Caption{"Pause", &cMessage::DrawPause, 170, 0, 140, 70},
                                           Caption{"Level", &cMessage::DrawLevel, 170, 72, 140, 70},
                                           Caption{"Complete", &cMessage::DrawComplete, 138, 144, 206, 76},
                                           Caption{"GameOver", &cMessage::DrawGameOver, 120, 296, 261, 66}),
                         [](const ::testing::TestParamInfo<Caption>& info) { return info.param.name; });

TEST_F(MessageTest, CaptionsInOneFrameDoNotDisturbOneAnother) {
    int32_t end = 0;
    kwtest::DrawOneFrame([&] {
        m_Message->DrawPause(0, 0, 255);
        m_Message->DrawGameOver(300, 300, 128);
        end = m_Message->DrawNumber("8", 100, 150, 255);
        m_Message->DrawLevel(400, 0, 255);
    });
    EXPECT_EQ(PixelAt(0, 0), TextTexel(170, 0));
    EXPECT_EQ(PixelAt(100, 150), TextTexel(321, 228));
    EXPECT_EQ(PixelAt(400, 0), TextTexel(170, 72));
    // Half alpha over the black frame: each channel about half of the texel's.
    const uint32_t texel = TextTexel(120 + 200, 296);
    const uint32_t drawn = PixelAt(500, 300);
    EXPECT_NEAR(static_cast<int>((drawn >> 16) & 0xFF), static_cast<int>((texel >> 16) & 0xFF) / 2, 2);
    EXPECT_EQ(end, 143);
}

TEST_F(MessageTest, PressEnterLineSitsRightBelowTheBlock200By20) {
    const auto litIn = [&](int32_t x0, int32_t y0, int32_t w, int32_t h) {
        int lit = 0;
        for (int32_t y = y0; y < y0 + h; ++y)
            for (int32_t x = x0; x < x0 + w; ++x) lit += kwtest::Rgb(PixelAt(x, y)) != 0;
        return lit;
    };
    kwtest::DrawOneFrame([&] { m_Message->DrawMessageBox("Hello", 20, 20, 400, 60, 8, -1, true); });
    EXPECT_GT(litIn(20, 20, 400, 60), 0) << "the block's text";
    EXPECT_GT(litIn(20, 80, 200, 20), 0) << "the press-enter line";

    kwtest::DrawOneFrame([&] { m_Message->DrawMessageBox("Hello", 20, 20, 400, 60, 8, -1, false); });
    EXPECT_EQ(litIn(20, 80, 200, 20), 0);
    EXPECT_EQ(litIn(300, 20, 120, 60), 0) << "no frame or backdrop behind the text";
}
}  // namespace
