// SPDX-License-Identifier: GPL-3.0-or-later
// game.dat and the asset archives.
#include "shell/modSettings.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <charconv>
#include <optional>
#include <string_view>
#include <system_error>
#include <utility>
#include <vector>

#include "base/Globals.h"
#include "base/RuntimeError.h"
#include "base/modError.h"
#include "gfx/Gfx.h"
#include "gfx/GfxFile.h"
#include "shell/AssetTable.h"
#include "shell/Replays.h"
#include "shell/modMain.h"

namespace {
std::string Upper(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return text;
}

std::filesystem::path SettingsPath() { return gProgramFolder / "game" / "data" / "game.dat"; }

// Three short lines; a file or a line far longer than that is damage, not something to hold.
constexpr size_t MaxSettingsBytes = 16 * 1024;
constexpr size_t MaxSettingsLineBytes = 1024;
// A whole decimal number with optional sign; a byte-order mark and blanks around it are ignored.
std::optional<int32_t> ParseWholeNumber(std::string_view line) {
    if (line.size() > MaxSettingsLineBytes) return std::nullopt;
    if (line.substr(0, 3) == "\xEF\xBB\xBF") line.remove_prefix(3);
    const auto first = line.find_first_not_of(" \t\r");
    if (first == std::string_view::npos) return std::nullopt;
    const auto last = line.find_last_not_of(" \t\r");
    const char* begin = line.data() + first;
    const char* end = line.data() + last + 1;
    if (*begin == '+') ++begin;
    int32_t value = 0;
    const auto [ptr, ec] = std::from_chars(begin, end, value);
    if (ec != std::errc() || ptr != end) return std::nullopt;
    return value;
}

// Removes the files and links in `folder` whose path `matches`; what will not go is left.
template <typename Match>
void RemoveFilesIn(const std::filesystem::path& folder, const Match& matches) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        std::error_code fileEc;
        const auto type = it->symlink_status(fileEc).type();
        if (type != std::filesystem::file_type::regular && type != std::filesystem::file_type::symlink) continue;
        if (matches(it->path())) std::filesystem::remove(it->path(), fileEc);
    }
}

// Stands in the game folder from the unpacking to the deletion of the unpacked files.
std::filesystem::path UnpackedMarker() { return gProgramFolder / "game" / "unpacked.txt"; }

bool settingsLoaded = false;
std::vector<std::filesystem::path> sUnpacked;  // every file and folder this run unpacked
}  // namespace

void LoadSettings() {
    // A missing file is a fresh install: the defaults stand. A line that cannot be read keeps
    // its own default and is logged; the other lines still count.
    gHighestLevel = DefaultHighestLevel;
    gMusicVolume = DefaultMusicVolume;
    gSoundVolume = DefaultSoundVolume;
    settingsLoaded = true;
    // Each game reads the high-score table; whatever its reader has to repair is logged too.
    if (gEngine) {
        gEngine->GetUtility().SetRepairReport([](const std::string& what) {
            ReportError(ErrorNumber::TypeMismatch, "cScores", "Initialize", what, true, true, false);
        });
    }
    const auto file = GfxFile::ReadBounded(SettingsPath(), MaxSettingsBytes);
    if (file.status == GfxFile::ReadStatus::Missing) return;
    if (file.status == GfxFile::ReadStatus::Unreadable) {
        // Not a fresh install: the player's progress is there, so it must survive this run.
        settingsLoaded = false;
        ReportError(ErrorNumber::PathNotFound, "modSettings", "LoadSettings",
                    "The settings file " + SettingsPath().string() +
                        " cannot be read: " + GfxFile::Explain(file.error) +
                        ". Playing with the default settings and leaving the file as it is.",
                    true, true, false);
        return;
    }
    struct Line {
        int32_t* value;
        int32_t fallback;
        int32_t lowest;
        int32_t highest;
        const char* meaning;
    };
    const std::array<Line, 3> lines{{{&gHighestLevel, DefaultHighestLevel, 1, MaxHighestLevel, "highest level"},
                                     {&gMusicVolume, DefaultMusicVolume, 0, MaxVolume, "music volume"},
                                     {&gSoundVolume, DefaultSoundVolume, 0, MaxVolume, "sound volume"}}};
    std::string_view rest = file.bytes;
    for (size_t i = 0; i < lines.size(); ++i) {
        const bool present = !rest.empty();
        const auto end = std::min(rest.find('\n'), rest.size());
        const auto value = present ? ParseWholeNumber(rest.substr(0, end)) : std::nullopt;
        rest.remove_prefix(std::min(end + 1, rest.size()));
        if (value) {
            *lines[i].value = std::clamp(*value, lines[i].lowest, lines[i].highest);
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
    // Written beside the old file, flushed to disk and renamed over it, so neither a crash nor a
    // power cut leaves half a file.
    const auto path = SettingsPath();
    const std::string text = std::to_string(gHighestLevel) + "\r\n" + std::to_string(gMusicVolume) + "\r\n" +
                             std::to_string(gSoundVolume) + "\r\n";
    int error = 0;
    if (!GfxFile::WriteAtomically(path, text, &error)) {
        ReportError(ErrorNumber::PathNotFound, "modSettings", "SaveSettings",
                    "Path to file " + path.string() + " could not be written: " + GfxFile::Explain(error) + ".", true,
                    true, false);
    }
}

void SaveProgress() {
    if (settingsLoaded) SaveSettings();
}

bool SettingsLoaded() { return settingsLoaded; }
void ForgetLoadedSettings() { settingsLoaded = false; }

// Every archive of the game opens with the first password, or failing that the second.
bool UnpackArchiveInto(const std::filesystem::path& archive, const std::filesystem::path& folder) {
    return gEngine->GetArchive().ExtractArchives({{std::filesystem::absolute(archive).string(), folder.string()}},
                                                 std::string(assets::kArchivePassword), "M4RL0WE47");
}

void UnpackArchives() {
    RemoveLeftovers();
    GfxFile::WriteAtomically(UnpackedMarker(),
                             "Kindlewisp is running, or was killed: its unpacked files are in images, levels and "
                             "sounds, and go at its end or its next start.\n");
    std::vector<GfxArchive::Unpacking> archives;
    // Unpacked into the program folder; the archives may lie in a read-only installation.
    const auto& from = gInstalledFolder.empty() ? gProgramFolder : gInstalledFolder;
    for (const auto& [folder, file] :
         {std::pair{"images", "kwgfx.pak"}, {"levels", "kwlvl.pak"}, {"sounds", "kwsfx.pak"}}) {
        archives.push_back({(from / "game" / folder / file).string(), (gProgramFolder / "game" / folder).string()});
    }
    // All three at once. A file that could not be written (a full disk) is said as such; any
    // other failure shows up as the first image or sound that cannot be loaded.
    int writeError = 0;
    gEngine->GetArchive().ExtractArchives(archives, std::string(assets::kArchivePassword), "M4RL0WE47", &sUnpacked,
                                          &writeError);
    if (writeError != 0)
        ReportError(ErrorNumber::PathNotFound, "modSettings", "UnpackArchives",
                    "The game's pictures and sounds cannot be unpacked into " + (gProgramFolder / "game").string() +
                        ": " + GfxFile::Explain(writeError) + ", then start the game again.",
                    true, true, true);
}

void DeleteUnpackedFiles() {
    // Everything this run unpacked, whatever its name, newest first so folders empty before
    // they go; then the unpacked kinds, which a run that never reached its end may have left.
    std::error_code ec;
    for (auto it = sUnpacked.rbegin(); it != sUnpacked.rend(); ++it) std::filesystem::remove(*it, ec);
    sUnpacked.clear();
    constexpr std::array<std::pair<const char*, const char*>, 8> patterns{{{"images", ".png"},
                                                                           {"images", ".bmp"},
                                                                           {"levels", ".dat"},
                                                                           {"sounds", ".wav"},
                                                                           {"sounds", ".mp3"},
                                                                           {"images", GfxArchive::PartSuffix},
                                                                           {"levels", GfxArchive::PartSuffix},
                                                                           {"sounds", GfxArchive::PartSuffix}}};
    for (const auto& [folder, extension] : patterns)
        RemoveFilesIn(gProgramFolder / "game" / folder, [extension = extension](const std::filesystem::path& path) {
            return Upper(path.extension().string()) == Upper(extension);
        });
    std::filesystem::remove(UnpackedMarker(), ec);
}

void RemoveLeftovers() {
    // Only after a run that unpacked and never reached its end: loose files a level maker or a
    // test put there stay.
    std::error_code ec;
    if (std::filesystem::exists(std::filesystem::symlink_status(UnpackedMarker(), ec))) DeleteUnpackedFiles();
    // The temporary files of saves a killed run left half-written: the log's, the settings' and
    // scores', the replays'.
    for (const auto& folder : {gProgramFolder / "game", gProgramFolder / "game" / "data", ReplaysFolder()})
        RemoveFilesIn(folder,
                      [](const std::filesystem::path& path) { return path.extension() == GfxFile::TempSuffix; });
}
