// SPDX-License-Identifier: GPL-3.0-or-later
// The files players and level makers can hand the game (settings, high scores, levels, pictures):
// read with a bound, so that no damaged or hostile file can fill memory or block on a pipe, and
// written so that neither a crash nor a power cut can leave half a file or an empty one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <string>

namespace GfxFile {

enum class ReadStatus {
    Read,        // bytes hold the file, or its first maxBytes when truncated
    Missing,     // nothing of that name
    Unreadable,  // it exists but is no plain file, or cannot be opened or read
};

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;
    bool truncated = false;  // the file is longer than maxBytes
};

ReadResult ReadBounded(const std::filesystem::path& file, std::size_t maxBytes);

// Writes a temporary file beside `file`, flushes it to the disk, renames it over `file` and
// flushes the folder. False on any failure, and the old file is then left as it was.
bool WriteAtomically(const std::filesystem::path& file, const std::string& bytes);

// Pictures are PNG files of at most MaxPictureSide pixels a side (64 MB once decoded); bigger
// ones are more than the game can show and are refused before they are decoded.
constexpr std::size_t MaxPictureFileBytes = 64 << 20;
constexpr std::uint32_t MaxPictureSide = 4096;
bool IsUsablePng(const std::string& bytes);

}  // namespace GfxFile
