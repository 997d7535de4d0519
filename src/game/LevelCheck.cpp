// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/LevelCheck.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>
#include <map>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "game/LevelCells.h"
#include "game/PlayGeometry.h"
#include "game/cOrb.h"
#include "gfx/GfxFile.h"
#include "shell/AssetTable.h"

namespace {

using PlayGeometry::Columns;
using PlayGeometry::Rows;

bool IsShipped(const std::string& name) {
    return std::find(assets::kBackgrounds.begin(), assets::kBackgrounds.end(), name) != assets::kBackgrounds.end();
}
// The game's pictures other than backgrounds: an override may replace them, but no level shows them.
bool IsOtherPicture(const std::string& name) {
    return std::find(assets::kPictures.begin(), assets::kPictures.end(), name + ".png") != assets::kPictures.end();
}

struct Placed {
    char letter;
    int32_t line, column;  // where the file gives it
};
// One board column, row to orb; rows may lie below or above the board as the file puts them.
using Column = std::map<int32_t, Placed>;
using Board = std::array<Column, LevelLimits::MaxColumns>;

// A cell letter that creates a coloured orb (one of random colour included).
bool IsColouredLetter(char c) {
    const LevelCell* cell = FindLevelCell(c);
    return cell && (cell->orbType == 0 || OrbKind::IsColoured(cell->orbType));
}
// Only a fireball (or a rare triple of their own kind) removes these.
bool IsHardLetter(char c) {
    const LevelCell* cell = FindLevelCell(c);
    return cell && (cell->orbType == OrbKind::BlackFalling || cell->orbType == OrbKind::BlackFixed ||
                    cell->orbType == OrbKind::Invisible);
}

std::string ColourName(char c) {
    switch (c) {
        case 'R':
            return "red";
        case 'B':
            return "blue";
        case 'G':
            return "green";
        case 'P':
            return "purple";
        case 'Y':
            return "yellow";
        default:
            return "random-coloured";
    }
}

std::string Seconds(int64_t ms) {
    char text[32];
    std::snprintf(text, sizeof text, "%.1f s", static_cast<double>(ms) / 1000.0);
    return text;
}

std::string RowsText(int32_t n) { return std::to_string(n) + (n == 1 ? " row" : " rows"); }

// True when the reader found nothing wrong on this line, so its value means what it says.
bool Clean(const LevelProblems& problems, int32_t line) {
    return std::none_of(problems.begin(), problems.end(), [line](const LevelProblem& p) { return p.line == line; });
}

void Add(LevelProblems& problems, int32_t line, int32_t column, bool error, std::string reason) {
    if (problems.size() < MaxLevelProblems) problems.push_back({line, column, error, std::move(reason)});
}

void CheckHeader(const LevelFile& level, const PictureExists& pictureExists, LevelProblems& problems) {
    using namespace LevelCheckLimits;
    if (Clean(problems, 1) && (level.riseInterval < MinRiseInterval || level.riseInterval > MaxRiseInterval))
        Add(problems, 1, 1, true,
            "a rise interval of " + std::to_string(level.riseInterval) + " ms is out of range; use " +
                std::to_string(MinRiseInterval) + " to " + std::to_string(MaxRiseInterval));
    if (Clean(problems, 2)) {
        const int32_t n = level.rowCount;
        if (n < 0)
            Add(problems, 2, 1, true, "the row count cannot be negative");
        else if (n > Rows)
            Add(problems, 2, 1, true, RowsText(n) + "; the board holds " + std::to_string(Rows));
        // Only once the header is whole: a file that ends inside it has no rows to count.
        if (n >= 0 && level.firstRowLine > 0 && n != level.rowLines) {
            const int32_t off = std::abs(n - level.rowLines);
            Add(problems, 2, 1, true,
                "line 2 says " + RowsText(n) + " but " + std::to_string(level.rowLines) + " follow; " +
                    (n > level.rowLines ? "the orbs stand " + RowsText(off) + " higher than drawn"
                                        : "the last " + RowsText(off) + " lie below the board"));
        }
    }
    if (Clean(problems, 3) && !level.picture.empty() && !pictureExists(level.picture))
        Add(problems, 3, 1, true, "there is no background picture '" + level.picture + "' in the game");
}

Board PlaceOrbs(const LevelFile& level) {
    Board board;
    for (const LevelFile::OrbRow& line : level.orbRows)
        for (size_t c = 0; c < line.cells.size(); ++c)
            if (IsOrbCharacter(line.cells[c]))
                board[c][line.row] = {line.cells[c], level.LineOf(line.row), static_cast<int32_t>(c) + 1};
    return board;
}

// The board once the orbs with nothing under them have fallen: every orb but a never-falling
// black one drops onto the orb below it, or onto the bottom row; rows at or under it never fall.
Board Settle(const Board& start, LevelProblems& problems) {
    Board settled;
    for (size_t c = 0; c < start.size(); ++c) {
        int64_t top = -1;  // the highest settled row so far
        bool any = false;
        for (const auto& [row, orb] : start[c]) {
            int32_t at = row;
            if (row >= 1 && FindLevelCell(orb.letter)->orbType != OrbKind::BlackFixed) {
                if (!start[c].count(row - 1))
                    Add(problems, orb.line, orb.column, false, "nothing holds this orb up; it falls when play starts");
                at = static_cast<int32_t>(std::max<int64_t>(any ? top + 1 : 0, 0));
            }
            settled[c][at] = orb;
            top = at;
            any = true;
        }
    }
    return settled;
}

void CheckStacks(const LevelFile& level, const Board& board, LevelProblems& problems) {
    for (size_t c = 0; c < board.size(); ++c) {
        if (board[c].empty()) continue;
        const auto& [row, orb] = *board[c].rbegin();
        // An orb above the dragon's underside where it starts loses the level, and the dragon cannot
        // fly over a stack that tall again. Off the board's side only the screen's top counts.
        const bool underDragon = c < static_cast<size_t>(Columns);
        const int64_t limit = underDragon ? PlayGeometry::StartUnderside : PlayGeometry::TopLine;
        const int64_t y = PlayGeometry::Bottom - static_cast<int64_t>(PlayGeometry::Cell) * row;
        const std::string reached = underDragon ? "the dragon" : "the top of the screen";
        if (y < limit) {
            Add(problems, orb.line, orb.column, true,
                "this stack already reaches " + reached + "; the level is lost at once");
            continue;
        }
        if (level.riseInterval < LevelCheckLimits::MinRiseInterval) continue;
        const int64_t ms = (y - limit + 1) * level.riseInterval;
        if (ms < LevelCheckLimits::MinReactionMs)
            Add(problems, orb.line, orb.column, true,
                "this stack reaches " + reached + " after " + Seconds(ms) +
                    "; the level is lost before the player can act");
    }
}

// Coloured orbs nothing can burn. Shots land on the top of a column the dragon flies over and
// fireballs dig any such column down, so a cell of one that holds an orb can take any colour;
// an orb burns when its group of one colour touches such a cell. Never-falling blacks, falling
// blacks and invisible orbs give way only to fireballs, so cells under them need one.
void CheckWalls(const Board& board, LevelProblems& problems, bool& anyColoured) {
    std::array<bool, Columns> playable{};
    std::array<int32_t, Columns> openFrom{};  // lowest row a shot reaches without a fireball
    for (int32_t c = 0; c < Columns; ++c) {
        openFrom[c] = 0;
        for (const auto& [row, orb] : board[c]) {
            if (row >= 0 && row < Rows) playable[c] = true;
            if (IsHardLetter(orb.letter)) openFrom[c] = std::max(openFrom[c], row + 1);
        }
    }
    const auto reachable = [&](int32_t c, int32_t row, bool withFireballs) {
        return c >= 0 && c < Columns && playable[c] && row >= (withFireballs ? 0 : openFrom[c]) && row < Rows;
    };
    const auto at = [&](int32_t c, int32_t row) -> const Placed* {
        if (c < 0 || c >= static_cast<int32_t>(board.size())) return nullptr;
        const auto it = board[c].find(row);
        return it == board[c].end() ? nullptr : &it->second;
    };

    std::map<std::pair<int32_t, int32_t>, bool> seen;
    for (int32_t c = 0; c < static_cast<int32_t>(board.size()); ++c) {
        for (const auto& [row, orb] : board[c]) {
            if (!IsColouredLetter(orb.letter) || seen.count({c, row})) continue;
            anyColoured = true;
            // The orb's group: joined through the four neighbours; a random orb may join any colour.
            std::vector<std::pair<int32_t, int32_t>> group{{c, row}}, todo{{c, row}};
            seen[{c, row}] = true;
            bool burnable = false, withoutFireball = false;
            const Placed* first = &orb;
            while (!todo.empty()) {
                const auto [x, y] = todo.back();
                todo.pop_back();
                const Placed* here = at(x, y);
                if (std::make_pair(here->line, here->column) < std::make_pair(first->line, first->column)) first = here;
                const std::pair<int32_t, int32_t> around[] = {{x, y}, {x + 1, y}, {x - 1, y}, {x, y + 1}, {x, y - 1}};
                for (const auto& [nx, ny] : around) {
                    burnable |= reachable(nx, ny, true);
                    withoutFireball |= reachable(nx, ny, false);
                    const Placed* next = at(nx, ny);
                    if (!next || !IsColouredLetter(next->letter) || seen.count({nx, ny})) continue;
                    if (next->letter != here->letter && next->letter != 'A' && here->letter != 'A') continue;
                    seen[{nx, ny}] = true;
                    group.emplace_back(nx, ny);
                    todo.emplace_back(nx, ny);
                }
            }
            const std::string what = group.size() == 1 ? "this " + ColourName(orb.letter) + " orb is"
                                                       : "these " + std::to_string(group.size()) + " orbs are";
            if (!burnable)
                Add(problems, first->line, first->column, true,
                    what + " walled in; no shot can ever land beside " + (group.size() == 1 ? "it" : "them") +
                        ", so the level cannot be won");
            else if (!withoutFireball)
                Add(problems, first->line, first->column, false,
                    what + " buried under black or invisible orbs; only a fireball can free " +
                        (group.size() == 1 ? "it" : "them"));
        }
    }
}

}  // namespace

LevelProblems CheckLevel(const std::string& bytes, bool withCloudsLine, const PictureExists& pictureExists) {
    LevelProblems problems;
    const LevelFile level = ParseLevelFile(bytes, withCloudsLine, &problems);
    CheckHeader(level, pictureExists, problems);
    if (level.firstRowLine > 0) {
        const Board board = Settle(PlaceOrbs(level), problems);
        CheckStacks(level, board, problems);
        bool anyColoured = false;
        CheckWalls(board, problems, anyColoured);
        if (!anyColoured) Add(problems, 0, 0, false, "there is no coloured orb; the level is won as soon as it starts");
    }
    std::stable_sort(problems.begin(), problems.end(), [](const LevelProblem& a, const LevelProblem& b) {
        return std::make_pair(a.line, a.column) < std::make_pair(b.line, b.column);
    });
    return problems;
}

LevelProblems CheckLevelFile(const std::filesystem::path& path, bool withCloudsLine,
                             const PictureExists& pictureExists) {
    const auto file = GfxFile::ReadBounded(path, LevelLimits::MaxFileBytes);
    if (file.status != GfxFile::ReadStatus::Read)
        return {{0, 0, true, "cannot be read: " + GfxFile::Explain(file.error)}};
    if (file.truncated) return {{0, 0, true, "the file is over 1 MB; a level is a few hundred bytes"}};
    return CheckLevel(file.bytes, withCloudsLine, pictureExists);
}

std::vector<std::string> GameBackgrounds(const std::filesystem::path& gameFolder) {
    std::vector<std::string> names(assets::kBackgrounds.begin(), assets::kBackgrounds.end());
    std::vector<std::string> own;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(gameFolder / "game" / "override", ec), end; !ec && it != end;
         it.increment(ec)) {
        const std::string name = it->path().stem().string();
        if (it->path().extension() == ".png" && IsPictureName(name) && !IsShipped(name) && !IsOtherPicture(name))
            own.push_back(name);
    }
    std::sort(own.begin(), own.end());
    names.insert(names.end(), own.begin(), own.end());
    return names;
}

PictureExists GamePictures(const std::filesystem::path& gameFolder) {
    return [gameFolder](const std::string& name) {
        if (IsShipped(name)) return true;
        std::error_code ec;
        return !IsOtherPicture(name) &&
               std::filesystem::is_regular_file(gameFolder / "game" / "override" / (name + ".png"), ec);
    };
}

bool HasErrors(const LevelProblems& problems) {
    return std::any_of(problems.begin(), problems.end(), [](const LevelProblem& p) { return p.error; });
}

std::string FormatProblem(const std::string& file, const LevelProblem& problem) {
    std::string where = file;
    if (problem.line > 0) where += ":" + std::to_string(problem.line);
    if (problem.line > 0 && problem.column > 0) where += ":" + std::to_string(problem.column);
    return where + ": " + (problem.error ? "error: " : "warning: ") + problem.reason;
}
