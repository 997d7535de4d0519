// SPDX-License-Identifier: GPL-3.0-or-later
// Bounded reads, durable atomic writes and private scratch folders over the POSIX file calls,
// which alone offer fsync, a non-blocking open, O_NOFOLLOW and mkdtemp.
#include "gfx/GfxFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {
class Fd final {
public:
    explicit Fd(int fd) : m_Fd(fd) {}
    ~Fd() {
        if (m_Fd >= 0) ::close(m_Fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int Get() const { return m_Fd; }
    bool Close() {
        const int fd = m_Fd;
        m_Fd = -1;
        return ::close(fd) == 0;
    }

private:
    int m_Fd;
};

bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = EIO;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}
}  // namespace

GfxFile::ReadResult GfxFile::ReadBounded(const std::filesystem::path& file, std::size_t maxBytes) {
    ReadResult result;
    // Non-blocking, so a pipe of that name cannot stall the game; it is refused just below.
    Fd fd(::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    if (fd.Get() < 0) {
        result.error = errno;
        result.status = errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Unreadable;
        return result;
    }
    struct stat info {};
    result.status = ReadStatus::Unreadable;
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        result.error = S_ISREG(info.st_mode) ? errno : NotAPlainFile;
        return result;
    }
    // Grown as the data comes, so a bound far above the file's size costs nothing.
    const auto expected = static_cast<size_t>(std::max<off_t>(info.st_size, 0));
    result.bytes.resize(std::min(expected, maxBytes) + 1);
    size_t got = 0;
    for (;;) {
        if (got == result.bytes.size()) {
            if (got > maxBytes) break;
            result.bytes.resize(std::min(2 * got, maxBytes + 1));
        }
        const ssize_t n = ::read(fd.Get(), result.bytes.data() + got, result.bytes.size() - got);
        if (n < 0 && errno == EINTR) continue;
        if (n < 0) {
            result.error = errno;
            result.bytes.clear();
            return result;
        }
        if (n == 0) break;
        got += static_cast<size_t>(n);
    }
    result.truncated = got > maxBytes;
    result.bytes.resize(std::min(got, maxBytes));
    result.status = ReadStatus::Read;
    return result;
}

int GfxFile::CreateExclusive(const std::filesystem::path& file) {
    for (int attempt = 0;; ++attempt) {
        const int fd = ::open(file.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0644);
        if (fd >= 0 || errno != EEXIST || attempt == 1) return fd;
        // Unlinking a link removes the link itself; a folder in the way stays, and the open fails.
        if (::unlink(file.c_str()) != 0 && errno != ENOENT) return -1;
    }
}

bool GfxFile::WriteAtomically(const std::filesystem::path& file, const std::string& bytes, int* error) {
    auto temp = file;
    temp += TempSuffix;
    struct stat old {};
    const bool keepMode = ::lstat(file.c_str(), &old) == 0 && S_ISREG(old.st_mode);
    int failure = 0;
    {
        Fd out(CreateExclusive(temp));
        if (out.Get() < 0) {
            if (error) *error = errno;
            return false;
        }
        // The data must be on the disk before the rename makes it the file, or a power cut could
        // leave an empty file where the old one was.
        if (!WriteAll(out.Get(), bytes) || (keepMode && ::fchmod(out.Get(), old.st_mode & 07777) != 0) ||
            ::fsync(out.Get()) != 0)
            failure = errno;
        if (!out.Close() && failure == 0) failure = errno;
    }
    if (failure == 0 && ::rename(temp.c_str(), file.c_str()) != 0) failure = errno;
    if (failure != 0) {
        ::unlink(temp.c_str());
        if (error) *error = failure;
        return false;
    }
    // The rename itself lives in the folder; some file systems cannot flush a folder (EINVAL).
    const auto folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return dir.Get() < 0 || ::fsync(dir.Get()) == 0 || errno == EINVAL;
}

bool GfxFile::IsReadOnly(const std::filesystem::path& file) {
    struct stat info {};
    if (::stat(file.c_str(), &info) != 0) return false;
    return (info.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0 || ::access(file.c_str(), W_OK) != 0;
}

namespace {
// The process that made a scratch folder named prefix-PID-XXXXXX, 0 for any other name.
pid_t ScratchOwner(const std::string& name, const std::string& prefix) {
    if (name.size() < prefix.size() + 9 || name.compare(0, prefix.size() + 1, prefix + "-") != 0) return 0;
    const std::string pid = name.substr(prefix.size() + 1, name.size() - prefix.size() - 8);
    if (name[name.size() - 7] != '-' || pid.empty() || pid.size() > 9 ||
        pid.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return static_cast<pid_t>(std::stol(pid));
}

// Only folders of this user's (no link, no one else's) whose process has ended.
void RemoveAbandoned(const std::filesystem::path& base, const std::string& prefix) {
    std::error_code ec;
    for (std::filesystem::directory_iterator it(base, ec), end; !ec && it != end; it.increment(ec)) {
        const pid_t owner = ScratchOwner(it->path().filename().string(), prefix);
        struct stat info {};
        if (owner <= 0 || ::lstat(it->path().c_str(), &info) != 0 || !S_ISDIR(info.st_mode) ||
            info.st_uid != ::geteuid())
            continue;
        if (::kill(owner, 0) == 0 || errno != ESRCH) continue;
        std::error_code removeEc;
        std::filesystem::remove_all(it->path(), removeEc);
    }
}
}  // namespace

std::filesystem::path GfxFile::MakeScratchFolder(const std::string& prefix) {
    std::vector<std::filesystem::path> bases;
    if (const char* tmp = std::getenv("TMPDIR"); tmp && *tmp) bases.emplace_back(tmp);
    bases.emplace_back("/tmp");
    std::string tried;
    int error = 0;
    for (const auto& base : bases) {
        RemoveAbandoned(base, prefix);
        std::string name = (base / (prefix + "-" + std::to_string(::getpid()) + "-XXXXXX")).string();
        if (::mkdtemp(name.data())) return name;
        error = errno;
        tried += (tried.empty() ? "" : ", nor in ") + base.string() + " (" + Explain(error) + ")";
    }
    throw FileError("No folder for scratch files can be made in " + tried + ". Set TMPDIR to a folder you can write.",
                    error);
}

bool GfxFile::FreshFile::Open(const std::filesystem::path& file) {
    Close();
    auto temp = file;
    temp += TempSuffix;
    m_Fd = CreateExclusive(temp);
    if (m_Fd >= 0 && ::rename(temp.c_str(), file.c_str()) != 0) {
        ::unlink(temp.c_str());
        Close();
    }
    return IsOpen();
}

bool GfxFile::FreshFile::Append(const std::string& bytes) { return IsOpen() && WriteAll(m_Fd, bytes); }

void GfxFile::FreshFile::Close() {
    if (m_Fd >= 0) ::close(m_Fd);
    m_Fd = -1;
}

std::string GfxFile::Explain(int error) {
    switch (error) {
        case NotAPlainFile:
        case EISDIR:
            return "it is not a plain file but a folder, a pipe or a device; move that out of the way";
        case EACCES:
        case EPERM:
            return "permission is denied; give your user permission to read and write it (chmod u+rw) and to "
                   "its folder";
        case ENOSPC:
        case EDQUOT:
            return "the disk is full; free some space on it";
        case EROFS:
            return "the disk is read-only; make it writable";
        case ENOENT:
        case ENOTDIR:
            return "it or a folder on its path does not exist; check the name";
        case ELOOP:
            return "it is a link that leads round in a loop; remove the link";
        case EIO:
            return "the disk reports an error; check the disk";
        default: {
            std::string what = std::strerror(error);
            if (!what.empty()) what[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(what[0])));
            return what + "; check the file and its folder";
        }
    }
}

bool GfxFile::IsUsablePng(const std::string& bytes) {
    // The signature, then the header chunk, whose first fields are the width and the height.
    static constexpr char Signature[] = "\x89PNG\r\n\x1a\n\0\0\0\x0dIHDR";
    if (bytes.size() < 24 || bytes.compare(0, sizeof Signature - 1, Signature, sizeof Signature - 1) != 0) return false;
    const auto field = [&bytes](size_t at) {
        uint32_t value = 0;
        for (size_t i = at; i < at + 4; ++i) value = value << 8 | static_cast<unsigned char>(bytes[i]);
        return value;
    };
    const uint32_t width = field(16);
    const uint32_t height = field(20);
    return width >= 1 && height >= 1 && width <= MaxPictureSide && height <= MaxPictureSide;
}
