#pragma once

#include "UniqueFd.h"

#include "platform/CommandRunner.h"

class EventWaiter;

// Runs a script with /bin/sh, handing the path over as one argument so that blanks and
// other special characters in it need no quoting. With a waiter, the program's events
// run while the script does (see CallLettingEventsRun), so cancel() can be reached.
class LinuxCommandRunner final : public CommandRunner {
public:
    explicit LinuxCommandRunner(EventWaiter* waiter = nullptr);
    // A script ended by a signal reports 128 + the signal number, as shells do.
    int run(const std::string& scriptPath, double timeoutSeconds) override;
    void cancel() override;

private:
    EventWaiter* waiter_;
    UniqueFd cancel_; // an eventfd: readable once cancel() has been called
};
