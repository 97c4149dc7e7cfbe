#include "SetupApChoice.h"

#include "ConnectReadiness.h"

#include <QCheckBox>
#include <QLineEdit>

SetupApChoice::SetupApChoice(const WifiControls& c, QObject* parent) : QObject(parent), c_(c)
{
    connect(c_.chkOldMurel, &QCheckBox::clicked, this, &SetupApChoice::chkOldMurel_Click);
    // The rule reads txtVoorstel(0..2) too, but is applied only where its typed inputs
    // change: a new suggestion (another adapter tab) leaves the button as it is.
    connect(c_.txtSSID, &QLineEdit::textChanged, this, &SetupApChoice::judgeConnectReadiness);
    connect(c_.txtMurelPort, &QLineEdit::textChanged, this, &SetupApChoice::judgeConnectReadiness);
}

void SetupApChoice::chooseCurrent() { choose(true); }

void SetupApChoice::chkOldMurel_Click()
{
    const bool current = !c_.chkOldMurel->isChecked();
    choose(current);
    gatewayCaption_ = current ? GatewayCaption::CurrentChosen : GatewayCaption::OldChosen;
    Q_EMIT changed();
}

void SetupApChoice::forgetFound()
{
    useCurrentSetupAp_ = false;
    useOldSetupAp_ = false;
}

void SetupApChoice::takeFound(bool current)
{
    choose(current);
    gatewayCaption_ = current ? GatewayCaption::CurrentFound : GatewayCaption::OldFound;
    judgeConnectReadiness();
}

void SetupApChoice::choose(bool current)
{
    useCurrentSetupAp_ = current;
    useOldSetupAp_ = !current;
}

void SetupApChoice::forgetReadiness()
{
    connectReady_.reset();
    Q_EMIT changed();
}

void SetupApChoice::judgeConnectReadiness()
{
    const auto text = [](const QLineEdit* box) { return box->text().toStdString(); };
    connectReady_ = ConnectReady(text(c_.txtSSID), text(c_.txtVoorstel[0]), text(c_.txtVoorstel[1]),
                                 text(c_.txtVoorstel[2]), text(c_.txtMurelPort));
    Q_EMIT changed();
}
