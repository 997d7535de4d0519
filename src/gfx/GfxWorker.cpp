// SPDX-License-Identifier: GPL-3.0-or-later
// vfork and exec rather than posix_spawn: only our own child can ask to die with its parent
// (PR_SET_PDEATHSIG) before it runs the program; and vfork rather than fork, whose copy of the
// game's page tables alone costs a frame. Between vfork and exec the child only makes system
// calls (async-signal-safe, touching no memory of the game's), as posix_spawn's own child does.
#include "gfx/GfxWorker.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <thread>

#include "gfx/GfxFile.h"

namespace {
constexpr std::size_t MaxErrorBytes = 4096;
constexpr std::size_t MaxErrorLine = 200;

// The child's side, up to exec; never returns.
[[noreturn]] void RunChild(pid_t parent, int input, int error, const char* program, char* const* argv) {
    // Dies with the game; a game that died before this line is caught by the parent test.
    ::prctl(PR_SET_PDEATHSIG, SIGKILL);
    if (::getppid() != parent) ::_exit(127);
    ::setpgid(0, 0);  // its own group, so a stop reaches anything it started too
    sigset_t none;
    ::sigemptyset(&none);
    ::sigprocmask(SIG_SETMASK, &none, nullptr);
    ::signal(SIGPIPE, SIG_DFL);
    ::dup2(input, STDIN_FILENO);
    ::dup2(input, STDOUT_FILENO);
    ::dup2(error, STDERR_FILENO);
    // The game's own descriptors (the instance lock, the log, sound) stay with the game.
    ::close_range(3, ~0U, 0);
    ::execv(program, argv);
    constexpr char kCannotRun[] = "the worker program could not be run\n";
    [[maybe_unused]] const ssize_t written = ::write(STDERR_FILENO, kCannotRun, sizeof kCannotRun - 1);
    ::_exit(127);
}

std::string FirstLine(const std::filesystem::path& file) {
    const auto read = GfxFile::ReadBounded(file, MaxErrorBytes);
    std::string line = read.bytes.substr(0, read.bytes.find('\n'));
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > MaxErrorLine) line = line.substr(0, MaxErrorLine) + "...";
    return line;
}
}  // namespace

bool GfxWorker::Start(const std::filesystem::path& program, const std::vector<std::string>& arguments,
                      const std::filesystem::path& errorFile) {
    Stop();
    m_State = State::Failed;
    m_ErrorFile = errorFile;
    if (::access(program.c_str(), X_OK) != 0) {
        m_Failure = "cannot run " + program.string() + ": " + std::strerror(errno);
        return false;
    }
    const int input = ::open("/dev/null", O_RDWR | O_CLOEXEC);
    const int error = ::open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    // Everything the child needs is made before the fork.
    std::vector<std::string> words{program.string()};
    words.insert(words.end(), arguments.begin(), arguments.end());
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    const pid_t parent = ::getpid();
    const pid_t pid = input >= 0 && error >= 0 ? ::vfork() : -1;
    if (pid == 0) RunChild(parent, input, error, words[0].c_str(), argv.data());
    const int forkError = errno;
    if (input >= 0) ::close(input);
    if (error >= 0) ::close(error);
    if (pid < 0) {
        m_Failure = "cannot start " + program.string() + ": " + std::strerror(forkError);
        return false;
    }
    ::setpgid(pid, pid);  // as the child does: whichever runs first, the group exists before a stop
    m_Pid = pid;
    m_State = State::Running;
    m_Started = std::chrono::steady_clock::now();
    m_Failure.clear();
    return true;
}

void GfxWorker::Ended(int status) {
    m_Pid = -1;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) {
        m_State = State::Succeeded;
        return;
    }
    m_State = State::Failed;
    m_Failure = WIFEXITED(status) ? "exit status " + std::to_string(WEXITSTATUS(status))
                                  : "ended by signal " + std::to_string(WTERMSIG(status));
    if (const std::string line = FirstLine(m_ErrorFile); !line.empty()) m_Failure += ": " + line;
}

GfxWorker::State GfxWorker::Poll(bool wait) {
    while (m_State == State::Running) {
        int status = 0;
        const pid_t done = ::waitpid(m_Pid, &status, WNOHANG);
        if (done == m_Pid) {
            Ended(status);
            break;
        }
        if (done < 0 && errno != EINTR) {
            m_Pid = -1;
            m_State = State::Failed;
            m_Failure = std::string("lost the worker: ") + std::strerror(errno);
            break;
        }
        if (std::chrono::steady_clock::now() - m_Started > MaxRunTime) {
            Stop();
            m_State = State::Failed;
            m_Failure = "gave up after " + std::to_string(MaxRunTime.count() / 1000) + " s";
            break;
        }
        if (!wait) break;
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    return m_State;
}

void GfxWorker::Stop() {
    if (m_Pid <= 0) return;
    ::kill(-m_Pid, SIGKILL);
    ::kill(m_Pid, SIGKILL);  // in case it had not yet made its own group
    int status = 0;
    while (::waitpid(m_Pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_Pid = -1;
    m_State = State::Idle;
}

std::optional<pid_t> GfxWorker::Process() const {
    if (m_Pid <= 0) return std::nullopt;
    return m_Pid;
}

std::optional<std::filesystem::path> MakePrivateFolder(const std::filesystem::path& parent, const std::string& prefix) {
    std::string name = (parent / (prefix + "XXXXXX")).string();
    if (::mkdtemp(name.data()) == nullptr) return std::nullopt;
    return std::filesystem::path(name);
}
