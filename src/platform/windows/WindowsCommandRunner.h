#pragma once

#include "platform/CommandRunner.h"

// Runs a batch file through the command interpreter with CreateProcessA. run() blocks its
// thread (the window runs it on a thread of its own); cancel() may come from any other thread.
class WindowsCommandRunner final : public CommandRunner {
public:
    WindowsCommandRunner();
    ~WindowsCommandRunner() override;
    WindowsCommandRunner(const WindowsCommandRunner&) = delete;
    WindowsCommandRunner& operator=(const WindowsCommandRunner&) = delete;

    int run(const std::string& scriptPath, double timeoutSeconds) override;
    void cancel() override;

private:
    void* cancelEvent_; // a manual-reset event, set by cancel()
};
