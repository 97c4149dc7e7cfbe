#include "ControlTable.h"

#include <array>
#include <deque>
#include <string>

namespace {

using K = ControlKind;

// Names built for array members must outlive the table's string_views.
std::string_view keep(std::string name)
{
    static std::deque<std::string> names;
    return names.emplace_back(std::move(name));
}

void addOctetBoxes(std::vector<ControlSpec>& table)
{
    // Four rows of four boxes: caption at the left, "." labels between the boxes.
    static constexpr std::array<std::string_view, 4> rowCaptions = {"IP address", "Subnetmask", "Gateway",
                                                                    "DNS address"};
    constexpr int firstTop = 300, rowStep = 420, boxLeft = 1380, boxStep = 630, boxWidth = 435;
    for (int row = 0; row < 4; ++row) {
        const int top = firstTop + row * rowStep;
        table.push_back({keep(ArrayName("LabelIP", row)), K::Label, "fraIP", rowCaptions[row], 120, top + 30,
                         1200, 210});
        for (int octet = 0; octet < 4; ++octet) {
            const int left = boxLeft + octet * boxStep;
            table.push_back({keep(ArrayName("txtIPadres", row * 4 + octet)), K::TextBox, "fraIP", "", left, top,
                             boxWidth, 285, 0, 3});
            if (octet < 3)
                table.push_back({keep(ArrayName("Label4", row * 3 + octet)), K::Label, "fraIP", ".",
                                 left + boxWidth + 45, top + 30, 120, 210});
        }
    }
}

std::vector<ControlSpec> buildTable()
{
    std::vector<ControlSpec> t = {
        {"cmdReboot", K::Button, "", "Reboot", 255, 60, 2550, 495, Disabled},
        {"cmdSetIP", K::Button, "", "Set IP", 4095, 60, 2550, 495, Disabled},
        {"cmdDefault", K::Button, "", "Load defaults", 3510, 705, 2550, 495, Disabled | Hidden},
        {"Animation1", K::Animation, "", "", 3150, 0, 510, 405, Hidden},
        {"labStatus", K::Label, "", "", 75, 730, 6820, 240},
        {"TabNIC", K::TabStrip, "", "NIC #1", 15, 1050, 6870, 2565},
        {"fraPC", K::Frame, "", "IPconfig on this PC", 135, 1440, 3090, 1875},
        {"labNICName", K::Label, "fraPC", "...", 150, 300, 2820, 210},
        {"labIP", K::Label, "fraPC", "IP address:", 150, 645, 1005, 210},
        {"Label2", K::Label, "fraPC", "Subnet mask:", 150, 945, 1005, 210},
        {"Label3", K::Label, "fraPC", "Gateway:", 150, 1245, 1005, 210},
        {"Label5", K::Label, "fraPC", "DNS:", 150, 1545, 1005, 210},
        {"txtIP", K::TextBox, "fraPC", "", 1305, 615, 1710, 285},
        {"txtSubnet", K::TextBox, "fraPC", "", 1305, 915, 1710, 285},
        {"txtGateway", K::TextBox, "fraPC", "", 1305, 1215, 1710, 285},
        {"txtDNS", K::TextBox, "fraPC", "", 1305, 1515, 1710, 285, Hidden},
        {"fraMurel", K::Frame, "", "Murel", 3660, 1440, 2880, 1320, Disabled},
        {"chkOldMurel", K::CheckBox, "fraMurel", "Old Murel (FW<200501)", 450, 225, 2000, 255},
        {"cmdWiFiConnect", K::WrappingButton, "fraMurel", "Connect to TAVIK-MUREL and open Portal in web browser",
         390, 495, 2100, 720, Disabled},
        {"txtIPtoPing", K::TextBox, "", "", 4493, 2895, 1400, 285},
        {"cmdPing", K::Button, "", "Test via Ping", 4493, 3240, 1400, 330},
        {"picRefresh", K::PictureButton, "", "", 6315, 3135, 555, 540},
        {"txtServers", K::MultiLineTextBox, "", "", 45, 3675, 6825, 5310, Locked},
        {"fraSetIP", K::Frame, "", "IP setup", 150, 4470, 5430, 2820, Hidden},
        {"cmdIPOK", K::Button, "fraSetIP", "OK", 4365, 2145, 1000, 510},
        {"cmdIPCancel", K::Button, "fraSetIP", "Cancel", 4335, 1290, 1000, 510},
        {"Frame2", K::Frame, "fraSetIP", "Frame2", 180, 225, 4995, 2520, NoBorder},
        {"optAutoIP(0)", K::OptionButton, "Frame2", "DHCP", 180, 75, 1080, 270, Selected},
        {"optAutoIP(1)", K::OptionButton, "Frame2", "Fix IP", 180, 375, 780, 270},
        {"Label1", K::Label, "Frame2", "Port Number", 2925, 75, 990, 180},
        {"txtPort", K::TextBox, "Frame2", "8080", 4080, 45, 645, 255, 0, 5},
        {"fraIP", K::Frame, "Frame2", "fraIP", 75, 405, 4000, 2025, Disabled | NoBorder},
    };
    addOctetBoxes(t);
    const std::vector<ControlSpec> wifiPanel = {
        {"Frame1", K::Frame, "", "Available WiFi networks", 6945, 60, 4665, 8895},
        {"fraVoorstel", K::Frame, "Frame1", "Suggested for MUREL/Server on this interface", 105, 195, 4365, 2625,
         Disabled},
        {"Label10", K::Label, "fraVoorstel", "SSID", 135, 360, 885, 210},
        {"txtSSID", K::TextBox, "fraVoorstel", "", 1335, 330, 1710, 300, LightGreen},
        {"Label11", K::Label, "fraVoorstel", "Key", 135, 660, 885, 210},
        {"txtKey", K::TextBox, "fraVoorstel", "", 1335, 645, 1710, 300, LightGreen},
        {"Label9", K::Label, "fraVoorstel", "IP address:", 135, 975, 1005, 210},
        {"txtVoorstel(0)", K::TextBox, "fraVoorstel", "", 1335, 960, 1710, 285, LightGreen},
        {"Label8", K::Label, "fraVoorstel", "Subnet mask:", 135, 1275, 1005, 210},
        {"txtVoorstel(1)", K::TextBox, "fraVoorstel", "", 1335, 1260, 1710, 285, LightGreen | Locked},
        {"Label7", K::Label, "fraVoorstel", "Gateway:", 135, 1575, 1005, 210},
        {"txtVoorstel(2)", K::TextBox, "fraVoorstel", "", 1335, 1560, 1710, 285, LightGreen | Locked},
        {"Label6", K::Label, "fraVoorstel", "DNS:", 135, 1890, 1005, 210},
        {"txtVoorstel(3)", K::TextBox, "fraVoorstel", "", 1335, 1860, 1710, 285, LightGreen | Locked},
        {"Label12", K::Label, "fraVoorstel", "Port", 135, 2190, 855, 255},
        {"txtMurelPort", K::TextBox, "fraVoorstel", "8082", 1335, 2160, 720, 300, LightGreen, 6},
        {"labProgress", K::Label, "Frame1", "", 105, 2880, 4530, 855},
        {"Label13", K::Label, "Frame1",
         "When list is not complete, please first click on network icon on windows toolbar. Then retry or "
         "restart Hoptrace...",
         180, 3510, 3300, 600},
        {"lstSSID", K::ListBox, "Frame1", "", 180, 4185, 3630, 4545},
        {"lstSignal", K::ListBox, "Frame1", "", 3855, 4185, 705, 4545},
        {"picRescan", K::PictureButton, "", "", 10995, 3705, 555, 540},
    };
    t.insert(t.end(), wifiPanel.begin(), wifiPanel.end());
    return t;
}

} // namespace

std::string ArrayName(std::string_view name, int index)
{
    return std::string(name) + "(" + std::to_string(index) + ")";
}

const std::vector<ControlSpec>& ControlTable()
{
    static const std::vector<ControlSpec> table = buildTable();
    return table;
}
