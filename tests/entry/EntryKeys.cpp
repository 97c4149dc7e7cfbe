#include "EntryKeys.h"

#include <QApplication>
#include <QClipboard>
#include <QKeySequence>
#include <QLineEdit>
#include <QStringList>
#include <QTest>

namespace EntryKeys {

void TypeIntoFocus(const QString& keys)
{
    for (const QChar key : keys)
        QTest::keyClick(QApplication::focusWidget(), key.toLatin1());
}

void SequenceIntoFocus(const QString& portableKeySequence)
{
    // One QKeySequence holds at most four keys, so each comma-separated key is its own.
    for (const QString& part : portableKeySequence.split(QStringLiteral(", "))) {
        const QKeyCombination key = QKeySequence::fromString(part)[0];
        QTest::keyClick(QApplication::focusWidget(), key.key(), key.keyboardModifiers());
    }
}

void PasteIntoFocus(const QString& clipboardText)
{
    QGuiApplication::clipboard()->setText(clipboardText);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_V, Qt::ControlModifier);
}

void Click(QWidget& widget)
{
    QTest::mouseClick(&widget, Qt::LeftButton);
    QCoreApplication::processEvents();
}

QString Texts(const QLineEdit* const* boxes, int count)
{
    QStringList texts;
    for (int i = 0; i < count; ++i)
        texts << boxes[i]->text();
    return texts.join(QLatin1Char('/'));
}

} // namespace EntryKeys
