// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/LevelGenerator.h"

#include <algorithm>
#include <array>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "game/PlayGeometry.h"
#include "game/cOrb.h"
#include "gfx/Gfx.h"

namespace {

using PlayGeometry::Columns;
// Columns c and Columns - 1 - c mirror each other about the middle column.
constexpr int32_t kMiddle = Columns / 2;
// The silhouette, and a bonus orb or a shelf's load on top of it.
constexpr int32_t kMaxRows = 8;
constexpr char kEmpty = '.';
// In the order the shipped levels bring them in.
constexpr std::array<char, 5> kColours = {'R', 'B', 'G', 'Y', 'P'};

struct World {
    std::string_view picture;
    bool clouds;
};
// The shipped levels' worlds in their order, with their clouds.
constexpr std::array<World, 7> kWorlds = {{{"meadow", true},
                                           {"forest", false},
                                           {"sunset", true},
                                           {"ice", true},
                                           {"night", true},
                                           {"cave", false},
                                           {"volcano", false}}};
constexpr int32_t kBoardsPerWorld = 5;

// A fixed-width integer mixer (splitmix64's finaliser): neighbouring keys give unrelated seeds.
uint64_t Mix(uint64_t x) {
    x += 0x9e3779b97f4a7c15ULL;
    x = (x ^ (x >> 30)) * 0xbf58476d1ce4e5b9ULL;
    x = (x ^ (x >> 27)) * 0x94d049bb133111ebULL;
    return x ^ (x >> 31);
}

// The library's generator in an instance of its own, keyed by seed, board and attempt: the same
// draws on every machine, and none taken from the game's own stream.
class Stream {
public:
    Stream(uint32_t seed, int32_t board, int32_t attempt) {
        const uint64_t key =
            Mix(Mix(Mix(seed) ^ static_cast<uint32_t>(board)) ^ static_cast<uint64_t>(static_cast<uint32_t>(attempt)));
        m_Random.SeedRandom(static_cast<int32_t>(static_cast<uint32_t>(key >> 32)));
    }
    int32_t Range(int32_t low, int32_t high) { return m_Random.RandomRange(low, high); }
    bool OneIn(int32_t n) { return Range(1, n) == 1; }

private:
    GfxUtility m_Random;
};

using Heights = std::array<int32_t, Columns>;

// Distance from the board's edge, 0 to kMiddle: the left half decides and the right repeats it.
int32_t FromEdge(int32_t column) { return std::min(column, Columns - 1 - column); }

template <typename Rule>
Heights Mirrored(Rule rule) {
    Heights heights{};
    for (int32_t c = 0; c < Columns; ++c) heights[c] = std::max(0, rule(FromEdge(c)));
    return heights;
}

// One, two or three mounds, steep or gentle, pointed or flat-topped.
Heights Mounds(Stream& s, int32_t rows) {
    const int32_t slope = s.Range(1, 2), top = s.Range(0, 2), kind = s.Range(0, 2);
    const int32_t twin = s.Range(2, 6);
    const auto mound = [&](int32_t i, int32_t at, int32_t height) {
        return height - std::max(0, std::abs(i - at) - top) / slope;
    };
    return Mirrored([&](int32_t i) {
        int32_t h = 0;
        if (kind != 1) h = std::max(h, mound(i, kMiddle, rows));
        if (kind != 0) h = std::max(h, mound(i, twin, kind == 2 ? rows - 1 : rows));
        return h;
    });
}

// Towers two or three wide with gaps between, all of a height or climbing to the middle or the edges.
Heights Towers(Stream& s, int32_t rows) {
    const int32_t width = s.Range(2, 3), gap = s.Range(1, 2), offset = s.Range(0, width + gap - 1);
    const int32_t profile = s.Range(0, 2);
    const int32_t period = width + gap, last = (kMiddle + offset) / period;
    return Mirrored([&](int32_t i) {
        if ((i + offset) % period >= width) return 0;
        const int32_t tower = (i + offset) / period;  // counted from the edge
        if (profile == 1) return rows - (last - tower);
        if (profile == 2) return rows - tower;
        return rows;
    });
}

// Walls at the edges falling to an open middle.
Heights Valley(Stream& s, int32_t rows) {
    const int32_t open = s.Range(0, 2), slope = s.Range(1, 2);
    return Mirrored([&](int32_t i) {
        const int32_t fromMiddle = kMiddle - i;
        return fromMiddle <= open ? 0 : std::min(rows, 1 + (fromMiddle - open - 1) / slope);
    });
}

// Blocks three to five wide with one-column gaps, level or stepped.
Heights Terraces(Stream& s, int32_t rows) {
    const int32_t width = s.Range(3, 5), profile = s.Range(0, 2);
    const int32_t last = kMiddle / (width + 1);
    return Mirrored([&](int32_t i) {
        if (i % (width + 1) == width) return 0;
        const int32_t block = i / (width + 1);
        if (profile == 1) return rows - (last - block);
        if (profile == 2) return rows - block;
        return rows;
    });
}

int32_t Count(const Heights& heights) {
    int32_t n = 0;
    for (const int32_t h : heights) n += h;
    return n;
}

// Of a few silhouettes the one nearest the wanted number of orbs; every one keeps a column free to
// throw unwanted orbs into.
Heights Silhouette(Stream& s, const BoardDifficulty& difficulty) {
    Heights best{};
    int32_t bestOff = -1;
    for (int32_t tries = 0; tries < 8; ++tries) {
        const int32_t rows = difficulty.rows - (s.OneIn(3) ? 1 : 0);
        Heights heights;
        switch (s.Range(0, 3)) {
            case 0:
                heights = Mounds(s, rows);
                break;
            case 1:
                heights = Towers(s, rows);
                break;
            case 2:
                heights = Valley(s, rows);
                break;
            default:
                heights = Terraces(s, rows);
                break;
        }
        if (std::none_of(heights.begin(), heights.end(), [](int32_t h) { return h == 0; })) {
            const int32_t free = s.OneIn(2) ? 0 : kMiddle;
            heights[free] = heights[Columns - 1 - free] = 0;
        }
        // A column standing alone can only grow under shots of the wrong colour, and many columns at
        // full height leave the player no time to bring them all down.
        int32_t alone = 0;
        for (int32_t c = 0; c < Columns; ++c)
            alone += heights[c] > 0 && (c == 0 || heights[c - 1] == 0) && (c == Columns - 1 || heights[c + 1] == 0);
        const auto tall =
            std::count_if(heights.begin(), heights.end(), [&](int32_t h) { return h >= difficulty.rows - 1; });
        const int32_t off =
            std::abs(Count(heights) - difficulty.orbs) + 3 * std::max<int32_t>(0, tall - 8) + 20 * alone;
        if (bestOff < 0 || off < bestOff) {
            best = heights;
            bestOff = off;
        }
    }
    return best;
}

class Board {
public:
    explicit Board(const Heights& heights) : m_Heights(heights) {
        for (auto& column : m_Cells) column.fill(kEmpty);
    }
    char& At(int32_t column, int32_t row) { return m_Cells[column][row]; }
    int32_t Height(int32_t column) const { return m_Heights[column]; }
    // The row above the column's top orb.
    int32_t Top(int32_t column) const {
        int32_t top = 0;
        for (int32_t r = 0; r < kMaxRows; ++r)
            if (m_Cells[column][r] != kEmpty) top = r + 1;
        return top;
    }
    // Sets the cell and its mirror image.
    void SetPair(int32_t column, int32_t row, char cell) {
        m_Cells[column][row] = cell;
        m_Cells[Columns - 1 - column][row] = cell;
    }

    LevelFile Level(const BoardDifficulty& difficulty, const World& world) const {
        LevelFile level;
        level.riseInterval = difficulty.riseInterval;
        level.picture = world.picture;
        level.cloudsOn = world.clouds;
        for (int32_t c = 0; c < Columns; ++c) level.rowCount = std::max(level.rowCount, Top(c));
        for (int32_t r = level.rowCount - 1; r >= 0; --r) {
            std::string cells;
            for (int32_t c = 0; c < Columns; ++c) cells += m_Cells[c][r];
            level.orbRows.push_back({r, cells});
        }
        return level;
    }

private:
    Heights m_Heights;
    std::array<std::array<char, kMaxRows>, Columns> m_Cells;
};

// Colours by a pattern over the left half and its mirror image; the right half may take the
// palette turned by one, a mirror in shape with the colours moved on.
void Colour(Stream& s, const BoardDifficulty& difficulty, Board& board) {
    std::vector<char> palette(kColours.begin(), kColours.begin() + difficulty.colours);
    for (size_t i = palette.size() - 1; i > 0; --i)
        std::swap(palette[i], palette[static_cast<size_t>(s.Range(0, static_cast<int32_t>(i)))]);
    const int32_t k = difficulty.colours;
    // Two by two blocks or stripes of three (one shot burns four), or pairs side by side or one
    // above the other.
    const int32_t pattern = (s.Range(0, 99) < difficulty.bigGroupsPercent ? 0 : 2) + s.Range(0, 1);
    const int32_t phase = s.Range(0, k - 1);
    const bool turned = s.OneIn(2);
    for (int32_t c = 0; c < Columns; ++c) {
        const int32_t i = FromEdge(c);
        for (int32_t r = 0; r < board.Height(c); ++r) {
            int32_t f = 0;
            switch (pattern) {
                case 0:
                    f = i / 2 + r / 2;
                    break;
                case 1:
                    f = r + i / 3;
                    break;
                case 2:
                    f = i / 2 + r;
                    break;
                default:
                    f = i + r / 2;
                    break;
            }
            if (turned && c > kMiddle) ++f;
            board.At(c, r) = palette[static_cast<size_t>((f + phase) % k)];
        }
    }
}

// Columns of the left half (the middle included) by a wish, tallest first, ties in a drawn order.
std::vector<int32_t> TallestColumns(Stream& s, const Board& board) {
    std::vector<int32_t> columns;
    for (int32_t c = 0; c <= kMiddle; ++c)
        if (board.Height(c) > 0) columns.push_back(c);
    for (size_t i = columns.size(); i > 1; --i)
        std::swap(columns[i - 1], columns[static_cast<size_t>(s.Range(0, static_cast<int32_t>(i) - 1))]);
    std::stable_sort(columns.begin(), columns.end(),
                     [&](int32_t a, int32_t b) { return board.Height(a) > board.Height(b); });
    return columns;
}

// Floating black shelves three wide, their load above them and nothing below.
void AddShelves(Stream& s, int32_t count, Board& board) {
    for (int32_t placed = 0, tries = 0; placed < count && tries < 20; ++tries) {
        const int32_t c = s.Range(0, kMiddle - 3);
        if (board.Height(c) < 3 || board.Height(c + 1) < 3 || board.Height(c + 2) < 3) continue;
        if (board.At(c, 0) == kEmpty || board.At(c, 1) == '2' || board.At(c, 2) == '2') continue;
        const int32_t row = s.Range(1, 2);
        for (int32_t x = c; x < c + 3; ++x) {
            for (int32_t r = 0; r < row; ++r) board.SetPair(x, r, kEmpty);
            board.SetPair(x, row, '2');
        }
        ++placed;
    }
}

// Invisible supports: the foot of a middling stack holds it up unseen (under the tallest they would
// keep the stacks nearest the dragon from ever coming down).
void AddInvisibles(Stream& s, int32_t count, Board& board) {
    std::vector<int32_t> columns = TallestColumns(s, board);
    std::reverse(columns.begin(), columns.end());
    int32_t placed = 0;
    for (const int32_t c : columns) {
        if (placed == count) break;
        if (board.Height(c) < 3 || board.At(c, 0) == kEmpty || board.At(c, 0) == '2') continue;
        board.SetPair(c, 0, 'I');
        if (board.Height(c) > 3) board.SetPair(c, 1, 'I');
        ++placed;
    }
}

// Falling black orbs at the feet of stacks that stand beside a gap or the board's edge.
void AddFallingBlacks(Stream& s, int32_t count, Board& board) {
    std::vector<int32_t> edges;
    for (int32_t c = 0; c <= kMiddle; ++c) {
        const bool besideGap = c == 0 || board.Height(c - 1) == 0 || board.Height(c + 1) == 0;
        if (board.Height(c) >= 2 && besideGap && std::string_view("RBGYP").find(board.At(c, 0)) != std::string::npos)
            edges.push_back(c);
    }
    for (int32_t placed = 0; placed < count && !edges.empty(); ++placed) {
        const auto at = static_cast<size_t>(s.Range(0, static_cast<int32_t>(edges.size()) - 1));
        board.SetPair(edges[at], 0, '1');
        edges.erase(edges.begin() + static_cast<std::ptrdiff_t>(at));
    }
}

// Orbs of a colour drawn at random cap the tallest columns.
void AddRandomOrbs(Stream& s, int32_t count, Board& board) {
    int32_t placed = 0;
    for (const int32_t c : TallestColumns(s, board)) {
        if (placed == count) break;
        const int32_t top = board.Top(c) - 1;
        if (top < 0 || std::string_view("RBGYP").find(board.At(c, top)) == std::string::npos) continue;
        board.SetPair(c, top, 'A');
        ++placed;
    }
}

// White orbs on the peaks, each holding a bonus of a kind drawn from those in play.
void AddWhites(Stream& s, const BoardDifficulty& d, Board& board) {
    int32_t placed = 0;
    for (const int32_t c : TallestColumns(s, board)) {
        if (placed == d.whites || d.whiteKinds.empty()) break;
        const int32_t top = board.Top(c);
        // Peaks only; on a stack of full height it takes the top orb's place.
        const int32_t row = top >= d.rows ? top - 1 : top;
        if ((c > 0 && board.Top(c - 1) > top) || (c < kMiddle && board.Top(c + 1) > top)) continue;
        // Never two whites side by side.
        if ((c > 0 && std::string_view("WXZU").find(board.At(c - 1, row)) != std::string_view::npos) ||
            std::string_view("WXZU").find(board.At(c + 1, row)) != std::string_view::npos)
            continue;
        board.SetPair(c, row,
                      d.whiteKinds[static_cast<size_t>(s.Range(0, static_cast<int32_t>(d.whiteKinds.size()) - 1))]);
        ++placed;
    }
}

// The rise interval from each of these boards on, measured with bench/endless.cpp: slow for the
// first small boards, then quicker in long steps. A stack moves on the first frame after its
// interval has passed, so intervals within a 60 Hz frame of each other play alike; these lie
// between the frames' steps.
struct RiseFrom {
    int32_t board, interval;
};
constexpr std::array<RiseFrom, 10> kRise = {
    {{1, 560}, {2, 400}, {3, 320}, {4, 260}, {5, 230}, {6, 220}, {19, 200}, {23, 185}, {25, 170}, {31, 155}}};
static_assert(kRise.front().board == 1);

int32_t RiseInterval(int32_t board) {
    int32_t interval = kRise.front().interval;
    for (const RiseFrom& from : kRise)
        if (board >= from.board) interval = from.interval;
    return interval;
}

}  // namespace

BoardDifficulty DifficultyOf(int32_t board) {
    const int32_t n = std::clamp(board, 1, EndlessBoards::MaxBoard);
    const int32_t x = std::min(n, EndlessBoards::HardestBoard) - 1;
    BoardDifficulty d;
    d.riseInterval = RiseInterval(n);
    d.colours = n < 5 ? 3 : n < 11 ? 4 : 5;
    d.rows = n < 2 ? 3 : n < 4 ? 4 : n < 8 ? 5 : 6;
    d.orbs = std::min(24 + 3 * x, 66);
    d.bigGroupsPercent = std::max(0, 70 - 3 * x);
    // Each kind from the board the shipped levels bring it in at.
    d.whites = n >= 14 ? 2 : n >= 6 ? 1 : 0;
    d.whiteKinds = std::string_view("WXZU").substr(0, n >= 21 ? 4 : n >= 13 ? 3 : n >= 8 ? 2 : n >= 6 ? 1 : 0);
    d.fallingBlacks = n >= 9 ? 1 + (n >= 20) : 0;
    d.shelves = n >= 12 ? 1 : 0;
    d.invisibles = n >= 16 ? 1 : 0;
    d.randomOrbs = n >= 19 ? 2 : 0;
    return d;
}

LevelFile DesignBoard(uint32_t seed, int32_t board, int32_t attempt, const BoardDifficulty& difficulty) {
    Stream s(seed, board, attempt);
    Board design(Silhouette(s, difficulty));
    Colour(s, difficulty, design);
    AddShelves(s, difficulty.shelves, design);
    AddInvisibles(s, difficulty.invisibles, design);
    AddFallingBlacks(s, difficulty.fallingBlacks, design);
    AddRandomOrbs(s, difficulty.randomOrbs, design);
    AddWhites(s, difficulty, design);
    const int32_t world = ((std::max(board, 1) - 1) / kBoardsPerWorld) % static_cast<int32_t>(kWorlds.size());
    return design.Level(difficulty, kWorlds[static_cast<size_t>(world)]);
}
