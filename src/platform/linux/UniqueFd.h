#pragma once

#include <unistd.h>

// Owns a file descriptor and closes it when it goes out of scope.
class UniqueFd final {
public:
    explicit UniqueFd(int fd) : fd_(fd) { }
    ~UniqueFd()
    {
        if (fd_ >= 0)
            close(fd_);
    }
    UniqueFd(const UniqueFd&) = delete;
    UniqueFd& operator=(const UniqueFd&) = delete;
    int get() const { return fd_; }
    bool valid() const { return fd_ >= 0; }

private:
    int fd_;
};
