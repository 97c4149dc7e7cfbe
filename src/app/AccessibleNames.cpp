#include "AccessibleNames.h"

#include "ControlTable.h"

#include <array>
#include <deque>
#include <string>

namespace {

std::string_view keep(std::string text)
{
    static std::deque<std::string> texts;
    return texts.emplace_back(std::move(text));
}

std::vector<AccessibleNameSpec> buildNames()
{
    std::vector<AccessibleNameSpec> names = {
        {"TabNIC", "Network adapters"},
        {"txtIP", "IP address of this PC", "labIP"},
        {"txtSubnet", "Subnet mask of this PC", "Label2"},
        {"txtGateway", "Gateway of this PC", "Label3"},
        {"txtDNS", "DNS of this PC", "Label5"},
        {"txtIPtoPing", "Address to test by ping"},
        {"picRefresh", "Search again"},
        {"txtServers", "Webservers found"},
        {"txtPort", "Port number", "Label1"},
        {"txtSSID", "SSID", "Label10"},
        {"txtKey", "Key", "Label11"},
        {"txtVoorstel(0)", "Suggested IP address", "Label9"},
        {"txtVoorstel(1)", "Suggested subnet mask", "Label8"},
        {"txtVoorstel(2)", "Suggested gateway", "Label7"},
        {"txtVoorstel(3)", "Suggested DNS", "Label6"},
        {"txtMurelPort", "Suggested port", "Label12"},
        {"lstSSID", "Wi-Fi networks"},
        {"lstSignal", "Wi-Fi signal strength"},
        {"picRescan", "Rescan Wi-Fi networks"},
    };
    static constexpr std::array<std::string_view, 4> rows = {"IP address", "Subnet mask", "Gateway", "DNS address"};
    for (int row = 0; row < 4; ++row)
        for (int octet = 0; octet < 4; ++octet)
            names.push_back({keep(ArrayName("txtIPadres", row * 4 + octet)),
                             keep(std::string(rows[row]) + ", octet " + std::to_string(octet + 1) + " of 4"),
                             octet == 0 ? keep(ArrayName("LabelIP", row)) : std::string_view()});
    return names;
}

} // namespace

const std::vector<AccessibleNameSpec>& AccessibleNames()
{
    static const std::vector<AccessibleNameSpec> names = buildNames();
    return names;
}
