#pragma once

#include "platform/TempDir.h"

#include <QDir>
#include <QTemporaryDir>

#include <filesystem>
#include <vector>

// Real directories below a throw-away base whose path holds blanks, the private ones owner-only. A test can
// make their creation fail, or keep them after removal to look at what was left inside.
class FakeTempDir final : public TempDir {
public:
    std::optional<std::string> systemTempDir() override { return base_.path().toStdString() + "/"; }
    std::optional<std::string> createPrivateDir() override
    {
        const std::string dir = base_.path().toStdString() + "/private " + std::to_string(created.size()) + "/";
        std::error_code error;
        if (createFails || !std::filesystem::create_directory(dir, error))
            return std::nullopt;
        std::filesystem::permissions(dir, std::filesystem::perms::owner_all, error);
        return created.emplace_back(dir);
    }
    void removePrivateDir(const std::string& path) override
    {
        removed.push_back(path);
        std::error_code ignored;
        if (removeForReal)
            std::filesystem::remove_all(path, ignored);
    }

    bool createFails = false, removeForReal = true;
    std::vector<std::string> created, removed;

private:
    QTemporaryDir base_{QDir::tempPath() + QStringLiteral("/hoptrace test dir XXXXXX")};
};
