#pragma once

#include "platform/CommandRunner.h"

#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

// Runs nothing: records each script with the bytes it had when it was run and answers with
// the exit codes the test chose (runs beyond the list end with 0).
class FakeCommandRunner final : public CommandRunner {
public:
    struct Run {
        std::string scriptPath, script; // the script's bytes when it was run
    };

    int run(const std::string& scriptPath, double) override
    {
        std::ifstream file(scriptPath, std::ios::binary);
        runs.push_back({scriptPath, {std::istreambuf_iterator<char>(file), {}}});
        if (whileRunning)
            whileRunning(runs.back());
        return runs.size() <= exitCodes.size() ? exitCodes[runs.size() - 1] : 0;
    }
    void cancel() override { ++cancels; }

    std::vector<int> exitCodes;
    std::vector<Run> runs;
    int cancels = 0;
    // Runs while the command "runs", e.g. to look at the window or the files.
    std::function<void(const Run&)> whileRunning;
};
