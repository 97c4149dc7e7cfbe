#include "EntryPanel.h"

#include <QGridLayout>
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
    setTabOrder(boxes[15], elsewhere);

    octetRules_ = std::make_unique<OctetBoxRules>(boxes, pendingSelectBox);
    portRules_ = std::make_unique<PortBoxRules>(*port);
}

EntryPanel::~EntryPanel() = default;
