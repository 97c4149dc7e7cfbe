#pragma once

#include "platform/CommandRunner.h"

// Runs a script with /bin/sh, handing the path over as one argument so that blanks and
// other special characters in it need no quoting.
class LinuxCommandRunner final : public CommandRunner {
public:
    // A script ended by a signal reports 128 + the signal number, as shells do.
    int run(const std::string& scriptPath, double timeoutSeconds) override;
};
