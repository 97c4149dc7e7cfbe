#include "LinuxTempDir.h"

#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char* kPrefix = "hoptrace-";
constexpr std::size_t kRandomLength = 6; // mkdtemp's "XXXXXX"

bool IsDirectory(const std::string& path)
{
    struct stat info{};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string WithSeparator(std::string path)
{
    if (path.empty() || path.back() != '/')
        path += '/';
    return path;
}

// True when name is "hoptrace-" followed by the six letters or digits that mkdtemp puts in.
bool IsPrivateDirName(const std::string& name)
{
    const std::string prefix = kPrefix;
    if (name.size() != prefix.size() + kRandomLength || name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i) {
        if (!std::isalnum(static_cast<unsigned char>(name[i])))
            return false;
    }
    return true;
}

} // namespace

std::optional<std::string> LinuxTempDir::systemTempDir()
{
    const char* fromEnvironment = std::getenv("TMPDIR");
    if (fromEnvironment && *fromEnvironment && IsDirectory(fromEnvironment))
        return WithSeparator(fromEnvironment);
    if (IsDirectory("/tmp"))
        return std::string("/tmp/");
    return std::nullopt;
}

std::optional<std::string> LinuxTempDir::createPrivateDir()
{
    const auto base = systemTempDir();
    if (!base)
        return std::nullopt;
    std::string pattern = *base + kPrefix + std::string(kRandomLength, 'X');
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    // mkdtemp makes the directory with mode 0700 whatever the umask says.
    if (!mkdtemp(buffer.data()))
        return std::nullopt;
    return std::string(buffer.data()) + "/";
}

void LinuxTempDir::removePrivateDir(const std::string& path)
{
    const auto base = systemTempDir();
    if (!base)
        return;
    std::string directory = path;
    while (directory.size() > 1 && directory.back() == '/')
        directory.pop_back();
    if (directory.size() <= base->size() || directory.compare(0, base->size(), *base) != 0
        || !IsPrivateDirName(directory.substr(base->size())))
        return;
    struct stat info{};
    if (lstat(directory.c_str(), &info) != 0 || !S_ISDIR(info.st_mode) || info.st_uid != geteuid())
        return;
    // remove_all does not follow symbolic links inside the directory.
    std::error_code ignored;
    std::filesystem::remove_all(directory, ignored);
}
