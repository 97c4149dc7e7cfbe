#pragma once

#include "controls/ControlView.h"

#include "GatewayCaption.h"

#include <QObject>

#include <optional>

// Which setup access point the gateway connection targets, and whether the Wi-Fi boxes are
// ready for it: the one a scan found, or the firmware generation chosen by hand with
// chkOldMurel; the readiness rule judged where its typed inputs change. The window reads it
// when it reports changed(); the scan tells it what it found.
class SetupApChoice final : public QObject {
    Q_OBJECT
public:
    // Connects to chkOldMurel's clicks and to the boxes whose changes judge the readiness again.
    explicit SetupApChoice(const WifiControls& c, QObject* parent = nullptr);

    // The window starts out targeting the current firmware's access point, before any scan.
    void chooseCurrent();
    // The firmware generation chosen with chkOldMurel.
    void chkOldMurel_Click();
    // A scan begins: neither access point is found yet.
    void forgetFound();
    // A scan listed a setup access point (current: "TAVIK-MUREL"); the later of two decides.
    void takeFound(bool current);
    // A scan's find or a choice by hand.
    bool chosen() const { return useCurrentSetupAp_ || useOldSetupAp_; }
    // The connection targets "TAVIK-MUREL" (else "TAVIK MUREL").
    bool useCurrentSetupAp() const { return useCurrentSetupAp_; }

    // The readiness rule's last verdict on the Wi-Fi boxes; none since a search ended, which
    // offers the gateway whatever the boxes hold.
    std::optional<bool> connectReady() const { return connectReady_; }
    void forgetReadiness();
    // Follows a scan's find or the choice by hand.
    GatewayCaption gatewayCaption() const { return gatewayCaption_; }

Q_SIGNALS:
    void changed();

private:
    void choose(bool current);
    void judgeConnectReadiness();

    const WifiControls c_;
    bool useCurrentSetupAp_ = false;
    bool useOldSetupAp_ = false; // the old firmware's access point was found or chosen
    std::optional<bool> connectReady_;
    GatewayCaption gatewayCaption_ = GatewayCaption::Designed;
};
