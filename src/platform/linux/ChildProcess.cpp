#include "ChildProcess.h"

#include "UniqueFd.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <csignal>
#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <time.h>
#include <unistd.h>

extern char** environ;

namespace {

using SteadyClock = std::chrono::steady_clock;

constexpr std::size_t kMostCapturedBytes = 64 * 1024;

SteadyClock::time_point DeadlineAfter(double seconds)
{
    // NaN, negatives and absurdly long limits are clamped so the arithmetic stays sane.
    const double bounded = std::isfinite(seconds) ? std::clamp(seconds, 0.0, 86400.0 * 365) : 0.0;
    return SteadyClock::now()
        + std::chrono::duration_cast<SteadyClock::duration>(std::chrono::duration<double>(bounded));
}

int MillisecondsUntil(SteadyClock::time_point deadline)
{
    const auto left = deadline - SteadyClock::now();
    if (left <= SteadyClock::duration::zero())
        return 0;
    // Round up: poll() must not wake a hair before the deadline and loop.
    const auto ms = std::chrono::ceil<std::chrono::milliseconds>(left).count();
    return static_cast<int>(std::min<long long>(ms, 1 << 30));
}

bool Readable(int fd)
{
    pollfd entry{fd, POLLIN, 0};
    return fd >= 0 && poll(&entry, 1, 0) > 0;
}

// Blocks until the child can be reaped, the deadline passes or cancelFd becomes
// readable; true when it has ended.
bool WaitForExit(pid_t pid, SteadyClock::time_point deadline, int cancelFd)
{
    const UniqueFd pidfd(static_cast<int>(syscall(SYS_pidfd_open, pid, 0)));
    if (pidfd.valid()) {
        for (;;) {
            pollfd entries[2] = {{pidfd.get(), POLLIN, 0}, {cancelFd, POLLIN, 0}};
            const int ready = poll(entries, cancelFd >= 0 ? 2 : 1, MillisecondsUntil(deadline));
            if (ready < 0 && errno == EINTR)
                continue;
            return ready > 0 && (entries[0].revents & POLLIN);
        }
    }
    // Kernels before 5.3 have no pidfd: check at growing intervals (up to 50 ms) rather
    // than spin.
    long napNs = 1'000'000;
    for (;;) {
        siginfo_t info{};
        const int result = waitid(P_PID, static_cast<id_t>(pid), &info, WEXITED | WNOHANG | WNOWAIT);
        if (result == 0 && info.si_pid == pid)
            return true;
        if (result < 0 && errno != EINTR)
            return true; // nothing left to wait for; the reaping below reports it
        if (MillisecondsUntil(deadline) == 0 || Readable(cancelFd))
            return false;
        const timespec nap{0, std::min(napNs, MillisecondsUntil(deadline) * 1'000'000L)};
        nanosleep(&nap, nullptr);
        napNs = std::min(napNs * 2, 50'000'000L);
    }
}

pid_t Spawn(const std::vector<std::string>& argv, ChildOutput output, int captureFd)
{
    std::vector<char*> args;
    for (const std::string& arg : argv)
        args.push_back(const_cast<char*>(arg.c_str()));
    args.push_back(nullptr);

    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDIN_FILENO, "/dev/null", O_RDONLY, 0);
    if (output == ChildOutput::Discard) {
        posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
        posix_spawn_file_actions_adddup2(&files, STDOUT_FILENO, STDERR_FILENO);
    } else if (output == ChildOutput::Capture) {
        posix_spawn_file_actions_adddup2(&files, captureFd, STDOUT_FILENO);
        posix_spawn_file_actions_addopen(&files, STDERR_FILENO, "/dev/null", O_WRONLY, 0);
    }

    posix_spawnattr_t attributes;
    posix_spawnattr_init(&attributes);
    // A group of its own lets a time-out kill the script together with what it started.
    posix_spawnattr_setpgroup(&attributes, 0);
    // Signal dispositions and the mask this program uses are not the child's business.
    sigset_t none;
    sigemptyset(&none);
    posix_spawnattr_setsigmask(&attributes, &none);
    sigset_t defaults;
    sigemptyset(&defaults);
    for (int signal : {SIGPIPE, SIGINT, SIGQUIT, SIGTERM, SIGCHLD, SIGHUP})
        sigaddset(&defaults, signal);
    posix_spawnattr_setsigdefault(&attributes, &defaults);
    posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETPGROUP | POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF);

    pid_t pid = -1;
    const bool searchPath = argv[0].find('/') == std::string::npos;
    const int failed = searchPath ? posix_spawnp(&pid, args[0], &files, &attributes, args.data(), environ)
                                  : posix_spawn(&pid, args[0], &files, &attributes, args.data(), environ);
    posix_spawnattr_destroy(&attributes);
    posix_spawn_file_actions_destroy(&files);
    return failed == 0 ? pid : -1;
}

std::string CapturedText(int captureFd)
{
    std::string text(kMostCapturedBytes, '\0');
    std::size_t filled = 0;
    while (captureFd >= 0 && filled < text.size()) {
        const ssize_t got = pread(captureFd, text.data() + filled, text.size() - filled, static_cast<off_t>(filled));
        if (got < 0 && errno == EINTR)
            continue;
        if (got <= 0)
            break;
        filled += static_cast<std::size_t>(got);
    }
    text.resize(filled);
    return text;
}

} // namespace

ChildOutcome RunChildProcess(const std::vector<std::string>& argv, double timeoutSeconds, ChildOutput output,
                             int cancelFd)
{
    if (argv.empty() || argv[0].empty())
        return {};
    const auto deadline = DeadlineAfter(timeoutSeconds);
    // A file in memory rather than a pipe: the child never blocks on a full pipe while this
    // thread only waits for its end, and what it wrote is read once it has ended.
    const UniqueFd capture(output == ChildOutput::Capture ? memfd_create("child-output", MFD_CLOEXEC) : -1);
    if (output == ChildOutput::Capture && !capture.valid())
        return {};
    const pid_t pid = Spawn(argv, output, capture.get());
    if (pid <= 0)
        return {};

    const bool ended = WaitForExit(pid, deadline, cancelFd);
    if (!ended) {
        // The child is not reaped yet, so neither its pid nor its group id can have been
        // reused: killing the group here cannot hit an unrelated process.
        kill(-pid, SIGKILL);
        kill(pid, SIGKILL);
    }
    int status = 0;
    pid_t reaped;
    do {
        reaped = waitpid(pid, &status, 0);
    } while (reaped < 0 && errno == EINTR);

    if (!ended)
        return {ChildOutcome::Kind::TimedOut, 0};
    if (reaped != pid)
        return {};
    if (WIFEXITED(status))
        return {ChildOutcome::Kind::Exited, WEXITSTATUS(status), CapturedText(capture.get())};
    if (WIFSIGNALED(status))
        return {ChildOutcome::Kind::Signalled, WTERMSIG(status)};
    return {};
}
