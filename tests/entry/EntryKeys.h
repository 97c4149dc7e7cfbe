#pragma once

#include <QString>

class QLineEdit;
class QWidget;

// Real keyboard and mouse input as a user gives it: each key goes to whichever
// widget holds the focus at that moment.
namespace EntryKeys {

void TypeIntoFocus(const QString& keys);
void SequenceIntoFocus(const QString& portableKeySequence);
void PasteIntoFocus(const QString& clipboardText);
// A left click, then the queued work the click leaves behind.
void Click(QWidget& widget);
// The box's texts from first to first + count - 1, joined by "/".
QString Texts(const QLineEdit* const* boxes, int count);

} // namespace EntryKeys
