#pragma once

#include "platform/CommandRunner.h"

// Runs a batch file through the command interpreter with CreateProcessA.
class WindowsCommandRunner final : public CommandRunner {
public:
    int run(const std::string& scriptPath, double timeoutSeconds) override;
};
