#pragma once

#include <optional>
#include <string>

class TempDir;

// The files of one connection run. They hold the setup passphrase and one of them is
// executed, so they live in a directory made for the run that only the user may
// read and write (fixed names in the shared temporary directory could be planted or
// swapped by another local user), and are gone when the run ends.
class ProvisioningFiles final {
public:
    static constexpr char kScriptName[] = "TK.bat";
    static constexpr char kProfileName[] = "TKProfile.txt";
    static constexpr char kLogName[] = "TKlog.txt";
    // A command that has not ended by then is ended and counts as failed.
    static constexpr double kCommandTimeoutSeconds = 60.0;

    // scriptLineEnd: what ends a line for the platform's script interpreter.
    ProvisioningFiles(TempDir& tempDir, std::string scriptLineEnd);
    ~ProvisioningFiles();
    ProvisioningFiles(const ProvisioningFiles&) = delete;
    ProvisioningFiles& operator=(const ProvisioningFiles&) = delete;

    // Makes the private directory; false when the platform cannot.
    bool create();
    // Writes the script file with this one line, replacing its content; its path, or
    // nothing when the line was refused or the file could not be written (nothing may run then).
    std::optional<std::string> writeScript(const std::optional<std::string>& commandLine);
    // Writes the profile document; false when it could not be written.
    bool writeProfile(const std::string& document);
    // Full path of the profile document; empty without a directory.
    std::string profilePath() const;
    // Deletes the profile, the script and the log file, then the directory.
    // Every error is ignored; calling it again does nothing.
    void cleanUp();

private:
    std::string pathOf(const char* name) const;

    TempDir& tempDir_;
    std::string lineEnd_;
    std::optional<std::string> dir_;
};
