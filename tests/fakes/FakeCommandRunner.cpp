#include "FakeCommandRunner.h"

#include <filesystem>
#include <fstream>
#include <iterator>

int FakeCommandRunner::run(const std::string& scriptPath, double timeoutSeconds)
{
    std::ifstream file(std::filesystem::path(scriptPath), std::ios::binary);
    std::string script((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    runs.push_back({scriptPath, std::move(script), timeoutSeconds});
    const std::size_t index = runs.size() - 1;
    if (whileRunning)
        whileRunning(runs.back());
    return index < exitCodes.size() ? exitCodes[index] : 0;
}
