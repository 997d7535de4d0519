// The hand-made levels as the game's own reader and the level checker see them: CR LF lines, no
// finding of the checker, a background the build made; a rising difficulty. The tutorial's own
// board is proven by playing every lesson on it (tests/ui).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ContentFiles.h"
#include "game/LevelCells.h"
#include "game/LevelCheck.h"
#include "game/LevelFile.h"

namespace {

namespace fs = std::filesystem;

// Cells by (column, row), row 0 at the bottom.
using Board = std::map<std::pair<int, int>, const LevelCell*>;

Board Cells(const LevelFile& level) {
    Board board;
    for (const auto& line : level.orbRows)
        for (size_t c = 0; c < line.cells.size(); ++c)
            if (const LevelCell* cell = FindLevelCell(line.cells[c])) board[{static_cast<int>(c), line.row}] = cell;
    return board;
}

// What a level maker must not ship: any finding of the level checker, lines that are not CR LF,
// or a background the build did not make.
std::vector<std::string> RuleBreaks(const fs::path& file, bool withCloudsLine) {
    std::vector<std::string> breaks;
    const std::string text = content::ReadFile(file);
    if (std::count(text.begin(), text.end(), '\n') != std::count(text.begin(), text.end(), '\r') || text.size() < 2 ||
        text.substr(text.size() - 2) != "\r\n")
        breaks.push_back("every line must end with CR LF");
    for (const LevelProblem& problem : CheckLevelFile(file, withCloudsLine, GamePictures(fs::path())))
        breaks.push_back(FormatProblem(file.filename().string(), problem));
    const LevelFile level = ReadLevelFile(file, withCloudsLine);
    if (!fs::exists(content::GeneratedDir() / (level.picture + ".png")))
        breaks.push_back("background " + level.picture + " was not made");
    return breaks;
}

int ColourCount(const LevelFile& level) {
    std::set<int32_t> colours;
    for (const auto& [at, cell] : Cells(level))
        if (OrbKind::IsColoured(cell->orbType)) colours.insert(cell->orbType);
    return static_cast<int>(colours.size());
}

std::vector<fs::path> NumberedLevels() {
    std::vector<fs::path> files;
    for (int n = 1; fs::exists(content::LevelsDir() / ("level" + std::to_string(n) + ".dat")); ++n)
        files.push_back(content::LevelsDir() / ("level" + std::to_string(n) + ".dat"));
    return files;
}

TEST(Levels, AtLeastThirtyAreNumberedWithoutGapsAndNothingElseIsShipped) {
    const auto files = NumberedLevels();
    EXPECT_GE(static_cast<int>(files.size()), assets::kMinLevels);
    for (const auto& entry : fs::directory_iterator(content::LevelsDir())) {
        if (entry.path().extension() != ".dat") continue;
        const bool known = entry.path().filename() == "tutorial.dat" ||
                           std::find(files.begin(), files.end(), entry.path()) != files.end();
        EXPECT_TRUE(known) << entry.path().filename() << " is not a numbered level";
    }
}

TEST(Levels, EveryLevelAndTheTutorialFollowTheRulesAndCanBeWon) {
    auto files = NumberedLevels();
    files.push_back(content::LevelsDir() / "tutorial.dat");
    for (const auto& file : files) {
        try {
            for (const auto& why : RuleBreaks(file, file.filename() != "tutorial.dat"))
                ADD_FAILURE() << file.filename() << ": " << why;
        } catch (const std::exception& e) {
            ADD_FAILURE() << file.filename() << " is refused by the game: " << e.what();
        }
    }
}

TEST(Levels, GetHarderFromFirstToLast) {
    std::vector<LevelFile> levels;
    for (const auto& file : NumberedLevels()) levels.push_back(ReadLevelFile(file, true));
    ASSERT_GE(levels.size(), 2u);
    for (size_t i = 1; i < levels.size(); ++i) {
        EXPECT_LE(levels[i].riseInterval, levels[i - 1].riseInterval)
            << "level " << i + 1 << " rises slower than level " << i;
        EXPECT_GE(ColourCount(levels[i]), ColourCount(levels[i - 1])) << "level " << i + 1 << " has fewer colours";
    }
    EXPECT_LE(ColourCount(levels.front()), 3);
    EXPECT_EQ(ColourCount(levels.back()), 5);
}

}  // namespace
