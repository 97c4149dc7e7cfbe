#pragma once

#include "platform/CommandRunner.h"

#include <functional>
#include <string>
#include <vector>

// Runs nothing: records each script with the content it had when it was run and
// answers with the exit codes the test chose.
class FakeCommandRunner final : public CommandRunner {
public:
    struct Run {
        std::string scriptPath;
        std::string script; // the file's bytes at the moment of the run
        double timeoutSeconds;
    };

    int run(const std::string& scriptPath, double timeoutSeconds) override;
    void cancel() override { ++cancels; }

    // Exit code of run n (from 0); runs beyond the list end with 0.
    std::vector<int> exitCodes;
    std::vector<Run> runs;
    int cancels = 0;
    // Runs while the command "runs", e.g. to look at the window or the files.
    std::function<void(const Run&)> whileRunning;
};
