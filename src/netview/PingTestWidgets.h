#pragma once

class QLineEdit;
class QPushButton;

// The ping panel's controls; the window owns them.
struct PingTestWidgets {
    QLineEdit* txtIPtoPing = nullptr;
    QPushButton* cmdPing = nullptr;
};
