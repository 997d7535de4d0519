// The hand-made levels as the game's own reader sees them: CR LF lines of known cells, the board's
// 19 columns and 20 rows, an existing background; a board that can be won; a rising difficulty;
// and a tutorial board on which every scripted lesson works.
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

class TutorialBoard : public testing::Test {
protected:
    void SetUp() override {
        m_Level = ReadLevelFile(content::LevelsDir() / "tutorial.dat", false);
        m_Board = Cells(m_Level);
    }
    int Top(int column) const {
        for (int row = m_Level.rowCount - 1; row >= 0; --row)
            if (m_Board.count({column, row})) return row;
        return -1;
    }
    char At(int column, int row) const {
        const auto it = m_Board.find({column, row});
        return it == m_Board.end() ? '.' : it->second->letter;
    }
    // The cells of the same kind joined to (column, row) through the four neighbours.
    std::set<std::pair<int, int>> Group(int column, int row) const {
        std::set<std::pair<int, int>> group;
        std::vector<std::pair<int, int>> todo = {{column, row}};
        const char kind = At(column, row);
        while (!todo.empty()) {
            const auto cell = todo.back();
            todo.pop_back();
            if (At(cell.first, cell.second) != kind || !group.insert(cell).second) continue;
            todo.push_back({cell.first + 1, cell.second});
            todo.push_back({cell.first - 1, cell.second});
            todo.push_back({cell.first, cell.second + 1});
            todo.push_back({cell.first, cell.second - 1});
        }
        return group;
    }
    LevelFile m_Level;
    Board m_Board;
};

TEST_F(TutorialBoard, AnyBlueShotIntoColumnsZeroToFourBurns) {
    EXPECT_EQ(m_Level.picture, "tutorial");
    for (int column = 0; column <= 4; ++column) {
        const int top = Top(column);
        ASSERT_GE(top, 0) << "column " << column << " is empty: the shot would fall through";
        EXPECT_EQ(At(column, top), 'B') << "column " << column;
        EXPECT_GE(Group(column, top).size(), 2u) << "column " << column;
    }
}

TEST_F(TutorialBoard, ARedShotAtColumnSeventeenDropsAGreenOrbOntoATreasureChest) {
    const int top = Top(17);
    ASSERT_GE(top, 0);
    ASSERT_EQ(At(17, top), 'R');
    const auto burnt = Group(17, top);
    ASSERT_GE(burnt.size(), 2u) << "the shot and the reds it lands on must make three";
    bool greenFallsOnChest = false;
    for (const auto& [column, row] : burnt) {
        int above = row + 1;
        while (burnt.count({column, above})) ++above;
        if (At(column, above) != 'G') continue;
        int below = row - 1;
        while (below >= 0 && (burnt.count({column, below}) || At(column, below) == '.')) --below;
        if (below >= 0 && At(column, below) == 'W') greenFallsOnChest = true;
    }
    EXPECT_TRUE(greenFallsOnChest);
    EXPECT_NE(At(16, Top(16)), 'R') << "a red shot next door would also hit; column 17 must be the one";
}

TEST_F(TutorialBoard, HoldsTheTornadoFireballBlackOrbsAndAnEmptyColumn) {
    ASSERT_GE(Top(13), 0);
    EXPECT_EQ(At(13, Top(13)), 'X') << "the green lesson breaks a tornado orb on top of column 13";
    ASSERT_GE(Top(7), 0);
    EXPECT_EQ(At(7, Top(7)), 'Z') << "the yellow lesson breaks a fireball orb on top of column 7";
    std::set<char> kinds;
    for (const auto& [at, cell] : m_Board) kinds.insert(cell->letter);
    EXPECT_TRUE(kinds.count('1') && kinds.count('2')) << "both kinds of black orb";
    bool emptyColumn = false;
    for (int column = 0; column < BoardGeometry::Columns; ++column) emptyColumn |= Top(column) < 0;
    EXPECT_TRUE(emptyColumn);
}

}  // namespace
