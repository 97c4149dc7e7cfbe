#include "FakeTempDir.h"

#include <QDir>

#include <filesystem>
#include <system_error>

FakeTempDir::FakeTempDir() : base_(QDir::tempPath() + QStringLiteral("/hoptrace test dir XXXXXX")) { }

std::optional<std::string> FakeTempDir::systemTempDir()
{
    if (!base_.isValid())
        return std::nullopt;
    return base_.path().toStdString() + "/";
}

std::optional<std::string> FakeTempDir::createPrivateDir()
{
    if (createFails || !base_.isValid())
        return std::nullopt;
    namespace fs = std::filesystem;
    const fs::path dir = fs::path(base_.path().toStdString()) / ("private " + std::to_string(created.size()));
    std::error_code error;
    if (!fs::create_directory(dir, error))
        return std::nullopt;
    fs::permissions(dir, fs::perms::owner_all, fs::perm_options::replace, error);
    created.push_back(dir.string() + "/");
    return created.back();
}

void FakeTempDir::removePrivateDir(const std::string& path)
{
    removed.push_back(path);
    if (removeForReal) {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
}
