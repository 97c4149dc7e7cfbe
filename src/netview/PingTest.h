#pragma once

#include "PingTestWidgets.h"
#include "FreeAddressTest.h"
#include "Pinger.h"

#include <QObject>

class MessageBox;
struct Services;

// The free-address test: cmdPing pings the address in txtIPtoPing and tells the user
// whether something answers there; the button follows the text of the box.
class PingTest final : public QObject {
    Q_OBJECT
public:
    PingTest(const PingTestWidgets& widgets, Services& services, QObject* parent = nullptr);

    void cmdPing_Click();
    // The window's Ping, also for the gateway connection sequence.
    const Pinger& pinger() const { return pinger_; }

private:
    void txtIPtoPing_Change();

    PingTestWidgets widgets_;
    MessageBox& messages_;
    Pinger pinger_;
    FreeAddressTest freeAddress_;
};
