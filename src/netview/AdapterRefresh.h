#pragma once

#include "platform/AdapterList.h"

#include <functional>
#include <string>
#include <string_view>

class AdapterTable;
class QTabBar;
struct NicRecord;
struct Services;

// The text of a fixed-size field of the adapter record: its first `width` bytes,
// with every byte below 32 dropped wherever it stands.
std::string FieldWindow(std::string_view raw, std::size_t width);
// An adapter qualifies unless its address text begins with "0" (no address: 0.0.0.0).
bool AdapterQualifies(const AdapterInfo& adapter);
NicRecord ToNicRecord(const AdapterInfo& adapter);

// The refresh's reading of the PC's adapters: each one with an address into the adapter
// table and a tab of its own. The adapter table's one writer.
class AdapterRefresh final {
public:
    AdapterRefresh(QTabBar& TabNIC, AdapterTable& nics, Services& services, std::function<void()> tabNicClick);

    // The number of adapters stored; -1 when the platform could not list them (tabs and
    // table stay as they were).
    int readAdapters();

private:
    QTabBar& TabNIC_;
    AdapterTable& nics_;
    Services& services_;
    std::function<void()> tabNicClick_;
};
