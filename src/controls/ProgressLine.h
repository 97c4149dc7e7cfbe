#pragma once

#include <QColor>
#include <QString>

class QLabel;

// The Wi-Fi panel's progress line (labProgress), written here alone: the scan's hint, the
// gateway sequence's steps in black or red, and nothing once an adapter tab is clicked. The
// text stays here too, so that a step is copied to the status line without reading the label.
class ProgressLine final {
public:
    explicit ProgressLine(QLabel& label) : label_(label) { }

    void show(const QString& text);
    void setColour(const QColor& colour);
    const QString& text() const { return text_; }

private:
    QLabel& label_;
    QString text_;
};
