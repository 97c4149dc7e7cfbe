#include "CaptionFit.h"

#include "WrappingButton.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace {

constexpr int kSmallestPixelSize = 8;

// Room the style needs beside a caption: indicator of a check or option box, frame of a button.
int captionRoom(const QWidget* widget)
{
    if (qobject_cast<const QCheckBox*>(widget) || qobject_cast<const QRadioButton*>(widget))
        return widget->width() - 20;
    if (qobject_cast<const QPushButton*>(widget))
        return widget->width() - 8;
    if (qobject_cast<const QGroupBox*>(widget))
        return widget->width() - 16;
    return widget->width();
}

QString captionOf(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget))
        return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget))
        return button->text();
    if (const auto* frame = qobject_cast<const QGroupBox*>(widget))
        return frame->title();
    return {};
}

// A label that has room for one line only must hold its caption on that line.
bool singleLine(const QWidget* widget)
{
    if (qobject_cast<const WrappingButton*>(widget))
        return false;
    if (qobject_cast<const QLabel*>(widget))
        return widget->height() < 2 * widget->fontMetrics().lineSpacing();
    return true;
}

void fit(QWidget* widget)
{
    const QString caption = captionOf(widget);
    if (caption.isEmpty() || !singleLine(widget))
        return;
    // A one-line label must not break its caption onto a line it has no room for.
    if (auto* label = qobject_cast<QLabel*>(widget))
        label->setWordWrap(false);
    QFont font = widget->font();
    int size = font.pixelSize();
    while (size > kSmallestPixelSize && QFontMetrics(font).horizontalAdvance(caption) > captionRoom(widget)) {
        font.setPixelSize(--size);
    }
    if (size != widget->font().pixelSize())
        widget->setFont(font);
}

} // namespace

void FitCaptions(QWidget* root)
{
    for (QWidget* widget : root->findChildren<QWidget*>())
        fit(widget);
}
