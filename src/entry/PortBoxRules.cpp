#include "PortBoxRules.h"

#include "common/LeadingNumber.h"
#include "entry/TypedCharCode.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

namespace {
constexpr int MaxPortChars = 5;
constexpr double HighestPort = 60000;
const QString DefaultPort = QStringLiteral("8080");

bool IsAdmitted(int code)
{
    constexpr int Backspace = 8, CtrlA = 1, CtrlC = 3, CtrlV = 22, CtrlX = 24;
    return (code >= '0' && code <= '9') || code == Backspace || code == CtrlA || code == CtrlC || code == CtrlV
        || code == CtrlX;
}
} // namespace

PortBoxRules::PortBoxRules(QLineEdit& box, QObject* parent) : QObject(parent), box_(box)
{
    box_.setMaxLength(MaxPortChars);
    // Composed input would reach the text without passing the key filter.
    box_.setAttribute(Qt::WA_InputMethodEnabled, false);
    box_.installEventFilter(this);
    connect(&box_, &QLineEdit::textChanged, this, &PortBoxRules::applyRangeRule);
}

bool PortBoxRules::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != &box_)
        return QObject::eventFilter(watched, event);

    if (event->type() == QEvent::KeyPress) {
        const auto code = TypedCharCode(*static_cast<QKeyEvent*>(event));
        return code && !IsAdmitted(*code);
    }
    if (event->type() == QEvent::MouseButtonRelease && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        // After the box's own press and release handling, which places the caret.
        QTimer::singleShot(0, this, [this, clicked = QPointer<QLineEdit>(&box_)] {
            if (clicked)
                selectWholeContent();
        });
    }
    return false;
}

void PortBoxRules::applyRangeRule()
{
    // A negative value (only pasting or a program write can bring a "-") is no port
    // either; it would not fit the two port bytes of the SetIP datagram.
    const double value = LeadingNumber(box_.text().toStdString());
    if (value < 0 || value > HighestPort) {
        box_.setText(DefaultPort); // raises textChanged again; 8080 is in range
        box_.setSelection(0, static_cast<int>(DefaultPort.size()));
    }
}

QString PortBoxRules::textForWrite(double value)
{
    // Also catches an infinite value ("1e999"), which as text would read "inf".
    if (!(value >= 0 && value <= HighestPort))
        return DefaultPort;
    return QString::number(value, 'g', 15);
}

void PortBoxRules::selectWholeContent() { box_.setSelection(0, static_cast<int>(box_.text().size())); }
