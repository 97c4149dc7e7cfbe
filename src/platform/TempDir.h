#pragma once

#include <optional>
#include <string>

// Where temporary files go.
class TempDir {
public:
    virtual ~TempDir() = default;
    // The platform's temporary directory, ending with a path separator; nothing on failure.
    virtual std::optional<std::string> systemTempDir() = 0;
    // A new directory inside it that only the current user may read and write,
    // ending with a path separator; nothing on failure.
    virtual std::optional<std::string> createPrivateDir() = 0;
    // Removes a directory made by createPrivateDir and whatever is left in it; errors are ignored.
    virtual void removePrivateDir(const std::string& path) = 0;
};
