#pragma once

#include "FreeAddressTest.h"
#include "platform/Pinger.h"

#include <QObject>

class MessageBox;
struct Controls;
struct Services;

// The free-address test: cmdPing pings the address in txtIPtoPing and tells the user
// whether something answers there; the button follows the text of the box.
class PingTest final : public QObject {
    Q_OBJECT
public:
    PingTest(const Controls& c, Services& services, QObject* parent = nullptr);

private:
    void cmdPing_Click();
    void txtIPtoPing_Change();

    const Controls& c_;
    MessageBox& messages_;
    Pinger pinger_;
    FreeAddressTest freeAddress_;
};
