// SPDX-License-Identifier: GPL-3.0-or-later
// The random generator, colours, the full-screen cursor switch, file checks and the high-score
// table with its file.
#include <SDL.h>
#include <unistd.h>

#include <algorithm>
#include <charconv>
#include <optional>
#include <stdexcept>
#include <string_view>
#include <vector>

#include "gfx/Gfx.h"
#include "gfx/GfxFile.h"
#include "gfx/GfxImpl.h"

// The shipped default table (data/scores.dat), built into the library: a fresh install's table
// and what stands in for the entries of a damaged file.
std::string_view DefaultScores();

namespace {
// PCG32 (XSH RR): small, fast and the same on every platform.
constexpr uint64_t PcgMultiplier = 6364136223846793005ULL;
constexpr uint64_t PcgIncrement = 1442695040888963407ULL;

uint32_t NextRandom(uint64_t& state) {
    const uint64_t old = state;
    state = old * PcgMultiplier + PcgIncrement;
    const auto xorshifted = static_cast<uint32_t>(((old >> 18u) ^ old) >> 27u);
    const auto rot = static_cast<uint32_t>(old >> 59u);
    return (xorshifted >> rot) | (xorshifted << ((32u - rot) & 31u));
}

constexpr const char* ScoreHeader = "KWSCORES 1";
constexpr size_t ScoreEntries = 10;
// Ten short lines; a file or a line far longer than that is damage, not something to hold.
constexpr size_t MaxScoreFileBytes = 16 * 1024;
constexpr size_t MaxScoreLineBytes = 1024;

struct ScoreEntry {
    std::string initials;
    int32_t value;
};
using ScoreTable = std::vector<ScoreEntry>;

std::string Trim(std::string_view text) {
    const auto first = text.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return "";
    return std::string(text.substr(first, text.find_last_not_of(" \t\r") - first + 1));
}

// "score initials": any blanks between them; initials keep their letters A-Z, at most three.
std::optional<ScoreEntry> ParseEntry(const std::string& line, bool& cut) {
    const auto gap = line.find_first_of(" \t");
    const std::string number = line.substr(0, gap);
    int32_t value = 0;
    const auto [end, ec] = std::from_chars(number.data(), number.data() + number.size(), value);
    if (number.empty() || ec != std::errc() || end != number.data() + number.size()) return std::nullopt;
    const std::string given = gap == std::string::npos ? std::string() : Trim(line.substr(gap));
    ScoreEntry entry{"", value};
    for (const char c : given)
        if (c >= 'A' && c <= 'Z' && entry.initials.size() < 3) entry.initials += c;
    cut = entry.initials != given;
    return entry;
}

// Reads the entries that can be read, at most ten, noting in `damage` what could not be.
ScoreTable ParseScores(std::string_view bytes, std::vector<std::string>* damage) {
    const auto note = [damage](const std::string& what) {
        if (damage) damage->push_back(what);
    };
    ScoreTable table;
    size_t start = 0;
    for (int number = 1; start < bytes.size(); ++number) {
        size_t end = bytes.find('\n', start);
        if (end == std::string::npos) end = bytes.size();
        const std::string_view raw(bytes.data() + start, end - start);
        start = end + 1;
        const std::string where = "line " + std::to_string(number);
        if (raw.size() > MaxScoreLineBytes) {
            note(where + " is too long and was dropped");
            continue;
        }
        const std::string line = Trim(raw);
        if (number == 1) {
            if (line != ScoreHeader) note("its first line is not \"" + std::string(ScoreHeader) + "\"");
            if (line == ScoreHeader || line.empty()) continue;
        }
        if (line.empty()) continue;
        bool cut = false;
        const auto entry = table.size() < ScoreEntries ? ParseEntry(line, cut) : std::nullopt;
        if (!entry) {
            note(where + " is not an entry and was dropped");
            continue;
        }
        if (cut) note(where + ": the initials were cut to \"" + entry->initials + "\"");
        table.push_back(*entry);
    }
    if (table.size() < ScoreEntries)
        note("only " + std::to_string(table.size()) +
             " of ten entries could be read; the rest are the default table's");
    return table;
}
}  // namespace

void GfxUtility::SeedRandom(int32_t seed) {
    m_State = 0;
    NextRandom(m_State);
    m_State += static_cast<uint64_t>(static_cast<uint32_t>(seed));
    NextRandom(m_State);
}

int32_t GfxUtility::RandomRange(int32_t low, int32_t high) {
    if (low > high) std::swap(low, high);
    const uint64_t span = static_cast<uint64_t>(static_cast<int64_t>(high) - low) + 1;
    if (span > UINT32_MAX) return static_cast<int32_t>(NextRandom(m_State));
    // Rejection keeps every value equally likely: drop the draws below 2^32 mod span.
    const auto range = static_cast<uint32_t>(span);
    const uint32_t threshold = static_cast<uint32_t>(-range) % range;
    for (;;) {
        const uint32_t r = NextRandom(m_State);
        if (r >= threshold) return static_cast<int32_t>(static_cast<int64_t>(low) + r % range);
    }
}

int32_t GfxUtility::MakeColor(int32_t a, int32_t r, int32_t g, int32_t b) {
    const auto byte = [](int32_t v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
    return static_cast<int32_t>(byte(a) << 24 | byte(r) << 16 | byte(g) << 8 | byte(b));
}

void GfxUtility::HideCursor() {
    m_Engine->GetImpl().SystemCursorHidden = true;
    m_Engine->SetSystemCursorVisible(false);
}

void GfxUtility::ShowCursor() {
    m_Engine->GetImpl().SystemCursorHidden = false;
    m_Engine->SetSystemCursorVisible(true);
}

bool GfxUtility::FileExists(const std::string& path) const {
    std::error_code ec;
    return std::filesystem::is_regular_file(m_Engine->Resolve(path), ec);
}

// Asks the system rather than the permission bits, so read-only mounts and the user's groups count.
bool GfxUtility::IsWritableFolder(const std::filesystem::path& folder) {
    return ::access(folder.c_str(), W_OK | X_OK) == 0;
}

void GfxUtility::LoadHighScores(const std::string& path) {
    const auto file = m_Engine->Resolve(path);
    const GfxFile::ReadResult read =
        m_Engine->GetImpl().StandIns ? GfxFile::ReadResult{} : GfxFile::ReadBounded(file, MaxScoreFileBytes);
    ScoreTable table = ParseScores(DefaultScores(), nullptr);
    const auto setTable = [this](const ScoreTable& entries) {
        for (size_t i = 0; i < ScoreEntries; ++i) {
            m_Names[i] = entries[i].initials;
            m_Values[i] = entries[i].value;
        }
    };
    if (read.status == GfxFile::ReadStatus::Unreadable) {
        // The default table stands in, so a game can still be played against it.
        setTable(table);
        throw GfxFile::FileError("Cannot read the high-score file " + file.string(), read.error);
    }
    if (read.status == GfxFile::ReadStatus::Read) {
        std::vector<std::string> damage;
        if (read.truncated) damage.push_back("it is too long; only its start was read");
        ScoreTable found = ParseScores(read.bytes, &damage);
        if (!damage.empty()) {
            // What could not be read comes from the bottom of the default table.
            found.insert(found.end(), table.begin() + static_cast<std::ptrdiff_t>(found.size()), table.end());
            std::stable_sort(found.begin(), found.end(),
                             [](const ScoreEntry& a, const ScoreEntry& b) { return a.value > b.value; });
            auto bad = file;
            bad += ".bad";
            if (!GfxFile::WriteAtomically(bad, read.bytes)) damage.push_back("no copy of it could be kept");
            for (const std::string& what : damage)
                if (m_RepairReport)
                    m_RepairReport("The high-score file " + file.string() + " is damaged: " + what + ".");
        }
        table = std::move(found);
    }
    setTable(table);
}

void GfxUtility::SaveHighScores(const std::string& path) {
    if (m_Engine->GetImpl().StandIns) return;
    const auto file = m_Engine->Resolve(path);
    std::string text = std::string(ScoreHeader) + "\n";
    for (size_t i = 0; i < ScoreEntries; ++i) {
        std::string name = m_Names[i];
        std::replace(name.begin(), name.end(), '\n', ' ');
        std::replace(name.begin(), name.end(), '\r', ' ');
        text += std::to_string(m_Values[i]) + " " + name + "\n";
    }
    int error = 0;
    if (!GfxFile::WriteAtomically(file, text, &error))
        throw GfxFile::FileError("Cannot write the high-score file " + file.string(), error);
}

std::string GfxUtility::GetHighScoreName(int32_t index) const {
    if (index < 1 || index > 10) throw std::out_of_range("High-score index out of range");
    return m_Names[index - 1];
}

int32_t GfxUtility::GetHighScoreValue(int32_t index) const {
    if (index < 1 || index > 10) throw std::out_of_range("High-score index out of range");
    return m_Values[index - 1];
}

void GfxUtility::SetHighScore(int32_t index, const std::string& initials, int32_t score) {
    if (index < 1 || index > 10) throw std::out_of_range("High-score index out of range");
    m_Names[index - 1] = initials;
    if (score != -1) m_Values[index - 1] = score;  // -1 changes the initials only
}

void GfxUtility::SetHighScoreEntry(int32_t index, const std::string& initials, int32_t score) {
    if (index < 1 || index > 10) throw std::out_of_range("High-score index out of range");
    m_Names[index - 1] = initials;
    m_Values[index - 1] = score;
}
