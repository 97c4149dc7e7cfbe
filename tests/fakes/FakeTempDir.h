#pragma once

#include "platform/TempDir.h"

#include <QTemporaryDir>

#include <vector>

// Real directories below a throw-away base whose path holds blanks. Private
// directories are made owner-only; the test can make their creation fail or keep
// them after removal to look at what was left inside.
class FakeTempDir final : public TempDir {
public:
    FakeTempDir();

    std::optional<std::string> systemTempDir() override;
    std::optional<std::string> createPrivateDir() override;
    void removePrivateDir(const std::string& path) override;

    bool createFails = false;
    bool removeForReal = true;
    std::vector<std::string> created;
    std::vector<std::string> removed;

private:
    QTemporaryDir base_;
};
