#include "PingTest.h"

#include "PingEnableRule.h"

#include "controls/Controls.h"
#include "platform/DottedQuad.h"
#include "platform/MessageBox.h"
#include "platform/Services.h"

#include <QLineEdit>
#include <QPushButton>

PingTest::PingTest(const Controls& c, Services& services, QObject* parent)
    : QObject(parent), c_(c), messages_(services.messages), pinger_(services.echo),
      freeAddress_(pinger_, services.adapters, services.neighbours)
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
    messages_.show(freeAddress_.inUse(typed) ? typed + " is in use!" : "OK. " + typed + " is free!");
}

void PingTest::txtIPtoPing_Change()
{
    c_.cmdPing->setEnabled(PingButtonEnabledFor(c_.txtIPtoPing->text().toStdString()));
}
