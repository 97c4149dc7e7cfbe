#include "ConnectButtonRule.h"

#include "ConnectReadiness.h"
#include "WifiWidgets.h"

#include <QLineEdit>
#include <QPushButton>

void ApplyConnectReadiness(QPushButton* cmdWiFiConnect, const QLineEdit* txtSSID,
                           const std::array<QLineEdit*, 4>& txtVoorstel, const QLineEdit* txtMurelPort)
{
    const auto text = [](const QLineEdit* box) { return box->text().toStdString(); };
    cmdWiFiConnect->setEnabled(ConnectReady(text(txtSSID), text(txtVoorstel[0]), text(txtVoorstel[1]),
                                            text(txtVoorstel[2]), text(txtMurelPort)));
}

void ApplyConnectReadiness(const WifiWidgets& widgets)
{
    ApplyConnectReadiness(widgets.cmdWiFiConnect, widgets.txtSSID, widgets.txtVoorstel, widgets.txtMurelPort);
}
