#pragma once

#include "entry/OctetBoxRules.h"
#include "entry/PortBoxRules.h"

#include <QWidget>

#include <memory>

class QLineEdit;
class QPushButton;

// A shown top-level stand-in for the IP setup panel: sixteen octet boxes in four
// rows, the port box and one button to take the focus elsewhere, with the rules
// attached the way the window attaches them.
class EntryPanel final : public QWidget {
public:
    EntryPanel();
    ~EntryPanel() override;

    OctetBoxRules::Boxes boxes{};
    QLineEdit* port = nullptr;
    QPushButton* elsewhere = nullptr;
    int pendingSelectBox = -1;

private:
    std::unique_ptr<OctetBoxRules> octetRules_;
    std::unique_ptr<PortBoxRules> portRules_;
};
