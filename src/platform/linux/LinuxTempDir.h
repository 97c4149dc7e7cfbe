#pragma once

#include "platform/TempDir.h"

// $TMPDIR (when it names a directory) or /tmp; private directories are made with mkdtemp
// as "hoptrace-XXXXXX" inside it.
class LinuxTempDir final : public TempDir {
public:
    std::optional<std::string> systemTempDir() override;
    std::optional<std::string> createPrivateDir() override;
    // Only removes a directory whose name has the form createPrivateDir gives, that is
    // no symbolic link and that belongs to this user; anything else is left alone.
    void removePrivateDir(const std::string& path) override;
};
