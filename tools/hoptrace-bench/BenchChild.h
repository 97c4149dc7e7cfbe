#pragma once

#include <string>
#include <vector>

#include <sys/types.h>

// A child process whose standard output the benchmark reads line by line.
class BenchChild final {
public:
    explicit BenchChild(const std::vector<std::string>& command);
    ~BenchChild();
    BenchChild(const BenchChild&) = delete;
    BenchChild& operator=(const BenchChild&) = delete;

    // The next line without its line end; empty when the child has ended.
    std::string readLine();
    int wait();

private:
    pid_t pid_ = -1;
    FILE* out_ = nullptr;
};
