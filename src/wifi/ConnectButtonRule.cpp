#include "ConnectButtonRule.h"

#include "ConnectReadiness.h"
#include "WifiWidgets.h"

#include <QLineEdit>
#include <QPushButton>

void ApplyConnectReadiness(const WifiWidgets& widgets)
{
    const auto text = [](const QLineEdit* box) { return box->text().toStdString(); };
    widgets.cmdWiFiConnect->setEnabled(ConnectReady(text(widgets.txtSSID), text(widgets.txtVoorstel[0]),
                                                    text(widgets.txtVoorstel[1]), text(widgets.txtVoorstel[2]),
                                                    text(widgets.txtMurelPort)));
}
