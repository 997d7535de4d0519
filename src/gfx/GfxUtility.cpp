// The random generator, colours, the full-screen cursor switch, file checks and the high-score
// table with its file.
#include <SDL.h>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <system_error>

#include "gfx/Gfx.h"
#include "gfx/GfxImpl.h"

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

void GfxUtility::LoadHighScores(const std::string& path) {
    const auto file = m_Engine->Resolve(path);
    std::ifstream in(file, std::ios::binary);
    if (!in) throw std::runtime_error("Cannot open the high-score file " + file.string());
    const auto fail = [&](const std::string& why) {
        throw std::runtime_error("The high-score file " + file.string() + " is damaged: " + why);
    };
    const auto readLine = [&](std::string& line) {
        if (!std::getline(in, line)) return false;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        return true;
    };
    std::string line;
    if (!readLine(line) || line != ScoreHeader) fail("unknown format");
    std::string names[10];
    int32_t values[10] = {};
    for (int i = 0; i < 10; ++i) {
        if (!readLine(line)) fail("fewer than ten entries");
        const auto space = line.find(' ');
        const std::string number = line.substr(0, space);
        size_t used = 0;
        long long value = 0;
        try {
            value = std::stoll(number, &used);
        } catch (const std::exception&) {
            fail("entry " + std::to_string(i + 1) + " has no score");
        }
        if (used != number.size() || value < INT32_MIN || value > INT32_MAX) {
            fail("entry " + std::to_string(i + 1) + " has no valid score");
        }
        values[i] = static_cast<int32_t>(value);
        names[i] = space == std::string::npos ? std::string() : line.substr(space + 1);
    }
    std::copy(std::begin(names), std::end(names), m_Names);
    std::copy(std::begin(values), std::end(values), m_Values);
}

void GfxUtility::SaveHighScores(const std::string& path) {
    const auto file = m_Engine->Resolve(path);
    auto temp = file;
    temp += ".tmp";
    std::string text = std::string(ScoreHeader) + "\n";
    for (int i = 0; i < 10; ++i) {
        std::string name = m_Names[i];
        std::replace(name.begin(), name.end(), '\n', ' ');
        std::replace(name.begin(), name.end(), '\r', ' ');
        text += std::to_string(m_Values[i]) + " " + name + "\n";
    }
    std::FILE* out = std::fopen(temp.string().c_str(), "wb");
    if (!out) throw std::runtime_error("Cannot write the high-score file " + file.string());
    const bool written = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    const bool flushed = std::fflush(out) == 0;
    const bool closed = std::fclose(out) == 0;
    std::error_code ec;
    if (!written || !flushed || !closed) {
        std::filesystem::remove(temp, ec);
        throw std::runtime_error("Cannot write the high-score file " + file.string());
    }
    std::filesystem::rename(temp, file, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        throw std::runtime_error("Cannot replace the high-score file " + file.string());
    }
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
