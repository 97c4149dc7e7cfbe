#include "AdapterView.h"

#include "AddressSuggestion.h"

#include "common/AdapterTable.h"
#include "common/LeadingNumber.h"
#include "common/Latin1.h"
#include "common/TextPos.h"
#include "controls/ProgressLine.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>

#include <cmath>

namespace {

constexpr std::size_t kAdapterNumberColumn = 6; // the number stands behind "NIC #"

QString TableText(const NicRecord* nic, std::string NicRecord::* field)
{
    // The tables hold the platform's bytes; they are shown through the ANSI code page.
    return nic ? AnsiBytesToText(nic->*field) : QString();
}

} // namespace

AdapterView::AdapterView(const NetviewControls& c, const AdapterTable& nics, ProgressLine& progress, QObject* parent)
    : QObject(parent), c_(c), nics_(nics), progress_(progress)
{
    // An adapter description comes from the system and may contain "<": show it as
    // it is, never as markup.
    c_.labNICName->setTextFormat(Qt::PlainText);

    connectTabStrip();
    // Typed or suggested, the device address follows through to the ping box.
    connect(c_.txtVoorstel[0], &QLineEdit::textChanged, this,
            [this](const QString& text) { c_.txtIPtoPing->setText(text); });
}

void AdapterView::connectTabStrip()
{
    // currentChanged covers every way the user selects another tab (mouse and keys).
    // The program's own tab changes also raise it (the first tab appended to an empty
    // strip, removal of the selected tab); showing the then selected tab is right in
    // those cases too, and the refresh shows each stored adapter afterwards anyway.
    // With no tab left there is nothing to show, and the panel keeps what it shows.
    connect(c_.TabNIC, &QTabBar::currentChanged, this, [this](int index) {
        if (index >= 0)
            TabNIC_Click();
    });
    // A click on the tab that is already selected changes nothing in the strip but
    // still shows that adapter afresh, restoring an edited suggestion. The signal
    // comes before the selection moves, so clicks on other tabs are left to
    // currentChanged.
    connect(c_.TabNIC, &QTabBar::tabBarClicked, this, [this](int index) {
        if (index >= 0 && index == c_.TabNIC->currentIndex())
            TabNIC_Click();
    });
}

void AdapterView::TabNIC_Click()
{
    const int adapterNumber = selectedAdapterNumber();
    const NicRecord* nic = adapterRecord(adapterNumber);
    c_.labNICName->setText(TableText(nic, &NicRecord::name));
    c_.txtIP->setText(TableText(nic, &NicRecord::ip));
    c_.txtSubnet->setText(TableText(nic, &NicRecord::subnet));
    c_.txtGateway->setText(TableText(nic, &NicRecord::gateway));

    // Setting the suggestion raises its change handler, which copies it into the ping
    // box; but an unchanged suggestion raises nothing, and the user may have typed
    // another address into the ping box meanwhile, so copy it explicitly as well.
    const std::string address = SuggestedDeviceAddress(TextToBytes(c_.txtIP->text()));
    c_.txtVoorstel[0]->setText(BytesToText(address));
    c_.txtIPtoPing->setText(c_.txtVoorstel[0]->text());
    c_.txtVoorstel[1]->setText(c_.txtSubnet->text());
    c_.txtVoorstel[2]->setText(c_.txtGateway->text());
    c_.txtVoorstel[3]->setText(c_.txtGateway->text()); // the gateway serves as DNS
    progress_.show(QString());
    if (suggestionFor_ != adapterNumber) {
        suggestionFor_ = adapterNumber;
        Q_EMIT changed();
    }
}

int AdapterView::selectedAdapterNumber() const
{
    const QString caption = c_.TabNIC->tabText(c_.TabNIC->currentIndex());
    const double number = LeadingNumber(MidToEnd(TextToBytes(caption), kAdapterNumberColumn));
    // Only "NIC #" captions exist; anything too large for a tab number counts as none.
    if (!(std::abs(number) < 1e6))
        return 0;
    return static_cast<int>(std::nearbyint(number));
}

const NicRecord* AdapterView::adapterRecord(int adapterNumber) const { return nics_.find(adapterNumber); }
