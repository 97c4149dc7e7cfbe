#include "PingTest.h"

#include "PingEnableRule.h"

#include "platform/BackgroundCalls.h"
#include "platform/DottedQuad.h"
#include "platform/MessageBox.h"
#include "platform/Services.h"

#include <QLineEdit>
#include <QPointer>
#include <QPushButton>

PingTest::PingTest(const NetviewControls& c, Services& services, QObject* parent)
    : QObject(parent), c_(c), messages_(services.messages), background_(services.background),
      freeAddress_(Pinger(services.echo), services.adapters, services.neighbours)
{
    // The button keeps its initial state until the box first changes.
    connect(c_.cmdPing, &QPushButton::clicked, this, [this] { cmdPing_Click(); });
    connect(c_.txtIPtoPing, &QLineEdit::textChanged, this, [this] { txtIPtoPing_Change(); });
}

void PingTest::cmdPing_Click()
{
    const std::string typed = c_.txtIPtoPing->text().toStdString();
    // The button's enabling rule lets some malformed texts through (and an empty box
    // before any adapter was shown); those are named, not pinged and called free.
    if (!ParseDottedQuad(typed)) {
        messages_.show(typed + " is not a valid IP address!");
        return;
    }
    running_ = true;
    const bool keyboardOnButton = c_.cmdPing->hasFocus();
    c_.cmdPing->setEnabled(false);
    background_.start([test = freeAddress_, typed] { return test.inUse(typed) ? 1 : 0; },
                      [self = QPointer(this), typed, round = round_, keyboardOnButton](int inUse) {
                          if (self && self->round_ == round)
                              self->answered(typed, inUse != 0, keyboardOnButton);
                      });
}

void PingTest::cancel()
{
    ++round_;
    running_ = false;
}

void PingTest::answered(const std::string& address, bool inUse, bool keyboardOnButton)
{
    running_ = false;
    txtIPtoPing_Change();
    // The disabled button gave the focus away; a keyboard user gets it back there (the box
    // hands it back to the widget that had it when it opened).
    if (keyboardOnButton && c_.cmdPing->isEnabled())
        c_.cmdPing->setFocus(Qt::OtherFocusReason);
    messages_.show(inUse ? address + " is in use!" : "OK. " + address + " is free!");
}

void PingTest::txtIPtoPing_Change()
{
    c_.cmdPing->setEnabled(!running_ && PingButtonEnabledFor(c_.txtIPtoPing->text().toStdString()));
}
