#pragma once

#include <array>

class BusyAnimation;
class PictureButton;
class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabBar;
class QWidget;

// Typed access to every control of the window, named as the controls are named.
struct Controls {
    QPushButton* cmdReboot = nullptr;
    QPushButton* cmdSetIP = nullptr;
    QPushButton* cmdDefault = nullptr;
    BusyAnimation* Animation1 = nullptr;
    QLabel* labStatus = nullptr;
    QTabBar* TabNIC = nullptr;
    QGroupBox* fraPC = nullptr;
    QLabel* labNICName = nullptr;
    QLineEdit* txtIP = nullptr;
    QLineEdit* txtSubnet = nullptr;
    QLineEdit* txtGateway = nullptr;
    QLineEdit* txtDNS = nullptr;
    QGroupBox* fraMurel = nullptr;
    QCheckBox* chkOldMurel = nullptr;
    QPushButton* cmdWiFiConnect = nullptr;
    QLineEdit* txtIPtoPing = nullptr;
    QPushButton* cmdPing = nullptr;
    PictureButton* picRefresh = nullptr;
    QPlainTextEdit* txtServers = nullptr;
    QGroupBox* fraSetIP = nullptr;
    QPushButton* cmdIPOK = nullptr;
    QPushButton* cmdIPCancel = nullptr;
    QGroupBox* Frame2 = nullptr;
    std::array<QRadioButton*, 2> optAutoIP{};
    QLabel* Label1 = nullptr;
    QLineEdit* txtPort = nullptr;
    QGroupBox* fraIP = nullptr;
    std::array<QLineEdit*, 16> txtIPadres{};
    std::array<QLabel*, 4> LabelIP{};
    std::array<QLabel*, 12> Label4{};
    QGroupBox* Frame1 = nullptr;
    QGroupBox* fraVoorstel = nullptr;
    QLineEdit* txtSSID = nullptr;
    QLineEdit* txtKey = nullptr;
    std::array<QLineEdit*, 4> txtVoorstel{};
    QLineEdit* txtMurelPort = nullptr;
    QLabel* labProgress = nullptr;
    QLabel* Label13 = nullptr;
    QListWidget* lstSSID = nullptr;
    QListWidget* lstSignal = nullptr;
    PictureButton* picRescan = nullptr;
};

// Builds every control of the control table as a child of window and binds the
// typed pointers. Object names are the table's names.
Controls BuildControls(QWidget* window);
