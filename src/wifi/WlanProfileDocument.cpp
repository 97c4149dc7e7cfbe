#include "WlanProfileDocument.h"

#include <array>

namespace {

std::string UpperHex(std::string_view bytes)
{
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string hex;
    for (char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        hex += digits[b >> 4];
        hex += digits[b & 0x0F];
    }
    return hex;
}

// Element text; the two setup SSIDs hold nothing to escape, but a name with
// markup characters must not break the document.
std::string XmlText(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace

std::string WlanProfileDocument(std::string_view ssid, std::string_view passphrase)
{
    const std::string name = XmlText(ssid);
    const std::array<std::string, 30> lines = {
        R"(<?xml version="1.0"?>)",
        R"(<WLANProfile xmlns="http://www.microsoft.com/networking/WLAN/profile/v1">)",
        "<name>" + name + "</name>",
        "<SSIDConfig>",
        "<SSID>",
        "<hex>" + UpperHex(ssid) + "</hex>",
        "<name>" + name + "</name>",
        "</SSID>",
        "<nonBroadcast>true</nonBroadcast>",
        "</SSIDConfig>",
        "<connectionType>ESS</connectionType>",
        "<connectionMode>manual</connectionMode>",
        "<MSM>",
        "<security>",
        "<authEncryption>",
        "<authentication>WPA2PSK</authentication>",
        "<encryption>AES</encryption>",
        "<useOneX>false</useOneX>",
        "</authEncryption>",
        "<sharedKey>",
        "<keyType>passPhrase</keyType>",
        "<protected>false</protected>",
        "<keyMaterial>" + XmlText(passphrase) + "</keyMaterial>",
        "</sharedKey>",
        "</security>",
        "</MSM>",
        R"(<MacRandomization xmlns="http://www.microsoft.com/networking/WLAN/profile/v3">)",
        "<enableRandomization>false</enableRandomization>",
        "</MacRandomization>",
        "</WLANProfile>",
    };
    std::string document;
    for (const std::string& line : lines)
        document += line + "\r\n";
    return document;
}
