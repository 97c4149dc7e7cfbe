#pragma once

#include "UniqueFd.h"

#include "platform/CommandRunner.h"

// Runs a script with /bin/sh, handing the path over as one argument so that blanks and
// other special characters in it need no quoting. run() blocks its thread (the window runs
// it on a thread of its own); cancel() may come from any other thread.
class LinuxCommandRunner final : public CommandRunner {
public:
    LinuxCommandRunner();
    // A script ended by a signal reports 128 + the signal number, as shells do.
    int run(const std::string& scriptPath, double timeoutSeconds) override;
    void cancel() override;

private:
    UniqueFd cancel_; // an eventfd: readable once cancel() has been called
};
