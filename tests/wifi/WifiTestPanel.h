#pragma once

#include "wifi/WifiState.h"
#include "wifi/WifiWidgets.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

// The Wi-Fi controls as real widgets in the state the window's start-up leaves them
// (cmdWiFiConnect disabled, useCurrentSetupAp set), with the fields of the connect
// readiness rule filled so that it holds.
struct WifiTestPanel {
    WifiTestPanel()
    {
        widgets = {new QListWidget(&window),
                   new QListWidget(&window),
                   new QLabel(&window),
                   new QLabel(&window),
                   new QPushButton(QStringLiteral("Connect to TAVIK-MUREL and open Portal in web browser"), &window),
                   new QCheckBox(QStringLiteral("Old Murel"), &window),
                   new QGroupBox(&window)};
        for (QLineEdit*& box : widgets.txtVoorstel)
            box = new QLineEdit(widgets.fraVoorstel);
        widgets.txtSSID = new QLineEdit(QStringLiteral("HomeNet"), widgets.fraVoorstel);
        widgets.txtKey = new QLineEdit(widgets.fraVoorstel);
        widgets.txtMurelPort = new QLineEdit(QStringLiteral("8082"), widgets.fraVoorstel);
        widgets.txtVoorstel[0]->setText(QStringLiteral("192.168.1.125"));
        widgets.txtVoorstel[1]->setText(QStringLiteral("255.255.255.0"));
        widgets.txtVoorstel[2]->setText(QStringLiteral("192.168.1.1"));
        widgets.cmdWiFiConnect->setEnabled(false);
        // One below the other, so that a click through the window finds each of them.
        auto* column = new QVBoxLayout(&window);
        for (QWidget* w :
             std::initializer_list<QWidget*>{widgets.lstSSID, widgets.lstSignal, widgets.labProgress, widgets.labStatus,
                                             widgets.cmdWiFiConnect, widgets.chkOldMurel, widgets.fraVoorstel})
            column->addWidget(w, 0, Qt::AlignLeft);
        // Sized once, before the window exists: a layout that sets a shown window's limits
        // asks the window system for size hints, which the offscreen one cannot take.
        column->setSizeConstraint(QLayout::SetNoConstraint);
        window.resize(column->sizeHint());
    }

    QWidget window;
    WifiWidgets widgets;
    bool useCurrentSetupAp = true;
    bool useOldSetupAp = false;
    Wlan::Handle hWlanClient = 0;
    WifiState state{useCurrentSetupAp, useOldSetupAp, hWlanClient};
};
