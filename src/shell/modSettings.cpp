// The command line, game.dat and the asset archives.
#include "shell/modSettings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <fstream>
#include <optional>
#include <system_error>

#include "gfx/Gfx.h"
#include "shell/Globals.h"
#include "shell/RuntimeError.h"
#include "shell/modError.h"
#include "shell/modMain.h"

namespace {
std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::filesystem::path SettingsPath() { return gProgramFolder / "game" / "data" / "game.dat"; }

// A whole decimal number with optional sign; spaces around it are ignored.
std::optional<int32_t> ParseWholeNumber(const std::string& line) {
    const auto first = line.find_first_not_of(" \t\r\n");
    if (first == std::string::npos) return std::nullopt;
    const auto last = line.find_last_not_of(" \t\r\n");
    const char* begin = line.data() + first;
    const char* end = line.data() + last + 1;
    if (*begin == '+') ++begin;
    int32_t value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

bool settingsLoaded = false;
}  // namespace

std::string GetCommandLineValue(const std::string& key, const std::string& separator) {
    const std::string& line = CommandLine();
    const std::string upper = Upper(line);
    const auto keyAt = upper.find(Upper(key));
    if (key.empty() || keyAt == std::string::npos) return "";
    const size_t start = keyAt + key.size() + 1;  // one character (usually "=") is skipped, whatever it is
    if (start > line.size()) return "";
    const auto sepAt = separator.empty() ? std::string::npos : upper.find(Upper(separator), keyAt);
    if (sepAt == std::string::npos) return line.substr(start);
    // A separator before the value's first character leaves the value empty.
    if (sepAt < start) return "";
    return line.substr(start, sepAt - start);
}

void LoadSettings() {
    // A missing file is a fresh install: the defaults stand. A line that cannot be read keeps
    // its own default and is logged; the other lines still count.
    gHighestLevel = DefaultHighestLevel;
    gMusicVolume = DefaultMusicVolume;
    gSoundVolume = DefaultSoundVolume;
    settingsLoaded = true;
    std::ifstream in(SettingsPath(), std::ios::binary);
    if (!in) return;
    struct Line {
        int32_t* value;
        int32_t fallback;
        int32_t lowest;
        const char* meaning;
    };
    const std::array<Line, 3> lines{{{&gHighestLevel, DefaultHighestLevel, 1, "highest level"},
                                     {&gMusicVolume, DefaultMusicVolume, INT32_MIN, "music volume"},
                                     {&gSoundVolume, DefaultSoundVolume, INT32_MIN, "sound volume"}}};
    for (size_t i = 0; i < lines.size(); ++i) {
        std::string text;
        const bool present = static_cast<bool>(std::getline(in, text));
        const auto value = present ? ParseWholeNumber(text) : std::nullopt;
        if (value && *value >= lines[i].lowest) {
            *lines[i].value = *value;
            continue;
        }
        ReportError(ErrorNumber::TypeMismatch, "modSettings", "LoadSettings",
                    "Line " + std::to_string(i + 1) + " of game.dat (" + lines[i].meaning + ") " +
                        (present ? "is not a valid number" : "is missing") + "; using " +
                        std::to_string(lines[i].fallback) + ".",
                    true, true, false);
    }
}

void SaveSettings() {
    // Written beside the old file and renamed over it, so a crash never leaves half a file.
    const auto path = SettingsPath();
    auto temp = path;
    temp += ".tmp";
    std::error_code ec;
    {
        std::ofstream out(temp, std::ios::binary | std::ios::trunc);
        out << gHighestLevel << "\r\n" << gMusicVolume << "\r\n" << gSoundVolume << "\r\n";
        out.flush();
        if (!out) ec = std::make_error_code(std::errc::io_error);
    }
    if (!ec) std::filesystem::rename(temp, path, ec);
    if (ec) {
        std::filesystem::remove(temp, ec);
        ReportError(ErrorNumber::PathNotFound, "modSettings", "SaveSettings",
                    "Path to file " + path.string() + " could not be written.", true, true, false);
    }
}

bool SettingsLoaded() { return settingsLoaded; }
void ForgetLoadedSettings() { settingsLoaded = false; }

void UnpackArchives() {
    struct Archive {
        const char* folder;
        const char* file;
    };
    constexpr std::array<Archive, 3> archives{
        {{"images", "kwgfx.pak"}, {"levels", "kwlvl.pak"}, {"sounds", "kwsfx.pak"}}};
    // Unpacked into the program folder; the archives may lie in a read-only installation.
    const auto& from = gInstalledFolder.empty() ? gProgramFolder : gInstalledFolder;
    for (const auto& archive : archives) {
        gEngine->SetWorkingFolder((gProgramFolder / "game" / archive.folder).string() + "/");
        // A failed extraction shows up as the first image or sound that cannot be loaded.
        gEngine->GetArchive().ExtractArchive((from / "game" / archive.folder / archive.file).string(), "marlowe47",
                                             "M4RL0WE47", 0, "");
    }
    gEngine->SetWorkingFolder(gProgramFolder.string() + "/");
}

void DeleteUnpackedFiles() {
    struct Pattern {
        const char* folder;
        const char* extension;
    };
    constexpr std::array<Pattern, 5> patterns{
        {{"images", ".png"}, {"images", ".bmp"}, {"levels", ".dat"}, {"sounds", ".wav"}, {"sounds", ".mp3"}}};
    for (const auto& pattern : patterns) {
        std::error_code ec;
        const auto folder = gProgramFolder / "game" / pattern.folder;
        for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
            const auto& path = it->path();
            std::error_code fileEc;
            if (!it->is_regular_file(fileEc)) continue;
            if (Upper(path.extension().string()) != Upper(pattern.extension)) continue;
            std::filesystem::remove(path, fileEc);  // one file that will not go must not stop the rest
        }
    }
}
