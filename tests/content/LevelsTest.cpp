// The hand-made levels against the level-file rules: header lines, CR LF endings, the board's 19 columns
// and 20 rows, known cell characters, an existing background; a board that can be won; a rising
// difficulty; and a tutorial board on which every scripted lesson works.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <charconv>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "ContentFiles.h"
#include "game/LevelFile.h"

namespace {

struct Level {
    int riseInterval = 0;
    int rows = 0;
    std::string background;
    bool clouds = false;
    std::vector<std::string> orbRows;  // top row first
};

const std::string kCellCharacters = "RBGPY12AWXZUI.";
const std::string kColoured = "RBGPYA";

std::optional<int> ParseNumber(const std::string& line) {
    const auto first = line.find_first_not_of(' ');
    const auto last = line.find_last_not_of(' ');
    if (first == std::string::npos) return std::nullopt;
    int value = 0;
    const char* begin = line.data() + first;
    const char* end = line.data() + last + 1;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

// Reads a level file as the game does; `error` says what breaks the rules.
std::optional<Level> ParseLevel(const std::string& text, bool hasCloudsLine, std::string& error) {
    std::vector<std::string> lines;
    size_t pos = 0;
    while (pos < text.size()) {
        const size_t end = text.find("\r\n", pos);
        if (end == std::string::npos) {
            error = "the last line does not end with CR LF";
            return std::nullopt;
        }
        lines.push_back(text.substr(pos, end - pos));
        pos = end + 2;
    }
    for (const auto& line : lines)
        if (line.find('\n') != std::string::npos || line.find('\r') != std::string::npos) {
            error = "a line ends with a bare CR or LF";
            return std::nullopt;
        }
    const size_t header = hasCloudsLine ? 4 : 3;
    if (lines.size() < header) {
        error = "the header is incomplete";
        return std::nullopt;
    }
    Level level;
    const auto rise = ParseNumber(lines[0]);
    const auto rows = ParseNumber(lines[1]);
    if (!rise || !rows) {
        error = "a header line is not a number";
        return std::nullopt;
    }
    level.riseInterval = *rise;
    level.rows = *rows;
    level.background = lines[2];
    if (hasCloudsLine) {
        std::string word = lines[3];
        word.erase(0, word.find_first_not_of(' '));
        word.erase(word.find_last_not_of(' ') + 1);
        std::transform(word.begin(), word.end(), word.begin(), [](unsigned char c) { return std::toupper(c); });
        level.clouds = word == "YES";
    }
    level.orbRows.assign(lines.begin() + static_cast<long>(header), lines.end());
    return level;
}

// Cells by (column, row), row 0 at the bottom.
using Board = std::map<std::pair<int, int>, char>;

Board Cells(const Level& level) {
    Board board;
    for (size_t i = 0; i < level.orbRows.size(); ++i) {
        const int row = level.rows - 1 - static_cast<int>(i);
        for (size_t c = 0; c < level.orbRows[i].size(); ++c)
            if (level.orbRows[i][c] != '.') board[{static_cast<int>(c), row}] = level.orbRows[i][c];
    }
    return board;
}

// What makes a level playable as the game reads it and winnable as the rules stand.
std::vector<std::string> RuleBreaks(const Level& level) {
    std::vector<std::string> breaks;
    if (level.riseInterval <= 0) breaks.push_back("rise interval must be positive");
    if (level.rows < 1 || level.rows > assets::kBoardRows) breaks.push_back("row count outside 1..20");
    if (static_cast<int>(level.orbRows.size()) != level.rows)
        breaks.push_back("number of orb lines differs from line 2");
    const auto& themes = assets::kBackgrounds;
    if (std::find(themes.begin(), themes.end(), level.background) == themes.end() ||
        !std::filesystem::exists(content::GeneratedDir() / (level.background + ".png")))
        breaks.push_back("background " + level.background + " does not exist");
    for (const auto& row : level.orbRows) {
        if (static_cast<int>(row.size()) > assets::kBoardColumns) breaks.push_back("a row is wider than 19 columns");
        if (row.find_first_not_of(kCellCharacters) != std::string::npos)
            breaks.push_back("unknown cell character in " + row);
    }
    const Board board = Cells(level);
    int coloured = 0;
    for (const auto& [cell, ch] : board) {
        const auto [column, row] = cell;
        if (row > 0 && ch != '2' && !board.count({column, row - 1}))
            breaks.push_back("orb at " + std::to_string(column) + "," + std::to_string(row) + " starts in the air");
        if (kColoured.find(ch) == std::string::npos) continue;
        ++coloured;
        // Nothing clears a never-falling black or an invisible orb from above a coloured one.
        for (int above = row + 1; above < level.rows; ++above) {
            const auto it = board.find({column, above});
            if (it != board.end() && (it->second == '2' || it->second == 'I'))
                breaks.push_back("coloured orb at " + std::to_string(column) + "," + std::to_string(row) +
                                 " is buried");
        }
    }
    if (coloured == 0) breaks.push_back("no coloured orb: the level would be won at once");
    return breaks;
}

int ColourCount(const Level& level) {
    std::set<char> colours;
    for (const auto& [cell, ch] : Cells(level))
        if (std::string("RBGPY").find(ch) != std::string::npos) colours.insert(ch);
    return static_cast<int>(colours.size());
}

std::vector<std::filesystem::path> NumberedLevels() {
    std::vector<std::filesystem::path> files;
    for (int n = 1; std::filesystem::exists(content::LevelsDir() / ("level" + std::to_string(n) + ".dat")); ++n)
        files.push_back(content::LevelsDir() / ("level" + std::to_string(n) + ".dat"));
    return files;
}

TEST(LevelReader, EnforcesTheFileRules) {
    std::string error;
    EXPECT_TRUE(ParseLevel("300\r\n1\r\nmeadow\r\nYES\r\nRRB\r\n", true, error));
    EXPECT_FALSE(ParseLevel("300\r\n1\r\nmeadow\r\nYES\r\nRRB\n", true, error));
    EXPECT_FALSE(ParseLevel("abc\r\n1\r\nmeadow\r\nYES\r\nRRB\r\n", true, error));
    EXPECT_FALSE(ParseLevel("300\r\n1\r\n", true, error));
    const auto level = ParseLevel("300\r\n2\r\nnowhere\r\n yes \r\n.2...\r\n.RRRRRRRRRRRRRRRRRRRR\r\n", true, error);
    ASSERT_TRUE(level);
    EXPECT_TRUE(level->clouds);
    const auto breaks = RuleBreaks(*level);
    EXPECT_EQ(breaks.size(), 3u) << "missing background, too wide, and the orb under the fixed black";
}

TEST(Levels, AtLeastThirtyAreNumberedWithoutGapsAndNothingElseIsShipped) {
    const auto files = NumberedLevels();
    EXPECT_GE(static_cast<int>(files.size()), assets::kMinLevels);
    for (const auto& entry : std::filesystem::directory_iterator(content::LevelsDir())) {
        if (entry.path().extension() != ".dat") continue;
        const bool known = entry.path().filename() == "tutorial.dat" ||
                           std::find(files.begin(), files.end(), entry.path()) != files.end();
        EXPECT_TRUE(known) << entry.path().filename() << " is not a numbered level";
    }
}

TEST(Levels, EveryLevelFollowsTheRulesAndCanBeWon) {
    for (const auto& file : NumberedLevels()) {
        std::string error;
        const auto level = ParseLevel(content::ReadFile(file), true, error);
        ASSERT_TRUE(level) << file.filename() << ": " << error;
        for (const auto& why : RuleBreaks(*level)) ADD_FAILURE() << file.filename() << ": " << why;
    }
}

// The game's own reader must see each file exactly as the checks above do.
TEST(Levels, TheGameReadsEveryLevelAndTheTutorialAsWritten) {
    auto files = NumberedLevels();
    files.push_back(content::LevelsDir() / "tutorial.dat");
    for (const auto& file : files) {
        const bool tutorial = file.filename() == "tutorial.dat";
        std::string error;
        const auto expected = ParseLevel(content::ReadFile(file), !tutorial, error);
        ASSERT_TRUE(expected) << file.filename() << ": " << error;
        try {
            const LevelFile level = ReadLevelFile(file, !tutorial);
            EXPECT_EQ(level.riseInterval, expected->riseInterval) << file.filename();
            EXPECT_EQ(level.rowCount, expected->rows) << file.filename();
            EXPECT_EQ(level.picture, expected->background) << file.filename();
            EXPECT_EQ(level.cloudsOn, expected->clouds) << file.filename();
            // The reader keeps the rows that hold orbs, each with its row number.
            std::vector<std::pair<int32_t, std::string>> expectedRows;
            for (size_t i = 0; i < expected->orbRows.size(); ++i) {
                const std::string cells = expected->orbRows[i].substr(0, LevelLimits::MaxColumns);
                if (std::any_of(cells.begin(), cells.end(), IsOrbCharacter))
                    expectedRows.emplace_back(expected->rows - 1 - static_cast<int32_t>(i), cells);
            }
            std::vector<std::pair<int32_t, std::string>> readRows;
            for (const auto& row : level.orbRows) readRows.emplace_back(row.row, row.cells);
            EXPECT_EQ(readRows, expectedRows) << file.filename();
        } catch (const std::exception& e) {
            ADD_FAILURE() << file.filename() << " is refused by the game: " << e.what();
        }
    }
}

TEST(Levels, GetHarderFromFirstToLast) {
    std::vector<Level> levels;
    for (const auto& file : NumberedLevels()) {
        std::string error;
        levels.push_back(*ParseLevel(content::ReadFile(file), true, error));
    }
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
        std::string error;
        const auto level = ParseLevel(content::ReadFile(content::LevelsDir() / "tutorial.dat"), false, error);
        ASSERT_TRUE(level) << error;
        m_Level = *level;
        m_Board = Cells(m_Level);
    }
    int Top(int column) const {
        for (int row = m_Level.rows - 1; row >= 0; --row)
            if (m_Board.count({column, row})) return row;
        return -1;
    }
    char At(int column, int row) const {
        const auto it = m_Board.find({column, row});
        return it == m_Board.end() ? '.' : it->second;
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
    Level m_Level;
    Board m_Board;
};

TEST_F(TutorialBoard, FollowsTheLevelRulesWithoutACloudsLine) {
    for (const auto& why : RuleBreaks(m_Level)) ADD_FAILURE() << why;
    EXPECT_EQ(m_Level.background, "tutorial");
}

TEST_F(TutorialBoard, AnyBlueShotIntoColumnsZeroToFourBurns) {
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
    for (const auto& [cell, ch] : m_Board) kinds.insert(ch);
    EXPECT_TRUE(kinds.count('1') && kinds.count('2')) << "both kinds of black orb";
    bool emptyColumn = false;
    for (int column = 0; column < assets::kBoardColumns; ++column) emptyColumn |= Top(column) < 0;
    EXPECT_TRUE(emptyColumn);
}

}  // namespace
