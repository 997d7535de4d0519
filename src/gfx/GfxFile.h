// SPDX-License-Identifier: GPL-3.0-or-later
// The files players and level makers can hand the game (settings, high scores, levels, pictures):
// read with a bound, so that no damaged or hostile file can fill memory or block on a pipe, and
// written so that neither a crash nor a power cut can leave half a file or an empty one, and no
// link planted in a folder can turn a write of the game's into a write of some other file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>

namespace GfxFile {

enum class ReadStatus {
    Read,        // bytes hold the file, or its first maxBytes when truncated
    Missing,     // nothing of that name
    Unreadable,  // it exists but is no plain file, or cannot be opened or read
};

// In place of an errno: a folder, a pipe or a device stands where a plain file should.
constexpr int NotAPlainFile = -1;

struct ReadResult {
    ReadStatus status = ReadStatus::Missing;
    std::string bytes;
    bool truncated = false;  // the file is longer than maxBytes
    int error = 0;           // why it is Missing or Unreadable: an errno, or NotAPlainFile
};

ReadResult ReadBounded(const std::filesystem::path& file, std::size_t maxBytes);

// Saves are written under the file's name and this, then renamed into place.
constexpr const char* TempSuffix = ".tmp";

// Writes a temporary file (the name and TempSuffix) beside `file`, flushes it to the disk, renames it
// over `file` and flushes the folder. The plain file it replaces keeps its permissions; a link at
// `file` is replaced, its target untouched. False on any failure, with the errno in `error`, and
// the old file is then left as it was.
bool WriteAtomically(const std::filesystem::path& file, const std::string& bytes, int* error = nullptr);

// A new file of that name, open for writing: never a link or a file that was already there. What
// stands there (a temporary file a killed run left, a planted link) is removed, not followed.
// -1 with errno set when it cannot be made.
int CreateExclusive(const std::filesystem::path& file);

// The file exists and may not be written: it has no write permission for anyone (as a player
// marks a file read-only, which even root is held to), or the system refuses this user.
bool IsReadOnly(const std::filesystem::path& file);

// A folder of the caller's own for scratch files, named prefix-PID-XXXXXX: made under a name no one
// else can have made and open to this user alone (mkdtemp, 0700), in $TMPDIR or else /tmp. What
// this user's killed processes left there under that prefix goes first. Throws FileError, naming
// what was tried, when no folder can be made.
std::filesystem::path MakeScratchFolder(const std::string& prefix);

// A file made anew in place of `file` at Open and written at its end until Close (the error
// log): it replaces what was there, a link included, and never writes through one.
class FreshFile final {
public:
    FreshFile() = default;
    ~FreshFile() { Close(); }
    FreshFile(const FreshFile&) = delete;
    FreshFile& operator=(const FreshFile&) = delete;
    bool Open(const std::filesystem::path& file);
    bool IsOpen() const { return m_Fd >= 0; }
    bool Append(const std::string& bytes);
    void Close();

private:
    int m_Fd = -1;
};

// A file that could not be read or written: what() names it, Error() says why (see Explain).
class FileError final : public std::runtime_error {
public:
    FileError(const std::string& what, int error) : std::runtime_error(what), m_Error(error) {}
    int Error() const { return m_Error; }

private:
    int m_Error;
};

// What an errno (or NotAPlainFile) means for a file of the game's, in words a player can act on:
// what is wrong, a semicolon, and what to do.
std::string Explain(int error);

// Pictures are PNG files of at most MaxPictureSide pixels a side (64 MB once decoded); bigger
// ones are more than the game can show and are refused before they are decoded.
constexpr std::size_t MaxPictureFileBytes = 64 << 20;
constexpr std::uint32_t MaxPictureSide = 4096;
bool IsUsablePng(const std::string& bytes);

}  // namespace GfxFile
