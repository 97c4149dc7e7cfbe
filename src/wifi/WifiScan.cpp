#include "WifiScan.h"

#include "SetupApChoice.h"
#include "SetupApVariant.h"

#include "common/Latin1.h"
#include "controls/ProgressLine.h"
#include "controls/PictureButton.h"
#include "platform/MessageBox.h"
#include "platform/Services.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>

namespace {

constexpr std::size_t kMaxSsidBytes = 32;
constexpr int kMaxSsidCharacters = 32;

const char kNoHandleText[] = "Unable to get WLAN Handle";
const char kNoAdapterText[] = "No Wireless Adapters Found";
const char kFoundHint[] = "Please enter SSID or click on list and enter key.";
const char kNotFoundHint[] = "No Tavik Murel access point found. Reboot Murel, wait until the led lights up, "
                             "then press and hold button until led stops blinking. Then retry...\"";
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

WifiScan::WifiScan(const WifiControls& c, Services& services, SetupApChoice& setupAp, ProgressLine& progress,
                   QObject* parent)
    : QObject(parent), c_(c), services_(services), setupAp_(setupAp), progress_(progress),
      wait_(services.clock, services.timers)
{
    connect(c_.picRescan, &PictureButton::clicked, this, &WifiScan::Scan);
    // Selection, not the current row: a list that only receives the focus gets a
    // current row without any line being picked.
    for (QListWidget* list : {c_.lstSSID, c_.lstSignal}) {
        connect(list, &QListWidget::itemSelectionChanged, this, [this, list] {
            if (!changingLists_)
                listPicked(SelectedRow(*list));
        });
    }
}

void WifiScan::Scan()
{
    // The symbol takes no second click until the lists are filled.
    scanning_ = true;
    c_.picRescan->setEnabled(false);
    setupAp_.forgetFound();
    progress_.show(QString());
    clearLists();
    wait_.start(0.5, [this] { listNetworks(); });
}

void WifiScan::offerSuggestions() { setSuggestionsOffered(true); }

void WifiScan::setSuggestionsOffered(bool offered)
{
    if (offered == suggestionsOffered_)
        return;
    suggestionsOffered_ = offered;
    Q_EMIT changed();
}

void WifiScan::listNetworks()
{
    Wlan& wlan = services_.wlan;
    hWlanClient_ = 0;
    const char* failure = nullptr;
    if (const std::optional<Wlan::Handle> client = wlan.openClient(); !client) {
        setSuggestionsOffered(false);
        failure = kNoHandleText;
    } else {
        hWlanClient_ = *client;
        // The notifications come on a thread of the platform's and carry nothing the scan
        // needs (it reads the network list itself), so their callback touches nothing.
        wlan.registerNotifications(*client, [] { });
        if (wlan.interfaceCount(*client) < 1) {
            setSuggestionsOffered(false);
            failure = kNoAdapterText;
        } else {
            for (const WlanNetwork& network : wlan.availableNetworks(*client))
                listNetwork(network.ssid, network.signalQuality);
            changingLists_ = true;
            c_.lstSSID->setCurrentRow(-1);
            c_.lstSSID->clearSelection();
            changingLists_ = false;
        }
    }
    if (!failure) {
        scanEnded();
        return;
    }
    // The scan ends once the user has read why nothing is listed.
    services_.messages.show(failure, [self = QPointer(this)] {
        if (self && self->scanning_)
            self->scanEnded();
    });
}

void WifiScan::scanEnded()
{
    // Also on the zero handle when no client opened: the service refuses it harmlessly.
    services_.wlan.unregisterNotifications(hWlanClient_);
    const bool found = setupAp_.chosen();
    progress_.show(found ? kFoundHint : kNotFoundHint);
    scanning_ = false;
    c_.picRescan->setEnabled(true);
}

void WifiScan::endNotifications() { services_.wlan.unregisterNotifications(hWlanClient_); }

void WifiScan::cancel()
{
    wait_.cancel();
    scanning_ = false;
}

void WifiScan::listNetwork(const std::string& ssid, unsigned signalQuality)
{
    const QString name = BytesToString(ssid);
    if (name.isEmpty())
        return; // hidden network, or a name that starts with NUL
    changingLists_ = true;
    c_.lstSSID->addItem(name);
    c_.lstSignal->addItem(QString::number(signalQuality) + u'%');
    changingLists_ = false;
    // Exact comparisons: the later of the two setup access points decides.
    if (name == QLatin1String(kCurrentSetupSsid))
        takeFoundSetupAp(true);
    else if (name == QLatin1String(kOldSetupSsid))
        takeFoundSetupAp(false);
}

void WifiScan::takeFoundSetupAp(bool current)
{
    setSuggestionsOffered(true);
    setupAp_.takeFound(current);
}

void WifiScan::listPicked(int row)
{
    if (row < 0)
        return; // the lists were cleared or the selection removed: nothing picked
    changingLists_ = true;
    c_.lstSSID->setCurrentRow(row);
    c_.lstSignal->setCurrentRow(row);
    changingLists_ = false;
    pickSsid(row);
}

void WifiScan::pickSsid(int row)
{
    const QListWidgetItem* item = c_.lstSSID->item(row);
    if (!item)
        return;
    const QString name = item->text();
    if (name.startsWith(QLatin1String(kCurrentSetupSsid)))
        services_.messages.show(kTemporaryText);
    else
        c_.txtSSID->setText(name.left(kMaxSsidCharacters));
}

void WifiScan::clearLists()
{
    changingLists_ = true;
    c_.lstSSID->clear();
    c_.lstSignal->clear();
    changingLists_ = false;
}
