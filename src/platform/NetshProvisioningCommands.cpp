#include "NetshProvisioningCommands.h"

namespace {
// Inside a batch file a single % starts a variable reference, even between double
// quotes; doubling it keeps a path such as C:\Users\50%\ literal.
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
// The command interpreter has no escape for a double quote inside a quoted word: one
// would close the quotes and let the rest run as commands ("x\" & calc & \""). A line
// break ends the command and NUL ends the text. Such names are refused.
bool CarriesSafely(const std::string& text)
{
    return text.find_first_of(std::string("\"\r\n\0", 4)) == std::string::npos;
}
} // namespace

std::string NetshProvisioningCommands::stopWlan() const { return "sc stop wlansvc"; }

std::string NetshProvisioningCommands::startWlan() const { return "sc start wlansvc"; }

std::optional<std::string> NetshProvisioningCommands::addProfile(const std::string& profilePath,
                                                                 const std::string& ssid,
                                                                 const std::string& passphrase) const
{
    // The SSID and the passphrase travel in the document, but are held to the same rule
    // as the connect line that names the profile.
    if (!CarriesSafely(profilePath) || !CarriesSafely(ssid) || !CarriesSafely(passphrase))
        return std::nullopt;
    return "netsh wlan add profile filename=\"" + BatchLiteral(profilePath) + "\"";
}

std::optional<std::string> NetshProvisioningCommands::connect(const std::string& ssid) const
{
    if (!CarriesSafely(ssid))
        return std::nullopt;
    return "netsh wlan connect name=\"" + BatchLiteral(ssid) + "\"";
}
