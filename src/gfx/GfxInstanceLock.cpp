// SPDX-License-Identifier: GPL-3.0-or-later
// POSIX flock on the lock file; the kernel drops it when the process ends, however it ends.
#include "gfx/GfxInstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <cerrno>

GfxInstanceLock::~GfxInstanceLock() { Release(); }

GfxInstanceLock::Result GfxInstanceLock::Acquire(const std::filesystem::path& file) {
    Release();
    // Never through a link: one planted there would have the game create or open a file elsewhere.
    const int fd = ::open(file.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0644);
    if (fd < 0) return Result::Unavailable;
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const bool busy = errno == EWOULDBLOCK;
        ::close(fd);
        return busy ? Result::HeldElsewhere : Result::Unavailable;
    }
    m_Fd = fd;
    return Result::Acquired;
}

void GfxInstanceLock::Release() {
    if (m_Fd < 0) return;
    ::flock(m_Fd, LOCK_UN);
    ::close(m_Fd);
    m_Fd = -1;
}
