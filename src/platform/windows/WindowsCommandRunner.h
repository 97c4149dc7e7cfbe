#pragma once

#include "platform/CommandRunner.h"

class EventWaiter;

// Runs a batch file through the command interpreter with CreateProcessA. With a waiter,
// the program's events run while the batch does (see CallLettingEventsRun), so cancel()
// can be reached.
class WindowsCommandRunner final : public CommandRunner {
public:
    explicit WindowsCommandRunner(EventWaiter* waiter = nullptr);
    ~WindowsCommandRunner() override;
    WindowsCommandRunner(const WindowsCommandRunner&) = delete;
    WindowsCommandRunner& operator=(const WindowsCommandRunner&) = delete;

    int run(const std::string& scriptPath, double timeoutSeconds) override;
    void cancel() override;

private:
    EventWaiter* waiter_;
    void* cancelEvent_; // a manual-reset event, set by cancel()
};
