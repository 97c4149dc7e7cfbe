#include "OctetBoxRules.h"

#include "common/LeadingNumber.h"
#include "entry/TypedCharCode.h"

#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPointer>
#include <QTimer>

namespace {
constexpr int MaxOctetChars = 3;
constexpr int CodeBackspace = 8;
constexpr int CodeEnter = 13;
constexpr int CodeCtrlA = 1;
constexpr int CodeCtrlC = 3;
constexpr int CodeCtrlV = 22;
constexpr int CodeCtrlX = 24;

double ValueOf(const QLineEdit& box) { return LeadingNumber(box.text().toStdString()); }
bool IsDigit(int code) { return code >= '0' && code <= '9'; }
bool IsModifierKey(int key)
{
    return key == Qt::Key_Shift || key == Qt::Key_Control || key == Qt::Key_Alt || key == Qt::Key_AltGr
        || key == Qt::Key_Meta || key == Qt::Key_CapsLock;
}
} // namespace

OctetBoxRules::OctetBoxRules(const Boxes& boxes, QObject* parent) : QObject(parent), boxes_(boxes)
{
    for (int i = 0; i < BoxCount; ++i) {
        QLineEdit* box = boxes_[i];
        box->setMaxLength(MaxOctetChars);
        // Composed input would reach the text without passing the key filter.
        box->setAttribute(Qt::WA_InputMethodEnabled, false);
        box->installEventFilter(this);
        connect(box, &QLineEdit::textChanged, this, [this, i] { applyRangeRules(i); });
    }
}

void OctetBoxRules::chainTabOrder(const Boxes& boxes)
{
    for (int i = 0; i + 1 < BoxCount; ++i)
        QWidget::setTabOrder(boxes[i], boxes[i + 1]);
}

int OctetBoxRules::indexOf(const QObject* watched) const
{
    for (int i = 0; i < BoxCount; ++i) {
        if (boxes_[i] == watched)
            return i;
    }
    return -1;
}

bool OctetBoxRules::eventFilter(QObject* watched, QEvent* event)
{
    const int box = indexOf(watched);
    if (box < 0)
        return QObject::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::KeyPress:
        return keyEvent(box, *static_cast<QKeyEvent*>(event));
    case QEvent::FocusIn: {
        // Coming back to the window or from a context menu is not entering the box.
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
            gotFocus(box);
        return false;
    }
    case QEvent::MouseButtonRelease:
        if (static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton)
            clickLater(box);
        return false;
    default:
        return false;
    }
}

bool OctetBoxRules::keyEvent(int box, const QKeyEvent& event)
{
    if (const auto code = TypedCharCode(event))
        return keyPress(box, *code);
    // Keys that type nothing reach the box untouched. Shift alone is part of typing
    // the "." on some keyboards and leaves the advance grace in place.
    if (!IsModifierKey(event.key()))
        advancedInto_ = -1;
    return false;
}

void OctetBoxRules::clickLater(int box)
{
    // The click rule looks at the selection the click has left, so it runs once the
    // box has finished its own handling of the press and the release.
    QTimer::singleShot(0, this, [this, box, clicked = QPointer<QLineEdit>(boxes_[box])] {
        if (clicked)
            click(box);
    });
}

bool OctetBoxRules::keyPress(int box, int charCode)
{
    const bool justAdvanced = advancedInto_ == box;
    advancedInto_ = -1;

    if (charCode == '.') {
        // Typing a whole dotted address: after the third digit has already moved the
        // focus on, the "." that follows is that same separator, not a second jump.
        if (!justAdvanced && !isLastOfRow(box))
            boxes_[box + 1]->setFocus(Qt::TabFocusReason);
        return true;
    }
    if (IsDigit(charCode)) {
        // The test is on the text as it will be after the key: a digit that replaces a
        // selection starts the octet afresh (typing 10.77.0.77 over a filled row gives
        // that address), and the third digit lands here while the focus moves on.
        const QLineEdit& edit = *boxes_[box];
        if (edit.text().size() - edit.selectedText().size() + 1 == MaxOctetChars && !isLastOfRow(box))
            advanceKeepingSelection(box);
        return false;
    }
    switch (charCode) {
    case CodeBackspace:
    case CodeEnter:
    case CodeCtrlA:
    case CodeCtrlC:
    case CodeCtrlV:
    case CodeCtrlX:
        return false;
    default:
        return true;
    }
}

void OctetBoxRules::advanceKeepingSelection(int box)
{
    // Losing the focus clears a line edit's selection, but the digit on its way into
    // this box is still to replace whatever the user had selected here.
    QLineEdit& edit = *boxes_[box];
    const int start = edit.selectionStart();
    const int length = edit.selectionLength();
    const bool caretAtStart = length > 0 && edit.cursorPosition() == start;

    boxes_[box + 1]->setFocus(Qt::TabFocusReason);
    advancedInto_ = box + 1;

    if (length > 0) {
        if (caretAtStart)
            edit.setSelection(start + length, -length);
        else
            edit.setSelection(start, length);
    }
}

void OctetBoxRules::applyRangeRules(int box)
{
    // setText below raises textChanged again, so this runs nested inside itself;
    // the nested run sees "255" or "" and stops there.
    QLineEdit& edit = *boxes_[box];
    const double value = ValueOf(edit);
    if (value < 0 || value > 255) {
        edit.setText(QStringLiteral("255"));
        edit.setSelection(0, MaxOctetChars);
    }
    // An address, mask, gateway or DNS server never ends in 255.
    if (isLastOfRow(box) && ValueOf(edit) == 255)
        edit.setText(QString());
}

QString OctetBoxRules::textForWrite(const QString& text, int box)
{
    const double value = LeadingNumber(text.toStdString());
    if (!(value >= 0 && value <= 255))
        return isLastOfRow(box) ? QString() : QStringLiteral("255");
    if (isLastOfRow(box) && value == 255)
        return QString();
    // A longer text of an octet value ("0100", "1 0 0") would be cut to another value.
    if (text.size() > MaxOctetChars && value == static_cast<int>(value))
        return QString::number(static_cast<int>(value));
    return text;
}

void OctetBoxRules::gotFocus(int box)
{
    advancedInto_ = -1;
    pendingSelectBox_ = box;
    selectWholeContent(box);
}

void OctetBoxRules::click(int box)
{
    advancedInto_ = -1;
    if (boxes_[box]->hasSelectedText()) {
        pendingSelectBox_ = -1;
        return;
    }
    // The press that brought the focus has put the caret over the focus selection;
    // the first click after the focus restores it, the next one places the caret.
    if (pendingSelectBox_ == box) {
        selectWholeContent(box);
        pendingSelectBox_ = -1;
    }
}

void OctetBoxRules::selectWholeContent(int box) { boxes_[box]->setSelection(0, MaxOctetChars); }
