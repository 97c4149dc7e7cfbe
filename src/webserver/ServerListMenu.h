#pragma once

#include <QObject>
#include <QMenu>
#include <QPoint>
#include <QPointer>

#include <functional>

class QPlainTextEdit;

// The server list's context menu: the list's standard one (Copy, Select All) and what the
// window adds to it. It opens on a right click, the Menu key and Shift+F10, and never waits
// inside the event that opened it.
class ServerListMenu final : public QObject {
    Q_OBJECT
public:
    explicit ServerListMenu(QPlainTextEdit& list, QObject* parent = nullptr);

    // Asked at each opening: whether the list items (Copy list, Save list as...) are offered.
    void setListOffered(std::function<bool()> offered) { listOffered_ = std::move(offered); }

Q_SIGNALS:
    void copyListRequested();
    void saveListRequested();
    void searchAddressesRequested();
    void logFolderRequested();

private:
    // `at` in the list's coordinates.
    void open(QPoint at);

    QPlainTextEdit& list_;
    QPointer<QMenu> shown_;
    std::function<bool()> listOffered_ = [] { return false; };
};
