#include "NetshProvisioningCommands.h"

namespace {
// Inside a batch file a single % starts a variable reference, even between double
// quotes; doubling it keeps a path such as C:\Users\50%\ literal. Windows paths and
// the SSIDs used here hold no double quote, so the quotes need no escape of their own.
std::string BatchLiteral(const std::string& text)
{
    std::string out;
    for (char c : text) {
        out += c;
        if (c == '%')
            out += '%';
    }
    return out;
}
} // namespace

std::string NetshProvisioningCommands::stopWlan() const { return "sc stop wlansvc"; }

std::string NetshProvisioningCommands::startWlan() const { return "sc start wlansvc"; }

std::string NetshProvisioningCommands::addProfile(const std::string& profilePath, const std::string&,
                                                  const std::string&) const
{
    // The SSID and the passphrase travel in the document.
    return "netsh wlan add profile filename=\"" + BatchLiteral(profilePath) + "\"";
}

std::string NetshProvisioningCommands::connect(const std::string& ssid) const
{
    return "netsh wlan connect name=\"" + BatchLiteral(ssid) + "\"";
}
