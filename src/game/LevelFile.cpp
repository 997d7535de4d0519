#include "game/LevelFile.h"

#include <algorithm>
#include <cctype>
#include <cmath>
#include <limits>

#include "base/RuntimeError.h"
#include "game/LevelCells.h"
#include "gfx/GfxFile.h"

namespace {

constexpr int32_t kInputPastEnd = 62;

std::string Trim(const std::string& text) {
    const auto isBlank = [](char c) { return c == ' ' || c == '\t'; };
    size_t begin = 0;
    size_t end = text.size();
    while (begin < end && isBlank(text[begin])) ++begin;
    while (end > begin && isBlank(text[end - 1])) --end;
    return text.substr(begin, end - begin);
}

RuntimeError Corrupt() { return RuntimeError(ErrorNumber::TypeMismatch, "Type mismatch"); }

// Walks the bytes line by line; a line ends at CR LF, LF or a lone CR.
class LineReader {
public:
    explicit LineReader(const std::string& bytes) : m_Bytes(bytes) {}
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

LevelFile ParseLevelFile(const std::string& bytes, bool withCloudsLine) {
    if (bytes.size() > LevelLimits::MaxFileBytes) throw Corrupt();
    LineReader lines(bytes);
    LevelFile level;
    // Each header line is converted as soon as it is read, so a bad number comes before a short file.
    const auto header = [&lines]() {
        if (lines.AtEnd()) throw RuntimeError(kInputPastEnd, "Input past end of file");
        return lines.Next();
    };
    level.riseInterval = ParseLevelNumber(header());
    level.rowCount = ParseLevelNumber(header());
    // Only one of the game's pictures, never a path to anywhere else on the disk.
    level.picture = Trim(header());
    if (!IsPictureName(level.picture)) throw Corrupt();
    if (withCloudsLine) level.cloudsOn = ParseCloudsLine(header());

    int64_t row = static_cast<int64_t>(level.rowCount) - 1;
    int32_t orbs = 0;
    for (; !lines.AtEnd(); --row) {
        std::string cells = lines.Next(LevelLimits::MaxColumns);
        bool any = false;
        for (const char c : cells) {
            if (!IsOrbCharacter(c)) continue;
            any = true;
            if (++orbs > LevelLimits::MaxOrbs || row > LevelLimits::MaxAbsRow || row < -LevelLimits::MaxAbsRow)
                throw Corrupt();
        }
        if (any) level.orbRows.push_back({static_cast<int32_t>(row), std::move(cells)});
    }
    return level;
}
