#pragma once

#include <QPlainTextEdit>

// A multi-line text box that shows when it has the focus: a caret alone, in a locked
// box, is too faint to find.
class MultiLineTextBox final : public QPlainTextEdit {
    Q_OBJECT
public:
    using QPlainTextEdit::QPlainTextEdit;

protected:
    bool event(QEvent* event) override;
};
