#pragma once

#include <QStringList>

#include <string>
#include <string_view>
#include <utility>

struct ReplyFields {
    std::string host = "Tavik-WS";
    std::string mac = "00:08:DC:00:00:01";
    std::string assignment = "DHCP";
    std::string address = "192.168.1.20:80";
    std::string mask = "255.255.255.0";
    std::string gateway = "192.168.1.1";
    std::string dns = "192.168.1.1";
    QStringList missing{};    // labels whose lines the device leaves out
    bool firmwareLine = true; // without it the reply ends with its DNS value, no line break after it
};

// A webserver's reply block: labelled lines with " : " and CR LF, and one more line at the end.
inline std::string TavikReply(const ReplyFields& f = {})
{
    const std::pair<const char*, std::string> lines[] = {
        {"Host Name", f.host},   {"MAC Address", f.mac}, {"IP Assignment", f.assignment}, {"IP Address", f.address},
        {"SubNet Mask", f.mask}, {"Gateway", f.gateway}, {"DNS Server", f.dns},           {"Firmware", "1.07"}};
    std::string reply;
    for (const auto& [label, value] : lines) {
        if (f.missing.contains(label) || (!f.firmwareLine && std::string_view(label) == "Firmware"))
            continue;
        reply += (reply.empty() ? "" : "\r\n") + std::string(label) + " : " + value;
    }
    return f.firmwareLine ? reply + "\r\n" : reply;
}
