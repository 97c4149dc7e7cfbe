#include "WifiTestPanel.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {
template <typename W>
W* Make(QWidget* parent, const char* name)
{
    auto* widget = new W(parent);
    widget->setObjectName(QLatin1String(name));
    return widget;
}
} // namespace

WifiTestPanel::WifiTestPanel()
{
    widgets.lstSSID = Make<QListWidget>(&window, "lstSSID");
    widgets.lstSignal = Make<QListWidget>(&window, "lstSignal");
    widgets.labProgress = Make<QLabel>(&window, "labProgress");
    widgets.labStatus = Make<QLabel>(&window, "labStatus");
    widgets.cmdWiFiConnect = Make<QPushButton>(&window, "cmdWiFiConnect");
    widgets.chkOldMurel = Make<QCheckBox>(&window, "chkOldMurel");
    widgets.fraVoorstel = Make<QGroupBox>(&window, "fraVoorstel");
    widgets.txtSSID = Make<QLineEdit>(widgets.fraVoorstel, "txtSSID");
    widgets.txtKey = Make<QLineEdit>(widgets.fraVoorstel, "txtKey");
    for (QLineEdit*& box : widgets.txtVoorstel)
        box = Make<QLineEdit>(widgets.fraVoorstel, "txtVoorstel");
    widgets.txtMurelPort = Make<QLineEdit>(widgets.fraVoorstel, "txtMurelPort");

    widgets.cmdWiFiConnect->setText(QStringLiteral("Connect to TAVIK-MUREL and open Portal in web browser"));
    widgets.cmdWiFiConnect->setEnabled(false);
    widgets.txtMurelPort->setText(QStringLiteral("8082"));
}

void WifiTestPanel::fillConnectFields()
{
    widgets.txtVoorstel[0]->setText(QStringLiteral("192.168.1.125"));
    widgets.txtVoorstel[1]->setText(QStringLiteral("255.255.255.0"));
    widgets.txtVoorstel[2]->setText(QStringLiteral("192.168.1.1"));
    widgets.txtMurelPort->setText(QStringLiteral("8082"));
    widgets.txtSSID->setText(QStringLiteral("HomeNet"));
}
