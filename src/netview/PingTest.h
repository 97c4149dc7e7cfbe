#pragma once

#include "controls/ControlView.h"

#include "devices/FreeAddressTest.h"

#include <QObject>

class BackgroundCalls;
class MessageBox;
struct Services;

// The free-address test: cmdPing pings the address in txtIPtoPing and tells the user
// whether something answers there; the button follows the text of the box. The echo and
// the ARP question after it run away from the window's thread, and the button waits for
// their answer.
class PingTest final : public QObject {
    Q_OBJECT
public:
    PingTest(const NetviewControls& c, Services& services, QObject* parent = nullptr);

    // From the click to the answer's box.
    bool running() const { return running_; }
    // The window closes: the answer of a ping under way is dropped.
    void cancel();

private:
    void cmdPing_Click();
    void txtIPtoPing_Change();
    void answered(const std::string& address, bool inUse, bool keyboardOnButton);

    const NetviewControls c_;
    MessageBox& messages_;
    BackgroundCalls& background_;
    FreeAddressTest freeAddress_;
    bool running_ = false;
    unsigned round_ = 0; // which ping an answer belongs to; a cancel starts a new round
};
