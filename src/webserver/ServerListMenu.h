#pragma once

#include <QObject>
#include <QMenu>
#include <QPoint>
#include <QPointer>

class QPlainTextEdit;

// The server list's context menu: the list's standard one (Copy, Select All) and what the
// window adds to it. It opens on a right click, the Menu key and Shift+F10, and never waits
// inside the event that opened it.
class ServerListMenu final : public QObject {
    Q_OBJECT
public:
    explicit ServerListMenu(QPlainTextEdit& list, QObject* parent = nullptr);

Q_SIGNALS:
    void searchAddressesRequested();

private:
    // `at` in the list's coordinates.
    void open(QPoint at);

    QPlainTextEdit& list_;
    QPointer<QMenu> shown_;
};
