// The hand-made levels as the game's own reader sees them: CR LF lines of known cells, the board's
// 19 columns and 20 rows, an existing background; a board that can be won; a rising difficulty.
// The tutorial's own board is proven by playing every lesson on it (tests/ui).
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "ContentFiles.h"
#include "game/LevelCells.h"
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

bool IsColouredCell(const LevelCell* cell) { return cell->orbType == 0 || OrbKind::IsColoured(cell->orbType); }
// Nothing but a fireball from above clears these; one over a coloured orb buries it.
bool IsBurying(const LevelCell* cell) {
    return cell->orbType == OrbKind::BlackFixed || cell->orbType == OrbKind::Invisible;
}

// What the reader lets pass but a level maker must not ship: lines that are not CR LF, unknown
// cells, orbs beyond the board, a missing background, orbs in the air, buried or no coloured orbs.
std::vector<std::string> RuleBreaks(const fs::path& file, bool withCloudsLine) {
    std::vector<std::string> breaks;
    const std::string text = content::ReadFile(file);
    if (std::count(text.begin(), text.end(), '\n') != std::count(text.begin(), text.end(), '\r') || text.size() < 2 ||
        text.substr(text.size() - 2) != "\r\n")
        breaks.push_back("every line must end with CR LF");
    std::vector<std::string> lines;
    for (size_t at = 0, end; (end = text.find("\r\n", at)) != std::string::npos; at = end + 2)
        lines.push_back(text.substr(at, end - at));
    const size_t header = withCloudsLine ? 4 : 3;
    const LevelFile level = ReadLevelFile(file, withCloudsLine);
    if (level.riseInterval <= 0) breaks.push_back("rise interval must be positive");
    if (level.rowCount < 1 || level.rowCount > BoardGeometry::Rows) breaks.push_back("row count outside 1..20");
    if (lines.size() != header + static_cast<size_t>(level.rowCount))
        breaks.push_back("number of orb lines differs from line 2");
    for (size_t i = header; i < lines.size(); ++i) {
        if (static_cast<int>(lines[i].size()) > BoardGeometry::Columns) breaks.push_back("a row is wider than 19");
        for (const char c : lines[i])
            if (c != '.' && !FindLevelCell(c)) breaks.push_back("unknown cell " + std::string(1, c));
    }
    const auto& themes = assets::kBackgrounds;
    if (std::find(themes.begin(), themes.end(), level.picture) == themes.end() ||
        !fs::exists(content::GeneratedDir() / (level.picture + ".png")))
        breaks.push_back("background " + level.picture + " does not exist");
    const Board board = Cells(level);
    int coloured = 0;
    for (const auto& [at, cell] : board) {
        const auto [column, row] = at;
        const std::string where = std::to_string(column) + "," + std::to_string(row);
        if (row > 0 && cell->orbType != OrbKind::BlackFixed && !board.count({column, row - 1}))
            breaks.push_back("orb at " + where + " starts in the air");
        if (!IsColouredCell(cell)) continue;
        ++coloured;
        for (int above = row + 1; above < level.rowCount; ++above) {
            const auto it = board.find({column, above});
            if (it != board.end() && IsBurying(it->second)) breaks.push_back("coloured orb at " + where + " is buried");
        }
    }
    if (coloured == 0) breaks.push_back("no coloured orb: the level would be won at once");
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
