// SPDX-License-Identifier: GPL-3.0-or-later
// Bounded reads and durable atomic writes over the POSIX file calls, which alone offer fsync
// and a non-blocking open.
#include "gfx/GfxFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>

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
        result.status = errno == ENOENT || errno == ENOTDIR ? ReadStatus::Missing : ReadStatus::Unreadable;
        return result;
    }
    struct stat info {};
    result.status = ReadStatus::Unreadable;
    if (::fstat(fd.Get(), &info) != 0 || !S_ISREG(info.st_mode)) return result;
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

bool GfxFile::WriteAtomically(const std::filesystem::path& file, const std::string& bytes) {
    auto temp = file;
    temp += ".tmp";
    Fd out(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (out.Get() < 0) return false;
    // The data must be on the disk before the rename makes it the file, or a power cut could
    // leave an empty file where the old one was.
    const bool written = WriteAll(out.Get(), bytes) && ::fsync(out.Get()) == 0;
    if (!out.Close() || !written || ::rename(temp.c_str(), file.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    // The rename itself lives in the folder; some file systems cannot flush a folder (EINVAL).
    const auto folder = file.has_parent_path() ? file.parent_path() : std::filesystem::path(".");
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    return dir.Get() < 0 || ::fsync(dir.Get()) == 0 || errno == EINVAL;
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
