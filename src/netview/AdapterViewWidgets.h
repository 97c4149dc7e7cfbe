#pragma once

#include <array>

class QGroupBox;
class QLabel;
class QLineEdit;
class QTabBar;

// The controls the adapter view reads and writes; the window owns them all.
struct AdapterViewWidgets {
    QTabBar* TabNIC = nullptr;
    QLabel* labNICName = nullptr;
    QLineEdit* txtIP = nullptr;
    QLineEdit* txtSubnet = nullptr;
    QLineEdit* txtGateway = nullptr;
    QGroupBox* fraVoorstel = nullptr;
    std::array<QLineEdit*, 4> txtVoorstel{}; // address, mask, gateway, DNS server
    QLineEdit* txtIPtoPing = nullptr;
    QLabel* labProgress = nullptr;
};
