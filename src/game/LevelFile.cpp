// SPDX-License-Identifier: GPL-3.0-or-later
#include "game/LevelFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <cstdio>
#include <limits>
#include <optional>
#include <stdexcept>
#include <utility>

#include "base/RuntimeError.h"
#include "game/LevelCells.h"
#include "gfx/GfxFile.h"

namespace {

constexpr int32_t kInputPastEnd = 62;
// The board's width; the reader keeps two cells more, which still show on screen.
constexpr size_t kBoardColumns = 19;

std::string Trim(const std::string& text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

RuntimeError Corrupt() { return RuntimeError(ErrorNumber::TypeMismatch, "Type mismatch"); }

// Walks the bytes line by line; a line ends at CR LF, LF or a lone CR. The UTF-8 byte-order mark
// some editors (Notepad) put first is not part of line 1.
class LineReader {
public:
    explicit LineReader(const std::string& bytes) : m_Bytes(bytes) {
        if (m_Bytes.starts_with("\xEF\xBB\xBF")) m_Pos = 3;
    }
    bool AtEnd() const { return m_Pos >= m_Bytes.size(); }
    // The next line, of which only the first `keep` characters are returned.
    std::string Next(size_t keep = std::string::npos) {
        const size_t start = m_Pos;
        size_t end = m_Bytes.find_first_of("\r\n", start);
        if (end == std::string::npos) end = m_Bytes.size();
        m_Pos = end;
        if (m_Pos < m_Bytes.size()) {
            if (m_Bytes[m_Pos] == '\r' && m_Pos + 1 < m_Bytes.size() && m_Bytes[m_Pos + 1] == '\n') ++m_Pos;
            ++m_Pos;
        }
        return m_Bytes.substr(start, std::min(end - start, keep));
    }

private:
    const std::string& m_Bytes;
    size_t m_Pos = 0;
};

// Where the reader puts what it finds: the game's reader raises the first refusal, the checker's
// notes every finding and goes on.
class Findings {
public:
    explicit Findings(LevelProblems* problems) : m_Problems(problems) {}
    bool Tolerant() const { return m_Problems != nullptr; }
    // Something the game refuses the file for.
    void Refuse(int32_t line, int32_t column, std::string reason, int32_t number = ErrorNumber::TypeMismatch) {
        if (!m_Problems)
            throw RuntimeError(number, number == kInputPastEnd ? "Input past end of file" : "Type mismatch");
        // Past the cap still one refusal, so the findings never pass a file the game refuses.
        if (!m_Refused && m_Problems->size() >= MaxLevelProblems) m_Problems->pop_back();
        m_Refused = true;
        Note(line, column, true, std::move(reason));
    }
    void Note(int32_t line, int32_t column, bool error, std::string reason) {
        if (m_Problems && m_Problems->size() < MaxLevelProblems)
            m_Problems->push_back({line, column, error, std::move(reason)});
    }

private:
    LevelProblems* m_Problems;
    bool m_Refused = false;
};

// A piece of the file quoted in a finding: printable text in quotes, anything else by its code.
std::string Shown(const std::string& text) {
    if (text.size() > 24) return Shown(text.substr(0, 21)) + "...";
    const bool printable =
        std::all_of(text.begin(), text.end(), [](char c) { return std::isprint(static_cast<unsigned char>(c)); });
    if (printable) return "'" + text + "'";
    std::string codes;
    for (const char c : text) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "%s%02X", codes.empty() ? "" : " ", static_cast<unsigned char>(c));
        codes += hex;
    }
    return "the bytes " + codes;
}

bool IsNo(const std::string& text) {
    const std::string t = Trim(text);
    return t.size() == 2 && std::toupper(static_cast<unsigned char>(t[0])) == 'N' &&
           std::toupper(static_cast<unsigned char>(t[1])) == 'O';
}

// What the game reads as an empty cell but a level maker cannot have meant: anything but '.',
// a blank or a cell letter; and orbs past the board's side, out of the dragon's reach.
void NoteCells(Findings& findings, int32_t line, const std::string& cells) {
    for (size_t i = 0; i < cells.size(); ++i) {
        const char c = cells[i];
        if (c == '.' || c == ' ' || IsOrbCharacter(c)) continue;
        findings.Note(line, static_cast<int32_t>(i) + 1, true,
                      Shown(std::string(1, c)) + " is not a cell; use R B G P Y A 1 2 W X Z U I, or . for none");
    }
    if (cells.size() <= kBoardColumns) return;
    const auto isOrb = [](char c) { return IsOrbCharacter(c); };
    const auto past = std::find_if(cells.begin() + kBoardColumns, cells.end(), isOrb);
    if (past != cells.end())
        findings.Note(line, static_cast<int32_t>(past - cells.begin()) + 1, true,
                      "an orb past the board's 19 columns, off the screen and out of the dragon's reach");
    else if (cells.find('.', kBoardColumns) != std::string::npos)
        findings.Note(line, static_cast<int32_t>(kBoardColumns) + 1, false,
                      "this row is " + std::to_string(cells.size()) + " cells long; the board has 19");
}

}  // namespace

int32_t ParseLevelNumber(const std::string& text) {
    const std::string t = Trim(text);
    size_t i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == '+' || t[i] == '-')) negative = t[i++] == '-';
    const size_t digitsStart = i;
    // Leading zeros cannot overflow; count the value's digits only.
    while (i < t.size() && t[i] == '0') ++i;
    std::string whole;
    while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) whole.push_back(t[i++]);
    std::string fraction;
    bool hasPoint = false;
    if (i < t.size() && t[i] == '.') {
        hasPoint = true;
        ++i;
        while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) fraction.push_back(t[i++]);
    }
    const bool anyDigit = i > digitsStart + (hasPoint ? 1 : 0);
    if (i != t.size() || !anyDigit) throw Corrupt();
    if (whole.size() > 10) throw Corrupt();
    double value = whole.empty() ? 0.0 : std::stod(whole);
    if (!fraction.empty()) value += std::stod("0." + fraction.substr(0, 15));
    if (negative) value = -value;
    const double rounded = std::nearbyint(value);  // default rounding: ties to even
    if (rounded < std::numeric_limits<int32_t>::min() || rounded > std::numeric_limits<int32_t>::max()) throw Corrupt();
    return static_cast<int32_t>(rounded);
}

bool ParseCloudsLine(const std::string& text) {
    const std::string t = Trim(text);
    if (t.size() != 3) return false;
    return std::toupper(static_cast<unsigned char>(t[0])) == 'Y' &&
           std::toupper(static_cast<unsigned char>(t[1])) == 'E' &&
           std::toupper(static_cast<unsigned char>(t[2])) == 'S';
}

bool IsOrbCharacter(char c) { return FindLevelCell(c) != nullptr; }

bool IsPictureName(const std::string& name) {
    if (name.empty() || name.size() > LevelLimits::MaxPictureName) return false;
    return std::all_of(name.begin(), name.end(),
                       [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '-' || c == '_'; });
}

LevelFile ReadLevelFile(const std::filesystem::path& path, bool withCloudsLine) {
    // Only a plain file: a folder, a device or a pipe of that name is no level and could block.
    const auto file = GfxFile::ReadBounded(path, LevelLimits::MaxFileBytes);
    if (file.status != GfxFile::ReadStatus::Read) throw RuntimeError(ErrorNumber::FileNotFound, "File not found");
    if (file.truncated) throw Corrupt();
    return ParseLevelFile(file.bytes, withCloudsLine);
}

LevelFile ParseLevelFile(const std::string& bytes, bool withCloudsLine, LevelProblems* problems) {
    Findings findings(problems);
    LevelFile level;
    if (bytes.size() > LevelLimits::MaxFileBytes) {
        findings.Refuse(0, 0, "the file is over 1 MB; a level is a few hundred bytes");
        return level;
    }
    LineReader lines(bytes);
    const int32_t headerLines = withCloudsLine ? LevelHeaderLines : LevelHeaderLines - 1;
    int32_t line = 0;
    bool ended = false;
    // Each header line is converted as soon as it is read, so a bad number comes before a short file.
    const auto header = [&]() -> std::optional<std::string> {
        if (ended) return std::nullopt;
        ++line;
        if (!lines.AtEnd()) return lines.Next();
        ended = true;
        findings.Refuse(line, 0,
                        "the file ends before line " + std::to_string(line) + "; a level starts with " +
                            (withCloudsLine ? "four lines: rise interval, row count, background and clouds"
                                            : "three lines: rise interval, row count and background"),
                        kInputPastEnd);
        return std::nullopt;
    };
    const auto number = [&](const std::optional<std::string>& text, const char* meaning) -> std::optional<int32_t> {
        if (!text) return std::nullopt;
        try {
            return ParseLevelNumber(*text);
        } catch (const RuntimeError&) {
            findings.Refuse(line, 1,
                            Shown(Trim(*text)) + " is not a number; line " + std::to_string(line) + " is " + meaning);
            return std::nullopt;
        }
    };

    const auto rise = number(header(), "the rise interval in milliseconds");
    level.riseInterval = rise.value_or(0);
    const auto rowCount = number(header(), "the number of orb rows");
    level.rowCount = rowCount.value_or(0);
    // Only one of the game's pictures, never a path to anywhere else on the disk.
    if (const auto picture = header()) {
        level.picture = Trim(*picture);
        if (!IsPictureName(level.picture)) {
            findings.Refuse(line, 1,
                            level.picture.empty()
                                ? "line 3 names no background picture"
                                : Shown(level.picture) + " is not a picture name; use letters, digits, - and _ only");
            level.picture.clear();
        }
    }
    if (withCloudsLine) {
        if (const auto clouds = header()) {
            level.cloudsOn = ParseCloudsLine(*clouds);
            if (!level.cloudsOn && !IsNo(*clouds))
                findings.Note(line, 1, false,
                              Shown(Trim(*clouds)) + " is neither YES nor NO; anything but YES hides the clouds");
        }
    }
    if (ended) return level;

    // Rows are numbered once all are read: a reader that could not read the row count places
    // them as the lines stand.
    level.firstRowLine = headerLines + 1;
    std::vector<std::pair<int32_t, std::string>> withOrbs;  // line index from the first orb line, cells
    int32_t orbs = 0;
    for (int32_t index = 0; !lines.AtEnd(); ++index) {
        std::string cells = lines.Next(findings.Tolerant() ? std::string::npos : LevelLimits::MaxColumns);
        if (findings.Tolerant()) NoteCells(findings, level.firstRowLine + index, cells);
        if (cells.find_first_not_of(" \t") != std::string::npos) level.rowLines = index + 1;
        if (cells.size() > static_cast<size_t>(LevelLimits::MaxColumns)) cells.resize(LevelLimits::MaxColumns);
        const auto count = static_cast<int32_t>(std::count_if(cells.begin(), cells.end(), IsOrbCharacter));
        if (count == 0) continue;
        if ((orbs += count) > LevelLimits::MaxOrbs) {
            findings.Refuse(level.firstRowLine + index, 0, "more than 2000 orbs; the board holds 380");
            break;
        }
        withOrbs.emplace_back(index, std::move(cells));
    }
    if (!rowCount) level.rowCount = level.rowLines;
    for (auto& [index, cells] : withOrbs) {
        const int64_t row = static_cast<int64_t>(level.rowCount) - 1 - index;
        if (row > LevelLimits::MaxAbsRow || row < -LevelLimits::MaxAbsRow) {
            findings.Refuse(level.firstRowLine + index, 0, "this row lies far outside the board");
            continue;
        }
        level.orbRows.push_back({static_cast<int32_t>(row), std::move(cells)});
    }
    return level;
}

std::string WriteLevelFile(const LevelFile& level, bool withCloudsLine) {
    if (!IsPictureName(level.picture)) throw std::invalid_argument("not a picture name: " + level.picture);
    if (level.rowCount < 0 || level.rowCount > LevelLimits::MaxAbsRow)
        throw std::invalid_argument("row count out of range: " + std::to_string(level.rowCount));
    std::string text =
        std::to_string(level.riseInterval) + "\r\n" + std::to_string(level.rowCount) + "\r\n" + level.picture + "\r\n";
    if (withCloudsLine) text += level.cloudsOn ? "YES\r\n" : "NO\r\n";
    std::vector<std::string> rows(static_cast<size_t>(level.rowCount), std::string(kBoardColumns, '.'));
    for (const LevelFile::OrbRow& line : level.orbRows) {
        if (line.row < 0 || line.row >= level.rowCount) continue;
        std::string& out = rows[static_cast<size_t>(level.rowCount - 1 - line.row)];
        if (out.size() < line.cells.size()) out.resize(line.cells.size(), '.');
        for (size_t i = 0; i < line.cells.size(); ++i) out[i] = IsOrbCharacter(line.cells[i]) ? line.cells[i] : '.';
    }
    for (const std::string& row : rows) text += row + "\r\n";
    return text;
}
