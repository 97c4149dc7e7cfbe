#pragma once

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// The controls of the Wi-Fi panel and of the gateway frame that the Wi-Fi
// controllers touch. The window creates them and fills this in; all are required.
struct WifiWidgets {
    QListWidget* lstSSID = nullptr;
    QListWidget* lstSignal = nullptr;
    QLabel* labProgress = nullptr;
    QLabel* labStatus = nullptr;
    QPushButton* cmdWiFiConnect = nullptr;
    QCheckBox* chkOldMurel = nullptr;
    QGroupBox* fraVoorstel = nullptr;
    QLineEdit* txtSSID = nullptr;
    QLineEdit* txtKey = nullptr;
    std::array<QLineEdit*, 4> txtVoorstel{};
    QLineEdit* txtMurelPort = nullptr;
};
