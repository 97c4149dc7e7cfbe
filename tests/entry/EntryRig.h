#pragma once

#include "entry/OctetBoxRules.h"
#include "entry/PortBoxRules.h"

#include <QWidget>

#include <memory>

class QLineEdit;
class QPushButton;

// A shown stand-in for the IP setup panel: the port box, sixteen octet boxes in four
// rows and a button to take the focus elsewhere, with the rules attached as the window does.
class EntryPanel final : public QWidget {
public:
    EntryPanel();
    ~EntryPanel() override;

    QLineEdit* port = nullptr;
    OctetBoxRules::Boxes boxes{};
    QPushButton* elsewhere = nullptr;
    int pendingSelectBox = -1;

private:
    std::unique_ptr<OctetBoxRules> octetRules_;
    std::unique_ptr<PortBoxRules> portRules_;
};

// Real key presses, each to whichever widget holds the focus at that moment: a plain
// character is typed, "{Shift+Home}" is one key sequence.
void TypeIntoFocus(const QString& keys);
// A left click, then the queued work the click leaves behind.
void Click(QWidget& widget);
