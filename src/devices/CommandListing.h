#pragma once

#include <QObject>

class DeviceCommandRun;
class DeviceSearch;

// What the listing says while a command of the window runs in its place:
//  - Reboot empties it, and a device that answers during the wait is listed without a
//    numbered heading; once the device took it, "Rebooting" and a "..." each second;
//  - Load defaults says "Restoring defaults..", and "..." each second of the wait;
//  - SetIP and SetDHCP empty it once the device took the settings.
// The next search lists afresh.
class CommandListing final : public QObject {
    Q_OBJECT
public:
    CommandListing(DeviceCommandRun& run, DeviceSearch& search, QObject* parent = nullptr);

Q_SIGNALS:
    // The listing's text changed in the command's place.
    void changed();

private:
    void started();
    void waitStarted();
    void waitTicked();

    DeviceCommandRun& run_;
    DeviceSearch& search_;
};
