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

// Element text: markup characters escaped (">" too, so "]]>" cannot appear).
std::string XmlText(std::string_view text)
{
    std::string out;
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

bool HoldsControlCharacter(std::string_view text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            return true;
    }
    return false;
}

bool HoldsHighBytes(std::string_view text)
{
    for (const char c : text) {
        if (static_cast<unsigned char>(c) >= 0x80)
            return true;
    }
    return false;
}

} // namespace

std::optional<std::string> WlanProfileDocument(std::string_view ssid, std::string_view passphrase)
{
    if (HoldsControlCharacter(ssid) || HoldsControlCharacter(passphrase))
        return std::nullopt;
    // Without a declaration a parser reads UTF-8, in which a lone byte such as 0xE9 is an
    // error; one byte per character is ISO-8859-1.
    const bool declared = HoldsHighBytes(ssid) || HoldsHighBytes(passphrase);
    const std::string name = XmlText(ssid);
    const std::array<std::string, 30> lines = {
        declared ? R"(<?xml version="1.0" encoding="ISO-8859-1"?>)" : R"(<?xml version="1.0"?>)",
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
