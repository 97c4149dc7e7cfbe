#include "EntryRig.h"

#include "fakes/WindowInput.h"

#include <QApplication>
#include <QGridLayout>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>

EntryPanel::EntryPanel()
{
    auto* grid = new QGridLayout(this);
    port = new QLineEdit(this);
    grid->addWidget(port, 0, 0);
    for (int i = 0; i < OctetBoxRules::BoxCount; ++i) {
        boxes[i] = new QLineEdit(this);
        grid->addWidget(boxes[i], 1 + i / 4, i % 4);
    }
    elsewhere = new QPushButton(QStringLiteral("OK"), this);
    grid->addWidget(elsewhere, 5, 0);
    setTabOrder(port, boxes[0]);
    OctetBoxRules::chainTabOrder(boxes);
    octetRules_ = std::make_unique<OctetBoxRules>(boxes, pendingSelectBox);
    portRules_ = std::make_unique<PortBoxRules>(*port);
    // The layout's minimum size becomes the window's before the window exists: given to a
    // shown window it is a size hint, which the offscreen platform cannot take.
    grid->activate();
}

EntryPanel::~EntryPanel() = default;

void TypeIntoFocus(const QString& keys)
{
    for (qsizetype i = 0; i < keys.size(); ++i) {
        QWidget& window = *QApplication::focusWidget()->window();
        if (keys[i] != QLatin1Char('{')) {
            WindowInput::Type(window, keys.mid(i, 1));
            continue;
        }
        const qsizetype close = keys.indexOf(QLatin1Char('}'), i);
        const QKeyCombination key = QKeySequence::fromString(keys.mid(i + 1, close - i - 1))[0];
        WindowInput::Key(window, key.key(), key.keyboardModifiers());
        i = close;
    }
}

void Click(QWidget& widget)
{
    WindowInput::Click(widget);
    QCoreApplication::processEvents();
}
