// The generated pictures against the content table the game draws from: sizes, every listed cell
// drawn, nothing drawn where the game reads nothing, and the dragon's mouth where shots leave.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "ContentFiles.h"

namespace {

using assets::Rect;
using content::GeneratedDir;
using content::Picture;

struct PictureFile {
    std::string name;
    int width, height;
};

std::vector<PictureFile> AllPictures() {
    std::vector<PictureFile> files = {
        {std::string(assets::kSprites), assets::kSpritesSize, assets::kSpritesSize},
        {std::string(assets::kText), assets::kTextSize, assets::kTextSize},
        {std::string(assets::kTitle), assets::kScreenW, assets::kScreenH},
        {std::string(assets::kButtonsRest), assets::kMenuSize, assets::kMenuSize},
        {std::string(assets::kButtonsLit), assets::kMenuSize, assets::kMenuSize},
        {std::string(assets::kBackOk), assets::kMenuSize, assets::kMenuSize},
        {std::string(assets::kFade), assets::kScreenW, assets::kScreenH},
        {std::string(assets::kClouds), assets::kCloudsSize, assets::kCloudsSize},
    };
    for (auto theme : assets::kBackgrounds)
        files.push_back({std::string(theme) + ".png", assets::kBoardW, assets::kBoardH});
    return files;
}

class EveryPicture : public testing::TestWithParam<PictureFile> {};

TEST_P(EveryPicture, ExistsWithItsSize) {
    const Picture picture(GeneratedDir() / GetParam().name);
    ASSERT_TRUE(picture.Loaded()) << GetParam().name;
    EXPECT_EQ(picture.Width(), GetParam().width);
    EXPECT_EQ(picture.Height(), GetParam().height);
}

INSTANTIATE_TEST_SUITE_P(Content, EveryPicture, testing::ValuesIn(AllPictures()),
                         [](const auto& info) { return info.param.name.substr(0, info.param.name.find('.')); });

struct Cell {
    std::string file, what;
    Rect rect;
};

std::vector<Cell> SpriteCells() {
    const std::string s(assets::kSprites);
    std::vector<Cell> cells;
    for (int i = 0; i < 3; ++i) {
        cells.push_back({s, "dragon" + std::to_string(i), assets::kDragon[i]});
        cells.push_back({s, "dragonfiring" + std::to_string(i), assets::kDragonFiring[i]});
        cells.push_back({s, "fireball" + std::to_string(i), assets::kFireball[i]});
        cells.push_back({s, "exit" + std::to_string(i), assets::kExitButton[i]});
        cells.push_back({s, "restart" + std::to_string(i), assets::kRestartButton[i]});
    }
    for (size_t i = 0; i < assets::kOrbs.size(); ++i)
        cells.push_back({s, "orb" + std::to_string(i), assets::kOrbs[i].rect});
    cells.push_back({s, "whiteburn0", assets::kWhiteBurnFirst});
    for (int f = 1; f <= assets::kWhiteBurnFrames; ++f)
        cells.push_back({s, "whiteburn" + std::to_string(f), assets::WhiteBurnFrame(f)});
    for (int f = 0; f < assets::kBurnFrames; ++f)
        cells.push_back({s, "burn" + std::to_string(f), assets::BurnFrame(f)});
    cells.push_back({s, "chest", assets::kChest});
    cells.push_back({s, "tornado", assets::kTornado});
    cells.push_back({s, "cursor", assets::kCursor});
    cells.push_back({s, "panel", assets::kPanel});
    return cells;
}

std::vector<Cell> TextCells() {
    std::vector<Cell> cells;
    for (const auto& caption : assets::kCaptions) {
        std::string what(caption.text);
        std::replace(what.begin(), what.end(), ' ', '_');
        cells.push_back({std::string(assets::kText), what, caption.rect});
    }
    for (size_t i = 0; i < assets::kDigits.size(); ++i)
        cells.push_back(
            {std::string(assets::kText), std::string("digit") + assets::kDigitOrder[i], assets::kDigits[i]});
    return cells;
}

std::vector<Cell> MenuCells() {
    std::vector<Cell> cells;
    for (auto file : {assets::kButtonsRest, assets::kButtonsLit})
        for (const auto& button : assets::kMenuButtons)
            cells.push_back({std::string(file), std::string(button.label), button.rect});
    for (const auto& button : assets::kBackOkButtons)
        cells.push_back({std::string(assets::kBackOk), std::string(button.label), button.rect});
    return cells;
}

std::vector<Cell> AllCells() {
    std::vector<Cell> cells = SpriteCells();
    for (auto& c : TextCells()) cells.push_back(c);
    for (auto& c : MenuCells()) cells.push_back(c);
    return cells;
}

class EveryListedCell : public testing::TestWithParam<Cell> {};

TEST_P(EveryListedCell, HoldsVisiblePixels) {
    const Picture picture(GeneratedDir() / GetParam().file);
    ASSERT_TRUE(picture.Loaded());
    const Rect r = GetParam().rect;
    ASSERT_LE(r.x + r.w, picture.Width());
    ASSERT_LE(r.y + r.h, picture.Height());
    EXPECT_GE(picture.CountVisible(r), std::max(12, r.w * r.h / 25)) << GetParam().what << " is (nearly) empty";
}

INSTANTIATE_TEST_SUITE_P(Content, EveryListedCell, testing::ValuesIn(AllCells()), [](const auto& info) {
    std::string name = info.param.file.substr(0, info.param.file.find('.')) + "_" + info.param.what;
    std::replace_if(
        name.begin(), name.end(), [](char c) { return !std::isalnum(static_cast<unsigned char>(c)); }, '_');
    return name;
});

// Ink outside every listed cell would be drawn by nobody, or bleed into a neighbouring cell.
int VisibleOutside(const Picture& picture, const std::vector<Cell>& cells, const std::string& file) {
    int stray = 0;
    for (int y = 0; y < picture.Height(); ++y)
        for (int x = 0; x < picture.Width(); ++x) {
            if (picture.Alpha(x, y) < 8) continue;
            const bool listed = std::any_of(cells.begin(), cells.end(), [&](const Cell& c) {
                return c.file == file && x >= c.rect.x && x < c.rect.x + c.rect.w && y >= c.rect.y &&
                       y < c.rect.y + c.rect.h;
            });
            if (!listed) ++stray;
        }
    return stray;
}

TEST(SheetsWithCells, DrawNothingOutsideTheirCells) {
    const auto cells = AllCells();
    for (auto file : {assets::kSprites, assets::kText, assets::kButtonsRest, assets::kButtonsLit, assets::kBackOk}) {
        const Picture picture(GeneratedDir() / std::string(file));
        ASSERT_TRUE(picture.Loaded());
        EXPECT_EQ(VisibleOutside(picture, cells, std::string(file)), 0) << file;
    }
}

TEST(Dragon, EveryPoseHasItsMouthWhereShotsLeave) {
    const Picture sheet(GeneratedDir() / std::string(assets::kSprites));
    ASSERT_TRUE(sheet.Loaded());
    for (const auto& row : {assets::kDragon, assets::kDragonFiring})
        for (const Rect& r : row)
            EXPECT_GT(sheet.Alpha(r.x + assets::kDragonMouthX, r.y + assets::kDragonMouthY - 3), 200);
}

}  // namespace
