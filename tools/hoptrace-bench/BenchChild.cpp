#include "BenchChild.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

BenchChild::BenchChild(const std::vector<std::string>& command)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return;
    pid_ = fork();
    if (pid_ == 0) {
        dup2(pipeFds[1], STDOUT_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        std::vector<char*> argv;
        for (const std::string& word : command)
            argv.push_back(const_cast<char*>(word.c_str()));
        argv.push_back(nullptr);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeFds[1]);
    out_ = fdopen(pipeFds[0], "r");
}

BenchChild::~BenchChild() { wait(); }

std::string BenchChild::readLine()
{
    char line[512];
    if (out_ == nullptr || std::fgets(line, sizeof line, out_) == nullptr)
        return {};
    std::string text(line);
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r'))
        text.pop_back();
    return text;
}

int BenchChild::wait()
{
    if (out_ != nullptr) {
        std::fclose(out_);
        out_ = nullptr;
    }
    int status = 0;
    if (pid_ > 0) {
        waitpid(pid_, &status, 0);
        pid_ = -1;
    }
    return status;
}
