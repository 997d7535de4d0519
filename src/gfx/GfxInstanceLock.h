// SPDX-License-Identifier: GPL-3.0-or-later
// A single-instance lock: an exclusive advisory lock on a file in the game folder, held for as
// long as the object lives. The lock file itself is left in place (removing it would race).
#pragma once

#include <filesystem>

class GfxInstanceLock final {
public:
    GfxInstanceLock() = default;
    ~GfxInstanceLock();
    GfxInstanceLock(const GfxInstanceLock&) = delete;
    GfxInstanceLock& operator=(const GfxInstanceLock&) = delete;

    enum class Result { Acquired, HeldElsewhere, Unavailable };
    // Unavailable: the file could not be opened (missing or read-only folder); nothing is held.
    Result Acquire(const std::filesystem::path& file);
    void Release();

private:
    int m_Fd = -1;  // open descriptor carrying the lock, -1 when none
};
