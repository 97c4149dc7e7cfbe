#pragma once

#include "controls/ControlView.h"

#include <QObject>

class AdapterTable;
struct Services;

// The refresh's reading of the PC's adapters: each one with an address into the adapter
// table and a tab of its own in TabNIC. The adapter table's one writer.
class AdapterRefresh final : public QObject {
    Q_OBJECT
public:
    AdapterRefresh(const NetviewControls& c, AdapterTable& nics, Services& services, QObject* parent = nullptr);

    // The number of adapters stored; -1 when the platform could not list them (tabs and
    // table stay as they were).
    int readAdapters();

Q_SIGNALS:
    // One adapter has just been stored under its tab, which may be the selected one.
    void adapterStored();

private:
    const NetviewControls c_;
    AdapterTable& nics_;
    Services& services_;
};
