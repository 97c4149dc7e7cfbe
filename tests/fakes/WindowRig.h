#pragma once

#include "FakeServices.h"

#include <QStringList>

#include <string_view>
#include <utility>

#include "app/frmHoptrace.h"

// The whole window on fake services in virtual time.
class WindowRig {
public:
    // Builds and shows the window and runs its start-up sequence.
    void load();
    // Lets the running search come to its end (its deadline plus the finishing tick).
    void finishSearch() { fakes.time.advance(4.5); }
    // Lets virtual time run until the running command, ping, scan or gateway sequence has
    // ended: the moment a handler that waited inside itself would have returned.
    void finishOperation();
    // Clicks into txtServers with the caret after `position` characters of the list text.
    void clickServerListAt(std::size_t position);
    // Loads the window and lets a search list `replies`, then end.
    void listReplies(const std::vector<std::string>& replies);
    // Widens the window over the Wi-Fi panel, which lies beyond its edge after start.
    void showWifiPanel();

    const Controls& c() const { return window->controls(); }
    std::string serverText() const;
    // Sends of one kind, e.g. "TAVIKwebserver|List|".
    int sentCount(const std::string& bytes) const;

    FakeServices fakes;
    std::unique_ptr<frmHoptrace> window;
};

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
