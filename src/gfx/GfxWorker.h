// SPDX-License-Identifier: GPL-3.0-or-later
// A program run beside the game in a process of its own (the endless mode's board worker), so
// that its work never costs a frame and never touches the game's world. The worker dies with the
// game (PR_SET_PDEATHSIG) even when the game is killed, is killed and reaped when its owner lets it
// go, and is given up when it runs far longer than its work can take. Owns the process it started.
#pragma once

#include <sys/types.h>

#include <chrono>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class GfxWorker final {
public:
    GfxWorker() = default;
    ~GfxWorker() { Stop(); }
    GfxWorker(const GfxWorker&) = delete;
    GfxWorker& operator=(const GfxWorker&) = delete;

    // Far beyond what one board takes (seconds at worst): a worker that runs this long is stuck.
    static constexpr std::chrono::milliseconds MaxRunTime{30000};

    // Starts the program with its arguments, standard input and output on /dev/null and standard
    // error into errorFile. A worker still running is stopped first. False when no process could
    // be started; Failure() says why.
    bool Start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
               const std::filesystem::path& errorFile);

    enum class State { Idle, Running, Succeeded, Failed };
    // How the last worker stands, without waiting; with wait, waits until it has ended (or has run
    // MaxRunTime, when it is killed and counts as failed).
    State Poll(bool wait = false);
    // Kills a running worker and reaps it; nothing when none runs.
    void Stop();

    // Why the last worker failed: how it ended and the first line it wrote to standard error.
    const std::string& Failure() const { return m_Failure; }
    // The running process (tests), nullopt when none.
    std::optional<pid_t> Process() const;

private:
    void Ended(int status);

    pid_t m_Pid = -1;  // the process while it runs (or until it is reaped)
    State m_State = State::Idle;
    std::chrono::steady_clock::time_point m_Started;
    std::filesystem::path m_ErrorFile;
    std::string m_Failure;
};

// A new empty folder that only this user may enter (mode 0700), named prefix + six random
// characters, in parent; nothing when it cannot be made.
std::optional<std::filesystem::path> MakePrivateFolder(const std::filesystem::path& parent, const std::string& prefix);
