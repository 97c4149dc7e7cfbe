#include "NmcliProvisioningCommands.h"

namespace {

// One shell word whatever the text holds: single quotes keep everything literal,
// and a single quote itself is closed, escaped and reopened.
std::string ShellWord(const std::string& text)
{
    std::string out = "'";
    for (char c : text) {
        if (c == '\'')
            out += "'\\''";
        else
            out += c;
    }
    return out + "'";
}

// nmcli reports a refused authorization with the general codes 1 or 4, so the line
// reads its (untranslated) message: "Not authorized to control networking.",
// "... Not authorized to perform this operation", "Insufficient privileges" or the
// D-Bus error name. Its output is passed on to stderr. stdin is closed so that
// nmcli never waits for a password on a terminal.
std::string Nmcli(const std::string& arguments)
{
    return "out=$(LC_ALL=C nmcli " + arguments
        + " </dev/null 2>&1); code=$?; "
          "[ -z \"$out\" ] || printf '%s\\n' \"$out\" >&2; "
          "[ $code -eq 0 ] || case $out in "
          "*[Nn]'ot authorized'*|*[Ii]'nsufficient privileges'*|*PermissionDenied*) exit 5;; esac; "
          "exit $code";
}

// Single quotes carry every byte but NUL, which would end the argument early.
bool HoldsNul(const std::string& text) { return text.find('\0') != std::string::npos; }

} // namespace

std::string NmcliProvisioningCommands::stopWlan() const { return Nmcli("radio wifi off"); }

std::string NmcliProvisioningCommands::startWlan() const { return Nmcli("radio wifi on"); }

std::optional<std::string> NmcliProvisioningCommands::addProfile(const std::string&, const std::string& ssid,
                                                                 const std::string& passphrase) const
{
    if (HoldsNul(ssid) || HoldsNul(passphrase))
        return std::nullopt;
    // The same values as the profile document: hidden ESS network, manual connection,
    // WPA2 personal with AES (RSN, CCMP), the passphrase stored in the profile, the
    // adapter's own MAC address. A profile of that name left from an earlier run is
    // replaced; its absence is no error.
    const std::string name = ShellWord(ssid);
    return "LC_ALL=C nmcli connection delete id " + name + " </dev/null >/dev/null 2>&1; "
        + Nmcli("connection add type wifi con-name " + name + " ssid " + name
                + " connection.autoconnect no wifi.mode infrastructure wifi.hidden yes"
                  " wifi.cloned-mac-address permanent wifi-sec.key-mgmt wpa-psk wifi-sec.proto rsn"
                  " wifi-sec.pairwise ccmp wifi-sec.group ccmp wifi-sec.psk-flags 0 wifi-sec.psk "
                + ShellWord(passphrase));
}

std::optional<std::string> NmcliProvisioningCommands::connect(const std::string& ssid) const
{
    if (HoldsNul(ssid))
        return std::nullopt;
    return Nmcli("connection up id " + ShellWord(ssid));
}
