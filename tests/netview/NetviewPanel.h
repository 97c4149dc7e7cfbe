#pragma once

#include "fakes/FakeServices.h"

#include "common/FormState.h"
#include "netview/AdapterView.h"
#include "netview/PingTest.h"

#include <QWidget>

#include <memory>
#include <string>

class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTabBar;

// The controls of the local network view with both controllers wired to them, as the
// window wires them, plus the adapter tables behind them.
class NetviewPanel final {
public:
    NetviewPanel();
    ~NetviewPanel();

    // Stores the next adapter and gives it its tab "NIC #n", as a refresh does.
    void addAdapter(const std::string& name, const std::string& ip, const std::string& mask,
                    const std::string& gateway);
    // A mouse click on tab number n (from 1).
    void clickTab(int adapterNumber);

    FakeServices fakes;
    FormState state;
    QWidget window;
    AdapterViewWidgets view;
    PingTestWidgets ping;
    std::unique_ptr<AdapterView> adapterView;
    std::unique_ptr<PingTest> pingTest;
};
