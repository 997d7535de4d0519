// SPDX-License-Identifier: GPL-3.0-or-later
// The one decision of where the game reads and writes, taken at start-up.
#include "shell/GameFolder.h"

#include <system_error>

#include "base/RuntimeError.h"
#include "gfx/Gfx.h"
#include "gfx/GfxFile.h"

namespace fs = std::filesystem;

namespace {
// The shipped settings and scores are a few hundred bytes.
constexpr std::size_t kMaxSeedBytes = 1 << 20;

// The base-directory rules: a relative or empty $XDG_DATA_HOME is ignored.
fs::path PlayerFolder(const std::string& dataHome, const std::string& home) {
    if (!dataHome.empty() && fs::path(dataHome).is_absolute()) return fs::path(dataHome) / "kindlewisp";
    if (!home.empty() && fs::path(home).is_absolute()) return fs::path(home) / ".local" / "share" / "kindlewisp";
    throw RuntimeError(ErrorNumber::PathNotFound,
                       "Neither XDG_DATA_HOME nor HOME names a folder for your scores and progress.");
}

[[noreturn]] void CannotMake(const fs::path& path, int error) {
    throw RuntimeError(ErrorNumber::PathNotFound,
                       "Cannot create " + path.string() + ": " + GfxFile::Explain(error) + ".");
}
}  // namespace

GameFolders ChooseGameFolders(const fs::path& executableFolder, const std::string& dataHome, const std::string& home) {
    std::error_code ec;
    const fs::path beside = executableFolder / "game";
    if (fs::is_directory(beside, ec)) {
        if (GfxUtility::IsWritableFolder(beside)) return {executableFolder, executableFolder};
        return {PlayerFolder(dataHome, home), executableFolder};
    }
    // Installed as Debian keeps games: the programs in PREFIX/games, their data in PREFIX/share/games.
    const fs::path installed = (executableFolder / ".." / "share" / "games" / "kindlewisp").lexically_normal();
    // Neither layout: the folder beside the program, where the missing files will be reported.
    if (!fs::is_directory(installed / "game", ec)) return {executableFolder, executableFolder};
    return {PlayerFolder(dataHome, home), installed};
}

void PrepareGameFolder(const GameFolders& folders) {
    if (folders.program == folders.installed) return;
    std::error_code ec;
    for (const char* sub : {"data", "images", "levels", "sounds", "override"}) {
        const fs::path folder = folders.program / "game" / sub;
        if (!fs::create_directories(folder, ec) && ec) CannotMake(folder, ec.value());
    }
    for (const char* name : {"game.dat", "scores.dat"}) {
        const fs::path target = folders.program / "game" / "data" / name;
        const fs::path source = folders.installed / "game" / "data" / name;
        if (fs::exists(target, ec) || !fs::exists(source, ec)) continue;
        // Written beside and renamed into place, so an interrupted first start leaves no half file;
        // the copy is the player's own to change, whatever the installed file's permissions.
        const auto read = GfxFile::ReadBounded(source, kMaxSeedBytes);
        int error = read.error;
        if (read.status != GfxFile::ReadStatus::Read || !GfxFile::WriteAtomically(target, read.bytes, &error))
            CannotMake(target, error);
    }
}
