// SPDX-License-Identifier: GPL-3.0-or-later
// The generated pictures and sounds. Pictures against the content table the game draws from:
// sizes, every listed cell drawn, nothing drawn where the game reads nothing, and the dragon's
// mouth where shots leave. Effects are short, audible 16-bit PCM WAV at the game's rate; tunes
// carry the encoder's info tag, without which the loop would stutter at the join.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "ContentFiles.h"

namespace {

using assets::Rect;
using content::Picture;

struct Sheet {
    std::string file;
    int width, height;
    std::vector<Rect> cells;  // none: the whole picture is drawn
};

std::vector<Sheet> Sheets() {
    Sheet sprites{std::string(assets::kSprites),
                  assets::kSpritesSize,
                  assets::kSpritesSize,
                  {assets::kWhiteBurnFirst, assets::kChest, assets::kTornado, assets::kCursor, assets::kPanel}};
    for (const auto& rects :
         {assets::kDragon, assets::kDragonFiring, assets::kFireball, assets::kExitButton, assets::kRestartButton})
        sprites.cells.insert(sprites.cells.end(), rects.begin(), rects.end());
    for (const auto& orb : assets::kOrbs) sprites.cells.push_back(orb.rect);
    for (int f = 1; f <= assets::kWhiteBurnFrames; ++f) sprites.cells.push_back(assets::WhiteBurnFrame(f));
    for (int f = 0; f < assets::kBurnFrames; ++f) sprites.cells.push_back(assets::BurnFrame(f));
    Sheet text{std::string(assets::kText),
               assets::kTextSize,
               assets::kTextSize,
               {assets::kDigits.begin(), assets::kDigits.end()}};
    for (const auto& caption : assets::kCaptions) text.cells.push_back(caption.rect);
    std::vector<Sheet> sheets{sprites, text};
    const auto menu = [&](std::string_view file, const auto& buttons) {
        sheets.push_back({std::string(file), assets::kMenuSize, assets::kMenuSize, {}});
        for (const auto& button : buttons) sheets.back().cells.push_back(button.rect);
    };
    menu(assets::kButtonsRest, assets::kMenuButtons);
    menu(assets::kButtonsLit, assets::kMenuButtons);
    menu(assets::kBackOk, assets::kBackOkButtons);
    sheets.push_back({std::string(assets::kOptions),
                      assets::kOptionsW,
                      assets::kOptionsH,
                      {assets::kOptionsCells.begin(), assets::kOptionsCells.end()}});
    for (auto [file, w, h] : {std::tuple{assets::kTitle, assets::kScreenW, assets::kScreenH},
                              {assets::kFade, assets::kScreenW, assets::kScreenH},
                              {assets::kClouds, assets::kCloudsSize, assets::kCloudsSize}})
        sheets.push_back({std::string(file), w, h, {}});
    for (auto theme : assets::kBackgrounds)
        sheets.push_back({std::string(theme) + ".png", assets::kBoardW, assets::kBoardH, {}});
    return sheets;
}

class EveryPicture : public testing::TestWithParam<Sheet> {};

// Ink outside every listed cell would be drawn by nobody, or bleed into a neighbouring cell.
TEST_P(EveryPicture, HasItsSizeInkInEveryListedCellAndNoneOutside) {
    const Sheet& sheet = GetParam();
    const Picture picture(content::GeneratedDir() / sheet.file);
    ASSERT_TRUE(picture.Loaded());
    ASSERT_EQ(picture.Width(), sheet.width);
    ASSERT_EQ(picture.Height(), sheet.height);
    std::vector<bool> inCell(static_cast<size_t>(sheet.width * sheet.height), sheet.cells.empty());
    for (const Rect& r : sheet.cells) {
        SCOPED_TRACE("the cell at " + std::to_string(r.x) + ", " + std::to_string(r.y));
        ASSERT_TRUE(r.x + r.w <= sheet.width && r.y + r.h <= sheet.height) << "lies outside";
        int visible = 0;
        for (int y = r.y; y < r.y + r.h; ++y)
            for (int x = r.x; x < r.x + r.w; ++x) {
                visible += picture.Alpha(x, y) >= 24;
                inCell[static_cast<size_t>(y * sheet.width + x)] = true;
            }
        EXPECT_GE(visible, std::max(12, r.w * r.h / 25)) << "is (nearly) empty";
    }
    int stray = 0;
    for (int y = 0; y < sheet.height; ++y)
        for (int x = 0; x < sheet.width; ++x)
            stray += !inCell[static_cast<size_t>(y * sheet.width + x)] && picture.Alpha(x, y) >= 8;
    EXPECT_EQ(stray, 0);
}

INSTANTIATE_TEST_SUITE_P(Content, EveryPicture, testing::ValuesIn(Sheets()),
                         [](const auto& info) { return info.param.file.substr(0, info.param.file.find('.')); });

TEST(Dragon, EveryPoseHasItsMouthWhereShotsLeave) {
    const Picture sheet(content::GeneratedDir() / std::string(assets::kSprites));
    ASSERT_TRUE(sheet.Loaded());
    for (const auto& row : {assets::kDragon, assets::kDragonFiring})
        for (const Rect& r : row)
            EXPECT_GT(sheet.Alpha(r.x + assets::kDragonMouthX, r.y + assets::kDragonMouthY - 3), 200);
}

uint32_t Le(const std::string& bytes, size_t at, int size) {
    uint32_t v = 0;
    for (int i = size - 1; i >= 0; --i) v = (v << 8) | static_cast<unsigned char>(bytes[at + static_cast<size_t>(i)]);
    return v;
}

class EverySound : public testing::TestWithParam<std::string_view> {};

TEST_P(EverySound, IsShortAudibleSixteenBitPcmAtTheGameRate) {
    const std::string wav = content::ReadFile(content::GeneratedDir() / GetParam());
    ASSERT_GE(wav.size(), 44u);
    EXPECT_EQ(wav.substr(0, 4) + wav.substr(8, 8) + wav.substr(36, 4), "RIFFWAVEfmt data");
    EXPECT_EQ(Le(wav, 20, 2), 1u) << "PCM";
    EXPECT_EQ(Le(wav, 24, 4), static_cast<uint32_t>(assets::kSampleRate));
    EXPECT_EQ(Le(wav, 34, 2), 16u);
    ASSERT_EQ(Le(wav, 40, 4) + 44, wav.size());
    const double seconds = Le(wav, 40, 4) / (2.0 * Le(wav, 22, 2) * assets::kSampleRate);
    EXPECT_GT(seconds, 0.02);
    EXPECT_LT(seconds, 2.0) << "an effect, not a tune";
    int peak = 0;
    for (size_t at = 44; at + 1 < wav.size(); at += 2)
        peak = std::max(peak, std::abs(static_cast<int>(static_cast<int16_t>(Le(wav, at, 2)))));
    EXPECT_GT(peak, 8000) << "too quiet to hear";
    EXPECT_LT(peak, 32767) << "clipped";
}

INSTANTIATE_TEST_SUITE_P(Content, EverySound, testing::ValuesIn(assets::kSounds),
                         [](const auto& info) { return std::string(info.param.substr(0, info.param.find('.'))); });

TEST(Tunes, EachCarriesTheEncodersGaplessTag) {
    for (const auto& tune : assets::kTunes) {
        SCOPED_TRACE(tune.file);
        const std::string mp3 = content::ReadFile(content::GeneratedDir() / std::string(tune.file));
        ASSERT_GT(mp3.size(), 1000u);
        EXPECT_TRUE(mp3.find("Info") < 200 || mp3.find("Xing") < 200) << "no info tag in the first frame";
        EXPECT_LT(mp3.find("LAME"), 400u) << "the info tag lacks the encoder's delay and padding";
    }
}

}  // namespace
