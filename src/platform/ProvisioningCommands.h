#pragma once

#include <optional>
#include <string>

// The four command lines that restart the PC's WLAN, register the setup access
// point's profile and join it, in the command language of the platform's script
// interpreter. Each result is one complete line without its line end. A name or key
// that the interpreter's quoting cannot carry safely is refused (no line).
class ProvisioningCommands {
public:
    virtual ~ProvisioningCommands() = default;
    // Run 1: stops the WLAN service (or switches the Wi-Fi radio off).
    virtual std::string stopWlan() const = 0;
    // Run 2: starts it again.
    virtual std::string startWlan() const = 0;
    // Run 3: registers a profile named ssid for a hidden WPA2-PSK (AES) network ssid,
    // connected by hand only. profilePath is the profile document the platform reads
    // when it has such a document format.
    virtual std::optional<std::string> addProfile(const std::string& profilePath, const std::string& ssid,
                                                  const std::string& passphrase) const = 0;
    // Run 4: connects to the profile named ssid.
    virtual std::optional<std::string> connect(const std::string& ssid) const = 0;
    // What ends a line in a script file of this interpreter.
    virtual std::string lineEnd() const = 0;
    // Exit code of a run the platform refused for lack of rights.
    static constexpr int kAccessDenied = 5;
};
