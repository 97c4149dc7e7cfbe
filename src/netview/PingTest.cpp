#include "PingTest.h"

#include "platform/DottedQuad.h"
#include "PingEnableRule.h"

#include "platform/MessageBox.h"
#include "platform/Services.h"

#include <QLineEdit>
#include <QPushButton>

PingTest::PingTest(const PingTestWidgets& widgets, Services& services, QObject* parent)
    : QObject(parent), widgets_(widgets), messages_(services.messages), pinger_(services.echo),
      freeAddress_(pinger_, services.adapters, services.neighbours)
{
    // The button keeps its initial state until the box first changes.
    connect(widgets_.cmdPing, &QPushButton::clicked, this, [this] { cmdPing_Click(); });
    connect(widgets_.txtIPtoPing, &QLineEdit::textChanged, this, [this] { txtIPtoPing_Change(); });
}

void PingTest::cmdPing_Click()
{
    const std::string typed = widgets_.txtIPtoPing->text().toStdString();
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
    widgets_.cmdPing->setEnabled(PingButtonEnabledFor(widgets_.txtIPtoPing->text().toStdString()));
}
