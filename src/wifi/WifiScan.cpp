#include "WifiScan.h"

#include "ConnectButtonRule.h"
#include "SetupApVariant.h"
#include "WlanCallback.h"

#include "common/Latin1.h"
#include "platform/MessageBox.h"
#include "platform/Services.h"
#include "platform/TimedWait.h"

#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

namespace {

constexpr std::size_t kMaxSsidBytes = 32;
constexpr int kMaxSsidCharacters = 32;

const char kNoHandleText[] = "Unable to get WLAN Handle";
const char kNoAdapterText[] = "No Wireless Adapters Found";
const char kFoundHint[] = "Please enter SSID or click on list and enter key.";
const char kNotFoundHint[] = "No Tavik Murel access point found. Reboot Murel, wait until the led lights up, "
                             "then press and hold button until led stops blinking. Then retry...\"";
const char kCurrentCaption[] = "Connect to TAVIK-MUREL and set SSID, key, IP, ...";
const char kOldCaption[] = "Connect to TAVIK MUREL and set SSID, key, IP, ...";
const char kTemporaryText[] = "\"TAVIK-MUREL\" temporary available. Please select or type new SSID and network key";

// SSID bytes as the user's PC shows them: one character per byte through the 8-bit
// code page (never decoded as UTF-8), cut at the first NUL.
QString BytesToString(const std::string& ssid)
{
    QString name = AnsiBytesToText(std::string_view(ssid).substr(0, kMaxSsidBytes));
    const qsizetype nul = name.indexOf(QChar(u'\0'));
    if (nul >= 0)
        name.truncate(nul);
    return name;
}

int SelectedRow(const QListWidget& list)
{
    const QList<QListWidgetItem*> selected = list.selectedItems();
    return selected.isEmpty() ? -1 : list.row(selected.constFirst());
}

} // namespace

WifiScan::WifiScan(const WifiWidgets& widgets, WifiState state, Services& services, QObject* parent)
    : QObject(parent), widgets_(widgets), state_(state), services_(services)
{
    // Selection, not the current row: a list that only receives the focus gets a
    // current row without any line being picked.
    for (QListWidget* list : {widgets_.lstSSID, widgets_.lstSignal}) {
        connect(list, &QListWidget::itemSelectionChanged, this, [this, list] {
            if (!changingLists_)
                listPicked(SelectedRow(*list));
        });
    }
    // The rule is applied where its typed inputs change; a new suggestion (another tab)
    // leaves the button as it is.
    connect(widgets_.txtSSID, &QLineEdit::textChanged, this, [this] { ApplyConnectReadiness(widgets_); });
    connect(widgets_.txtMurelPort, &QLineEdit::textChanged, this, [this] { ApplyConnectReadiness(widgets_); });
}

void WifiScan::Scan()
{
    // A second click during the scan's own wait would fill the lists twice over.
    if (scanning_)
        return;
    scanning_ = true;

    state_.useCurrentSetupAp = false;
    state_.useOldSetupAp = false;
    widgets_.labProgress->setText(QString());
    clearLists();
    cancelled_ = false;
    if (!TimedWait(services_.clock, services_.waiter, 0.5, [this] { return cancelled_; })) {
        scanning_ = false; // the window has closed: nothing more to list
        return;
    }

    Wlan& wlan = services_.wlan;
    state_.hWlanClient = 0;
    if (const std::optional<Wlan::Handle> client = wlan.openClient(); !client) {
        widgets_.fraVoorstel->setEnabled(false);
        services_.messages.show(kNoHandleText);
    } else {
        state_.hWlanClient = *client;
        wlan.registerNotifications(*client, &WlanCallback);
        if (wlan.interfaceCount(*client) < 1) {
            widgets_.fraVoorstel->setEnabled(false);
            services_.messages.show(kNoAdapterText);
        } else {
            for (const WlanNetwork& network : wlan.availableNetworks(*client))
                listNetwork(network.ssid, network.signalQuality);
            changingLists_ = true;
            widgets_.lstSSID->setCurrentRow(-1);
            widgets_.lstSSID->clearSelection();
            changingLists_ = false;
        }
    }
    // Also on the zero handle when no client opened: the service refuses it harmlessly.
    wlan.unregisterNotifications(state_.hWlanClient);

    const bool found = state_.useCurrentSetupAp || state_.useOldSetupAp;
    widgets_.labProgress->setText(found ? kFoundHint : kNotFoundHint);
    scanning_ = false;
}

void WifiScan::cancel() { cancelled_ = true; }

void WifiScan::listNetwork(const std::string& ssid, unsigned signalQuality)
{
    const QString name = BytesToString(ssid);
    if (name.isEmpty())
        return; // hidden network, or a name that starts with NUL
    changingLists_ = true;
    widgets_.lstSSID->addItem(name);
    widgets_.lstSignal->addItem(QString::number(signalQuality) + u'%');
    changingLists_ = false;
    // Exact comparisons: the later of the two setup access points decides.
    if (name == QLatin1String(kCurrentSetupSsid))
        setupApFound(true);
    else if (name == QLatin1String(kOldSetupSsid))
        setupApFound(false);
}

void WifiScan::setupApFound(bool current)
{
    state_.useCurrentSetupAp = current;
    state_.useOldSetupAp = !current;
    widgets_.fraVoorstel->setEnabled(true);
    widgets_.cmdWiFiConnect->setText(current ? kCurrentCaption : kOldCaption);
    ApplyConnectReadiness(widgets_);
}

void WifiScan::listPicked(int row)
{
    if (row < 0)
        return; // the lists were cleared or the selection removed: nothing picked
    changingLists_ = true;
    widgets_.lstSSID->setCurrentRow(row);
    widgets_.lstSignal->setCurrentRow(row);
    changingLists_ = false;
    pickSsid(row);
}

void WifiScan::pickSsid(int row)
{
    const QListWidgetItem* item = widgets_.lstSSID->item(row);
    if (!item)
        return;
    const QString name = item->text();
    if (name.startsWith(QLatin1String(kCurrentSetupSsid)))
        services_.messages.show(kTemporaryText);
    else
        widgets_.txtSSID->setText(name.left(kMaxSsidCharacters));
}

void WifiScan::clearLists()
{
    changingLists_ = true;
    widgets_.lstSSID->clear();
    widgets_.lstSignal->clear();
    changingLists_ = false;
}
