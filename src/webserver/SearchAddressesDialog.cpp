#include "SearchAddressesDialog.h"

#include "devices/SearchAddresses.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {
QString AnsweredText(const SearchAddresses& addresses)
{
    if (addresses.addresses().empty())
        return {};
    const int answered = addresses.answered();
    if (answered == 0)
        return QStringLiteral("No device answered from these addresses in the last search. "
                              "A device behind a router is found only if it answers by unicast.");
    return QStringLiteral("%1 device(s) answered from these addresses in the last search.").arg(answered);
}
} // namespace

SearchAddressesDialog::SearchAddressesDialog(SearchAddresses& addresses, QWidget* parent)
    : QDialog(parent), addresses_(addresses), entry_(new QLineEdit(this)), problem_(new QLabel(this))
{
    setWindowTitle(QStringLiteral("Search addresses"));
    auto* label = new QLabel(QStringLiteral("&Addresses"), this);
    label->setBuddy(entry_);
    entry_->setAccessibleName(QStringLiteral("Addresses"));
    entry_->setText(addresses_.storedText());
    auto* example = new QLabel(QStringLiteral("For example: 10.2.0.15, 10.3.1.0/24, 10.4.0.10-40"), this);
    auto* answered = new QLabel(AnsweredText(addresses_), this);
    answered->setWordWrap(true);
    answered->setVisible(!answered->text().isEmpty());
    problem_->setWordWrap(true);
    problem_->setStyleSheet(QStringLiteral("color: #c00000"));
    if (!addresses_.storedReads())
        problem_->setText(QStringLiteral("The stored entry cannot be read and is not searched; please correct it."));
    problem_->setVisible(!problem_->text().isEmpty());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SearchAddressesDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SearchAddressesDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(entry_);
    layout->addWidget(example);
    layout->addWidget(answered);
    layout->addWidget(problem_);
    layout->addWidget(buttons);
    setMinimumWidth(380);
}

void SearchAddressesDialog::accept()
{
    if (const std::optional<std::string> refusal = addresses_.store(entry_->text())) {
        // The entry stays for the correction, and nothing is stored or sent.
        problem_->setText(QString::fromStdString(*refusal));
        problem_->setVisible(true);
        entry_->setFocus(Qt::OtherFocusReason);
        return;
    }
    Q_EMIT stored();
    QDialog::accept();
}
