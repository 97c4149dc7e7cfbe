#pragma once

#include <QDialog>

class QLabel;
class QLineEdit;
class SearchAddresses;

// "Search addresses...": one line of addresses, ranges and blocks beyond the broadcast's
// reach, checked as a whole before it is stored, and how many devices answered from the
// stored ones in the last search.
class SearchAddressesDialog final : public QDialog {
    Q_OBJECT
public:
    SearchAddressesDialog(SearchAddresses& addresses, QWidget* parent);

    void accept() override;

Q_SIGNALS:
    // OK stored a new entry (an empty one clears).
    void stored();

private:
    SearchAddresses& addresses_;
    QLineEdit* entry_;
    QLabel* problem_;
};
