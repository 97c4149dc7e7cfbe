#include "ProvisioningFiles.h"

#include "platform/TempDir.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace {

// Creates or empties the file and writes the bytes as they are.
bool WriteBytes(const std::string& path, const std::string& bytes)
{
    std::ofstream file(std::filesystem::path(path), std::ios::binary | std::ios::trunc);
    if (!file)
        return false;
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    file.close();
    return !file.fail();
}

void RemoveIgnoringErrors(const std::string& path)
{
    std::error_code ignored;
    std::filesystem::remove(std::filesystem::path(path), ignored);
}

} // namespace

ProvisioningFiles::ProvisioningFiles(TempDir& tempDir, std::string scriptLineEnd)
    : tempDir_(tempDir), lineEnd_(std::move(scriptLineEnd))
{ }

ProvisioningFiles::~ProvisioningFiles() { cleanUp(); }

bool ProvisioningFiles::create()
{
    if (!dir_)
        dir_ = tempDir_.createPrivateDir();
    return dir_.has_value();
}

std::optional<std::string> ProvisioningFiles::writeScript(const std::optional<std::string>& commandLine)
{
    if (!dir_ || !commandLine)
        return std::nullopt;
    const std::string script = pathOf(kScriptName);
    if (!WriteBytes(script, *commandLine + lineEnd_))
        return std::nullopt; // never run a script left over from the previous command
    return script;
}

bool ProvisioningFiles::writeProfile(const std::string& document)
{
    return dir_ && WriteBytes(pathOf(kProfileName), document);
}

std::string ProvisioningFiles::profilePath() const { return dir_ ? pathOf(kProfileName) : std::string(); }

void ProvisioningFiles::cleanUp()
{
    if (!dir_)
        return;
    RemoveIgnoringErrors(pathOf(kProfileName));
    RemoveIgnoringErrors(pathOf(kScriptName));
    RemoveIgnoringErrors(pathOf(kLogName));
    tempDir_.removePrivateDir(*dir_);
    dir_.reset();
}

std::string ProvisioningFiles::pathOf(const char* name) const { return *dir_ + name; }
