#include "LinuxCommandRunner.h"

#include "ChildProcess.h"

#include <cstdint>
#include <sys/eventfd.h>
#include <sys/stat.h>
#include <unistd.h>

LinuxCommandRunner::LinuxCommandRunner() : cancel_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)) { }

void LinuxCommandRunner::cancel()
{
    const std::uint64_t one = 1;
    if (cancel_.valid())
        (void)!write(cancel_.get(), &one, sizeof one);
}

int LinuxCommandRunner::run(const std::string& scriptPath, double timeoutSeconds)
{
    // The shell reports an unreadable script with its own exit status (127), which a
    // script could also return on purpose; checking first keeps "could not start" apart.
    struct stat info{};
    if (scriptPath.empty() || stat(scriptPath.c_str(), &info) != 0 || !S_ISREG(info.st_mode)
        || access(scriptPath.c_str(), R_OK) != 0)
        return -1;

    // A cancel from before this run does not end it.
    std::uint64_t stale = 0;
    if (cancel_.valid())
        (void)!read(cancel_.get(), &stale, sizeof stale);
    // "--" keeps a path that begins with "-" from being read as a shell option.
    const ChildOutcome outcome = RunChildProcess({"/bin/sh", "--", scriptPath}, timeoutSeconds, ChildOutput::Inherit,
                                                 cancel_.get());
    switch (outcome.kind) {
    case ChildOutcome::Kind::Exited:
        return outcome.code;
    case ChildOutcome::Kind::Signalled:
        return 128 + outcome.code;
    case ChildOutcome::Kind::NotStarted:
    case ChildOutcome::Kind::TimedOut:
        break;
    }
    return -1;
}
