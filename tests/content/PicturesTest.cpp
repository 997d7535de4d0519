// The generated pictures against the content table the game draws from: sizes, every listed cell
// drawn, nothing drawn where the game reads nothing, and the dragon's mouth where shots leave.
#include <gtest/gtest.h>

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

}  // namespace
