// SPDX-License-Identifier: GPL-3.0-or-later
// The generated pictures and sounds. Pictures against the content table the game draws from:
// sizes, every listed cell drawn, nothing drawn where the game reads nothing, and the dragon's
// mouth where shots leave; every orb's edge clear on every board background. Effects are short, audible 16-bit PCM WAV
// at the game's rate; tunes carry the encoder's info tag, without which the loop would stutter at the join.
#include <gtest/gtest.h>

#include <cmath>
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
    for (int32_t kind = OrbKind::Red; kind < OrbKind::Count; ++kind)
        sprites.cells.push_back(assets::kOrbPictures[kind]);
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
    for (const auto& arrows : {assets::kLevelArrows, assets::kLevelArrowsLit})
        sheets.back().cells.insert(sheets.back().cells.end(), arrows.begin(), arrows.end());
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

// WCAG 2 relative luminance of a pixel and the contrast ratio of two luminances.
double Luminance(const Picture& picture, int x, int y) {
    const auto linear = [&](int channel) {
        const double c = picture.Channel(x, y, channel) / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * linear(2) + 0.7152 * linear(1) + 0.0722 * linear(0);
}
double Contrast(double a, double b) { return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05); }

// An orb's edge as two tones: the darkest and the lightest tenth of its own opaque pixels in the
// outer ring of its disc (a rim and whatever ring lies inside it).
std::pair<double, double> EdgeTones(const Picture& sheet, const Rect& cell) {
    std::vector<double> ring;
    for (int y = 0; y < cell.h; ++y)
        for (int x = 0; x < cell.w; ++x) {
            const double r = std::hypot(x + 0.5 - cell.w / 2.0, y + 0.5 - cell.h / 2.0);
            if (r >= 8.5 && r <= 11 && sheet.Alpha(cell.x + x, cell.y + y) >= 230)
                ring.push_back(Luminance(sheet, cell.x + x, cell.y + y));
        }
    if (ring.empty()) return {0, 0};  // no edge at all: it cannot stand out on a dark board
    std::sort(ring.begin(), ring.end());
    return {ring[ring.size() / 10], ring[ring.size() * 9 / 10]};
}

// How clearly an orb stands out anywhere on a background: over the background's pixels, the
// contrast of whichever edge tone differs more from each, at the worst hundredth (a spark or a
// star smaller than an orb is never all that lies behind one).
double Clearness(const std::pair<double, double>& edge, const Picture& background) {
    std::vector<double> contrast;
    for (int y = 0; y < background.Height(); y += 2)
        for (int x = 0; x < background.Width(); x += 2) {
            const double l = Luminance(background, x, y);
            contrast.push_back(std::max(Contrast(edge.first, l), Contrast(edge.second, l)));
        }
    std::nth_element(contrast.begin(), contrast.begin() + contrast.size() / 100, contrast.end());
    return contrast[contrast.size() / 100];
}

// WCAG's 3:1 for the parts of a picture one must see, met by every orb on every background.
TEST(Orbs, EveryOrbsEdgeStandsOutOnEveryBackground) {
    const Picture sheet(content::GeneratedDir() / std::string(assets::kSprites));
    ASSERT_TRUE(sheet.Loaded());
    for (const auto theme : assets::kBackgrounds) {
        const Picture background(content::GeneratedDir() / (std::string(theme) + ".png"));
        ASSERT_TRUE(background.Loaded());
        for (const auto& orb : assets::kOrbs) {
            const double clearness = Clearness(EdgeTones(sheet, orb.rect), background);
            EXPECT_GE(clearness, 3.0) << "orb " << static_cast<int>(orb.kind) << " on " << theme;
        }
    }
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
