#pragma once

#include "platform/AdapterList.h"

#include <functional>
#include <string>
#include <string_view>

class BusyState;
class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTabBar;
class QWidget;
class ServerList;
struct FormState;
struct NicRecord;
struct Services;

struct RefreshWidgets {
    QWidget* window;
    QLabel* labStatus;
    QPushButton* cmdWiFiConnect;
    QWidget* fraMurel;
    QWidget* picRefresh;
    QPushButton* cmdReboot;
    QPushButton* cmdDefault;
    QPushButton* cmdSetIP;
    QTabBar* TabNIC;
};

// The text of a fixed-size field of the adapter record: its first `width` bytes,
// with every byte below 32 dropped wherever it stands.
std::string FieldWindow(std::string_view raw, std::size_t width);
// An adapter qualifies unless its address text begins with "0" (no address: 0.0.0.0).
bool AdapterQualifies(const AdapterInfo& adapter);
NicRecord ToNicRecord(const AdapterInfo& adapter);

// The refresh: busy state, the PC's adapters into one tab each, then a new search.
class AdapterRefresh final {
public:
    AdapterRefresh(const RefreshWidgets& widgets, FormState& state, Services& services, ServerList& servers,
                   BusyState& busy, std::function<void()> tabNicClick);

    void picRefresh_Click();

private:
    int readAdapters(); // -1 when the platform could not list them
    void finish(int adapterCount);

    RefreshWidgets w_;
    FormState& state_;
    Services& services_;
    ServerList& servers_;
    BusyState& busy_;
    std::function<void()> tabNicClick_;
};
