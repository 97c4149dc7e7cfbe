#pragma once

#include <QObject>
#include <QPointer>

#include <string>

class AdapterTable;
class DeviceSearch;
class QFileDialog;
class QWidget;
class ServerListMenu;
struct Services;

// What the list's menu does with the record of the work: the listed devices copied as rows
// that paste into a spreadsheet, or saved as a CSV file, with the command line's columns and
// writer; and the commissioning log's folder opened in the desktop's file manager (the log's
// own file type has no handler on every system). The lists are of what the list shows at the
// moment the item is chosen.
class ListExport final : public QObject {
    Q_OBJECT
public:
    // `window` is the one the file dialog is modal to.
    ListExport(ServerListMenu& menu, const DeviceSearch& search, const AdapterTable& nics, Services& services,
               QWidget& window);
    ~ListExport() override;

    bool devicesListed() const;
    void copyList();
    // Asks where through the platform's file dialog, without waiting for it.
    void saveListAs();
    // Makes the folder first: before the first command it does not exist yet.
    void openLogFolder();

private:
    std::string listing(bool forFile) const;

    const DeviceSearch& search_;
    const AdapterTable& nics_;
    Services& services_;
    QWidget& window_;
    QPointer<QFileDialog> dialog_;
};
