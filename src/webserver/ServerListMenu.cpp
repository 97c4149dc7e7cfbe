#include "ServerListMenu.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>

ServerListMenu::ServerListMenu(QPlainTextEdit& list, QObject* parent) : QObject(parent), list_(list)
{
    list_.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&list_, &QWidget::customContextMenuRequested, this, &ServerListMenu::open);
    // The Menu key reaches the list as a context menu request; Shift+F10 is the other key
    // that users of every desktop expect to open it.
    auto* shiftF10 = new QShortcut(QKeySequence(Qt::SHIFT | Qt::Key_F10), &list_);
    shiftF10->setContext(Qt::WidgetShortcut);
    connect(shiftF10, &QShortcut::activated, this, [this] {
        open(list_.viewport()->mapTo(&list_, list_.cursorRect().bottomLeft()));
    });
}

void ServerListMenu::open(QPoint at)
{
    QMenu* menu = list_.createStandardContextMenu(list_.viewport()->mapFrom(&list_, at));
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    menu->addAction(QStringLiteral("Search addresses..."), this, &ServerListMenu::searchAddressesRequested);
    menu->popup(list_.mapToGlobal(at));
}
