#include "game/LevelFile.h"

#include <cctype>
#include <cmath>
#include <fstream>
#include <limits>
#include <system_error>

#include "shell/RuntimeError.h"

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

// Splits the bytes into lines at CR LF, LF or a lone CR.
std::vector<std::string> SplitLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::string line;
    for (size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (c == '\r' || c == '\n') {
            lines.push_back(std::move(line));
            line.clear();
            if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') ++i;
        } else {
            line.push_back(c);
        }
    }
    if (!line.empty()) lines.push_back(std::move(line));
    return lines;
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
    if (rounded < std::numeric_limits<int32_t>::min() || rounded > std::numeric_limits<int32_t>::max())
        throw Corrupt();
    return static_cast<int32_t>(rounded);
}

bool ParseCloudsLine(const std::string& text) {
    const std::string t = Trim(text);
    if (t.size() != 3) return false;
    return std::toupper(static_cast<unsigned char>(t[0])) == 'Y' &&
           std::toupper(static_cast<unsigned char>(t[1])) == 'E' &&
           std::toupper(static_cast<unsigned char>(t[2])) == 'S';
}

bool IsOrbCharacter(char c) {
    switch (c) {
        case 'R': case 'B': case 'G': case 'P': case 'Y': case '1': case '2':
        case 'A': case 'W': case 'X': case 'Z': case 'I': case 'U':
            return true;
        default:
            return false;
    }
}

LevelFile ReadLevelFile(const std::filesystem::path& path, bool withCloudsLine) {
    std::error_code ec;
    // Only a plain file: a folder, a device or a pipe of that name is no level and could block.
    if (!std::filesystem::is_regular_file(path, ec))
        throw RuntimeError(ErrorNumber::FileNotFound, "File not found");
    std::ifstream in(path, std::ios::binary);
    if (!in) throw RuntimeError(ErrorNumber::FileNotFound, "File not found");

    std::string bytes(LevelLimits::MaxFileBytes + 1, '\0');
    in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    bytes.resize(static_cast<size_t>(in.gcount()));
    if (in.bad()) throw RuntimeError(ErrorNumber::FileNotFound, "File not found");
    if (bytes.size() > LevelLimits::MaxFileBytes) throw Corrupt();

    const std::vector<std::string> lines = SplitLines(bytes);
    const size_t headerLines = withCloudsLine ? 4 : 3;
    LevelFile level;
    // Each header line is converted as soon as it is read, so a bad number comes before a short file.
    const auto header = [&](size_t index) -> const std::string& {
        if (index >= lines.size()) throw RuntimeError(kInputPastEnd, "Input past end of file");
        return lines[index];
    };
    level.riseInterval = ParseLevelNumber(header(0));
    level.rowCount = ParseLevelNumber(header(1));
    level.picture = header(2);
    if (withCloudsLine) level.cloudsOn = ParseCloudsLine(header(3));

    int64_t row = static_cast<int64_t>(level.rowCount) - 1;
    int32_t orbs = 0;
    for (size_t i = headerLines; i < lines.size(); ++i, --row) {
        std::string cells = lines[i].substr(0, LevelLimits::MaxColumns);
        for (const char c : cells) {
            if (!IsOrbCharacter(c)) continue;
            if (++orbs > LevelLimits::MaxOrbs || row > LevelLimits::MaxAbsRow || row < -LevelLimits::MaxAbsRow)
                throw Corrupt();
        }
        level.orbLines.push_back(std::move(cells));
    }
    return level;
}
