// The window's controls, each declared once: a row gives its table entry (kind, parent,
// caption, position and size in twips relative to the parent's top-left corner, flags,
// longest text, screen-reader name and the label beside it), its typed member of
// `Controls` and its binding. Rows are in creation order: later rows lie above earlier ones.
//
//   CONTROL(Type, name, owner, Kind, parent, caption, left, top, width, height[, flags, maxLength, accessibleName,
//           buddy])
//   ARRAY(Type, name, owner) a member std::array<Type*, N>; its elements are the ITEM rows
//   ITEM(name, index, Kind, parent, caption, left, top, width, height[, ...])   "name(index)"
//   OCTET_GRID(labels, boxes, dots)  the IP setup panel's 4 x 4 octet boxes with their
//                                    row captions and "." labels (ControlTable.cpp)
//
// The owner is the subsystem whose controllers write the control (Webserver, Netview, Wifi), or
// Window for the controls that several subsystems concern, which only the window writes; each
// subsystem sees its own controls writable and every other one read-only (ControlView).
// An empty parent is the window's client area. No #pragma once: the list is expanded
// several times with different definitions of the row macros.
// clang-format off: one row per line reads as the table it is.
#define HOPTRACE_CONTROL_ROWS(CONTROL, ARRAY, ITEM, OCTET_GRID)                                                        \
    CONTROL(QPushButton, cmdReboot, Window, Button, , "Reboot", 255, 60, 2550, 495, Disabled)                          \
    CONTROL(QPushButton, cmdSetIP, Window, Button, , "Set IP", 4095, 60, 2550, 495, Disabled)                          \
    CONTROL(QPushButton, cmdDefault, Window, Button, , "Load defaults", 3510, 705, 2550, 495, Disabled | Hidden)       \
    CONTROL(BusyAnimation, Animation1, Window, Animation, , "", 3150, 0, 510, 405, Hidden)                             \
    CONTROL(QLabel, labStatus, Window, Label, , "", 75, 730, 6820, 240)                                                \
    CONTROL(QTabBar, TabNIC, Netview, TabStrip, , "NIC #1", 15, 1050, 6870, 2565, 0, 0, "Network adapters")            \
    CONTROL(QGroupBox, fraPC, Netview, Frame, , "IPconfig on this PC", 135, 1440, 3090, 1875)                          \
    CONTROL(QLabel, labNICName, Netview, Label, fraPC, "...", 150, 300, 2820, 210)                                     \
    CONTROL(QLabel, labIP, Netview, Label, fraPC, "IP address:", 150, 645, 1005, 210)                                  \
    CONTROL(QLabel, Label2, Netview, Label, fraPC, "Subnet mask:", 150, 945, 1005, 210)                                \
    CONTROL(QLabel, Label3, Netview, Label, fraPC, "Gateway:", 150, 1245, 1005, 210)                                   \
    CONTROL(QLabel, Label5, Netview, Label, fraPC, "DNS:", 150, 1545, 1005, 210)                                       \
    CONTROL(QLineEdit, txtIP, Netview, TextBox, fraPC, "", 1305, 615, 1710, 285, 0, 0, "IP address of this PC",        \
            "labIP")                                                                                                   \
    CONTROL(QLineEdit, txtSubnet, Netview, TextBox, fraPC, "", 1305, 915, 1710, 285, 0, 0, "Subnet mask of this PC",   \
            "Label2")                                                                                                  \
    CONTROL(QLineEdit, txtGateway, Netview, TextBox, fraPC, "", 1305, 1215, 1710, 285, 0, 0, "Gateway of this PC",     \
            "Label3")                                                                                                  \
    CONTROL(QLineEdit, txtDNS, Netview, TextBox, fraPC, "", 1305, 1515, 1710, 285, Hidden, 0, "DNS of this PC",        \
            "Label5")                                                                                                  \
    CONTROL(QGroupBox, fraMurel, Window, Frame, , "Murel", 3660, 1440, 2880, 1320, Disabled)                           \
    CONTROL(QCheckBox, chkOldMurel, Wifi, CheckBox, fraMurel, "Old Murel (FW<200501)", 450, 225, 2000, 255)            \
    CONTROL(QPushButton, cmdWiFiConnect, Window, WrappingButton, fraMurel,                                             \
            "Connect to TAVIK-MUREL and open Portal in web browser", 390, 495, 2100, 720, Disabled)                    \
    CONTROL(QLineEdit, txtIPtoPing, Netview, TextBox, , "", 4493, 2895, 1400, 285, 0, 0, "Address to test by ping")    \
    CONTROL(QPushButton, cmdPing, Netview, Button, , "Test via Ping", 4493, 3240, 1400, 330)                           \
    CONTROL(PictureButton, picRefresh, Window, PictureButton, , "", 6315, 3135, 555, 540, 0, 0, "Search again")        \
    CONTROL(QPlainTextEdit, txtServers, Webserver, MultiLineTextBox, , "", 45, 3675, 6825, 5310, Locked, 0,            \
            "Webservers found")                                                                                        \
    CONTROL(QGroupBox, fraSetIP, Webserver, Frame, , "IP setup", 150, 4470, 5430, 2820, Hidden)                        \
    CONTROL(QPushButton, cmdIPOK, Webserver, Button, fraSetIP, "OK", 4365, 2145, 1000, 510)                            \
    CONTROL(QPushButton, cmdIPCancel, Webserver, Button, fraSetIP, "Cancel", 4335, 1290, 1000, 510)                    \
    CONTROL(QGroupBox, Frame2, Webserver, Frame, fraSetIP, "Frame2", 180, 225, 4995, 2520, NoBorder)                   \
    ARRAY(QRadioButton, optAutoIP, Webserver)                                                                          \
    ITEM(optAutoIP, 0, OptionButton, Frame2, "DHCP", 180, 75, 1080, 270, Selected)                                     \
    ITEM(optAutoIP, 1, OptionButton, Frame2, "Fix IP", 180, 375, 780, 270)                                             \
    CONTROL(QLabel, Label1, Webserver, Label, Frame2, "Port Number", 2925, 75, 990, 180)                               \
    CONTROL(QLineEdit, txtPort, Webserver, TextBox, Frame2, "8080", 4080, 45, 645, 255, 0, 5, "Port number",           \
            "Label1")                                                                                                  \
    CONTROL(QGroupBox, fraIP, Webserver, Frame, Frame2, "fraIP", 75, 405, 4000, 2025, Disabled | NoBorder)             \
    ARRAY(QLabel, LabelIP, Webserver)                                                                                  \
    ARRAY(QLineEdit, txtIPadres, Webserver)                                                                            \
    ARRAY(QLabel, Label4, Webserver)                                                                                   \
    OCTET_GRID(LabelIP, txtIPadres, Label4)                                                                            \
    CONTROL(QGroupBox, Frame1, Wifi, Frame, , "Available WiFi networks", 6945, 60, 4665, 8895)                         \
    CONTROL(QGroupBox, fraVoorstel, Window, Frame, Frame1, "Suggested for MUREL/Server on this interface", 105, 195,   \
            4365, 2625, Disabled)                                                                                      \
    CONTROL(QLabel, Label10, Wifi, Label, fraVoorstel, "SSID", 135, 360, 885, 210)                                     \
    CONTROL(QLineEdit, txtSSID, Wifi, TextBox, fraVoorstel, "", 1335, 330, 1710, 300, LightGreen, 0, "SSID",           \
            "Label10")                                                                                                 \
    CONTROL(QLabel, Label11, Wifi, Label, fraVoorstel, "Key", 135, 660, 885, 210)                                      \
    CONTROL(QLineEdit, txtKey, Wifi, TextBox, fraVoorstel, "", 1335, 645, 1710, 300, LightGreen, 0, "Key", "Label11")  \
    ARRAY(QLineEdit, txtVoorstel, Netview)                                                                             \
    CONTROL(QLabel, Label9, Netview, Label, fraVoorstel, "IP address:", 135, 975, 1005, 210)                           \
    ITEM(txtVoorstel, 0, TextBox, fraVoorstel, "", 1335, 960, 1710, 285, LightGreen, 0, "Suggested IP address",        \
         "Label9")                                                                                                     \
    CONTROL(QLabel, Label8, Netview, Label, fraVoorstel, "Subnet mask:", 135, 1275, 1005, 210)                         \
    ITEM(txtVoorstel, 1, TextBox, fraVoorstel, "", 1335, 1260, 1710, 285, LightGreen | Locked, 0,                      \
         "Suggested subnet mask", "Label8")                                                                            \
    CONTROL(QLabel, Label7, Netview, Label, fraVoorstel, "Gateway:", 135, 1575, 1005, 210)                             \
    ITEM(txtVoorstel, 2, TextBox, fraVoorstel, "", 1335, 1560, 1710, 285, LightGreen | Locked, 0,                      \
         "Suggested gateway", "Label7")                                                                                \
    CONTROL(QLabel, Label6, Netview, Label, fraVoorstel, "DNS:", 135, 1890, 1005, 210)                                 \
    ITEM(txtVoorstel, 3, TextBox, fraVoorstel, "", 1335, 1860, 1710, 285, LightGreen | Locked, 0, "Suggested DNS",     \
         "Label6")                                                                                                     \
    CONTROL(QLabel, Label12, Wifi, Label, fraVoorstel, "Port", 135, 2190, 855, 255)                                    \
    CONTROL(QLineEdit, txtMurelPort, Wifi, TextBox, fraVoorstel, "8082", 1335, 2160, 720, 300, LightGreen, 6,          \
            "Suggested port", "Label12")                                                                               \
    CONTROL(QLabel, labProgress, Window, Label, Frame1, "", 105, 2880, 4530, 855)                                      \
    CONTROL(QLabel, Label13, Wifi, Label, Frame1,                                                                      \
            "When list is not complete, please first click on network icon on windows toolbar. Then retry or "         \
            "restart Hoptrace...",                                                                                     \
            180, 3510, 3300, 600)                                                                                      \
    CONTROL(QListWidget, lstSSID, Wifi, ListBox, Frame1, "", 180, 4185, 3630, 4545, 0, 0, "Wi-Fi networks")            \
    CONTROL(QListWidget, lstSignal, Wifi, ListBox, Frame1, "", 3855, 4185, 705, 4545, 0, 0, "Wi-Fi signal strength")   \
    CONTROL(PictureButton, picRescan, Wifi, PictureButton, , "", 10995, 3705, 555, 540, 0, 0,                          \
            "Rescan Wi-Fi networks")
// clang-format on
