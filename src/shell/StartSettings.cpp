// SPDX-License-Identifier: GPL-3.0-or-later
// The table of starting settings. A setting is a name, how to read it from the running game, how
// to tell a recorded value it can take, and how to put one in force.
#include "shell/StartSettings.h"

#include <cstdint>
#include <cstdio>
#include <functional>
#include <optional>
#include <string_view>

#include "base/Globals.h"
#include "gfx/GfxFile.h"
#include "shell/CommandLine.h"
#include "shell/modSettings.h"

namespace {
struct StartSetting {
    std::string_view name;
    std::function<std::string()> capture;  // "" when the run has none: nothing is written
    std::function<bool(const std::string&)> accepts;
    std::function<std::string(const std::string&)> apply;  // why it cannot be put in force, or ""
};

// A whole number held in a global of the game.
template <typename Number>
StartSetting Whole(std::string_view name, Number& value, Number lowest, Number highest) {
    const auto parse = [lowest, highest](const std::string& text) {
        const auto number = ParseDigits<Number>(text);
        return number && *number >= lowest && *number <= highest ? number : std::nullopt;
    };
    return {name, [&value] { return std::to_string(value); },
            [parse](const std::string& text) { return parse(text).has_value(); },
            [&value, parse](const std::string& text) {
                value = *parse(text);
                return std::string();
            }};
}

// A level played from a file (Level=FILE) is known by a digest of its bytes (64-bit FNV-1a), so a
// recording never plays on a level that has changed since.
std::string LevelDigest() {
    const auto file = CommandLineFile("Level");
    if (file.empty()) return "";
    const auto read = GfxFile::ReadBounded(file, MaxScriptBytes);
    if (read.status != GfxFile::ReadStatus::Read || read.truncated) return "";
    uint64_t hash = 14695981039346656037ULL;
    for (const char c : read.bytes) hash = (hash ^ static_cast<unsigned char>(c)) * 1099511628211ULL;
    char text[17];
    std::snprintf(text, sizeof text, "%016llx", static_cast<unsigned long long>(hash));
    return text;
}

StartSetting LevelFile() {
    return {"levelFile", LevelDigest,
            [](const std::string& text) {
                return text.size() == 16 && text.find_first_not_of("0123456789abcdef") == std::string::npos;
            },
            [](const std::string& text) {
                const std::string file = CommandLineFile("Level").string();
                if (file.empty()) return std::string("it was recorded on a level file, but does not name it");
                const std::string now = LevelDigest();
                if (now.empty()) return "the level " + file + " it was recorded on is missing or cannot be read";
                return now == text ? std::string() : "the level " + file + " has changed since it was recorded";
            }};
}

// Adding a setting is one line here.
const StartSetting kStartSettings[] = {
    Whole("highestLevel", gHighestLevel, 1, MaxHighestLevel),  // what Level Select offers
    Whole("musicVolume", gMusicVolume, 0, MaxVolume),          // where F7 and F8 stop
    Whole("soundVolume", gSoundVolume, 0, MaxVolume),
    LevelFile(),
};

const StartSetting* Find(const std::string& name) {
    for (const StartSetting& setting : kStartSettings)
        if (setting.name == name) return &setting;
    return nullptr;
}
}  // namespace

std::vector<std::pair<std::string, std::string>> CaptureStartSettings() {
    std::vector<std::pair<std::string, std::string>> values;
    for (const StartSetting& setting : kStartSettings)
        if (std::string value = setting.capture(); !value.empty())
            values.emplace_back(std::string(setting.name), std::move(value));
    return values;
}

void CheckStartSettings(const ScriptSettings& settings) {
    for (const ScriptStart& start : settings.start) {
        const StartSetting* setting = Find(start.name);
        if (!setting) throw ScriptError(start.line, "this version knows no starting setting '" + start.name + "'");
        if (!setting->accepts(start.value))
            throw ScriptError(start.line, "'" + start.value + "' is no value of " + start.name);
    }
}

std::string ApplyStartSettings(const ScriptSettings& settings) {
    for (const ScriptStart& start : settings.start)
        if (std::string refusal = Find(start.name)->apply(start.value); !refusal.empty()) return refusal;
    return "";
}
