#include "ServerListMenu.h"

#include <QMenu>
#include <QPlainTextEdit>
#include <QShortcut>

ServerListMenu::ServerListMenu(QPlainTextEdit& list, QObject* parent) : QObject(parent), list_(list)
{
    list_.setContextMenuPolicy(Qt::CustomContextMenu);
    connect(&list_, &QWidget::customContextMenuRequested, this, &ServerListMenu::open);
    // The keys users of every desktop expect to open it, at the caret. Some window systems
    // also turn the Menu key into a context menu request of their own: open() shows one menu.
    for (const QKeySequence& keys : {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
        auto* shortcut = new QShortcut(keys, &list_);
        shortcut->setContext(Qt::WidgetShortcut);
        connect(shortcut, &QShortcut::activated, this,
                [this] { open(list_.viewport()->mapTo(&list_, list_.cursorRect().bottomLeft())); });
    }
}

void ServerListMenu::open(QPoint at)
{
    if (shown_ && shown_->isVisible())
        return;
    QMenu* menu = list_.createStandardContextMenu(list_.viewport()->mapFrom(&list_, at));
    shown_ = menu;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addSeparator();
    const bool listed = listOffered_();
    menu->addAction(QStringLiteral("Copy list"), this, &ServerListMenu::copyListRequested)->setEnabled(listed);
    menu->addAction(QStringLiteral("Save list as..."), this, &ServerListMenu::saveListRequested)->setEnabled(listed);
    menu->addSeparator();
    menu->addAction(QStringLiteral("Search addresses..."), this, &ServerListMenu::searchAddressesRequested);
    menu->addAction(QStringLiteral("Open commissioning log folder"), this, &ServerListMenu::logFolderRequested);
    menu->popup(list_.mapToGlobal(at));
}
