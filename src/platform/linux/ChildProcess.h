#pragma once

#include <string>
#include <vector>

// How a child program ended.
struct ChildOutcome {
    enum class Kind {
        NotStarted, // the program could not be started
        Exited,     // it ended by itself; code holds its exit status
        Signalled,  // a signal ended it; code holds the signal number
        TimedOut,   // it ran past the time limit and its whole process group was killed
    };
    Kind kind = Kind::NotStarted;
    int code = 0;
    std::string output{}; // with ChildOutput::Capture: the start of its standard output
};

enum class ChildOutput {
    Inherit, // standard output and error are this program's
    Discard, // both go to /dev/null
    Capture, // standard output kept (its first 64 KiB) in ChildOutcome::output, error discarded
};

// Starts argv[0] (searched in PATH when it holds no "/") with the argument vector as it
// stands, in a process group of its own, stdin from /dev/null. Sleeps until it ends or
// timeoutSeconds pass; on the time limit the whole group is killed. The child is always
// reaped before this returns, so it never leaves a zombie behind. A readable cancelFd
// (when given) ends it the same way as the time limit.
ChildOutcome RunChildProcess(const std::vector<std::string>& argv, double timeoutSeconds, ChildOutput output,
                             int cancelFd = -1);
