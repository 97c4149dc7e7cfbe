#pragma once

#include <QObject>

class QLineEdit;

// The rules of the port box txtPort of the IP setup panel: at most five characters,
// only digits, Backspace and Ctrl+A/C/X/V get in (Enter too is dropped), a value
// outside 0..60000 falls back to "8080" (selected), whether typed, pasted or written
// with setText, and every click selects the whole content.
class PortBoxRules final : public QObject {
    Q_OBJECT
public:
    explicit PortBoxRules(QLineEdit& box, QObject* parent = nullptr);

    // The text a program write of the port value shows: the range rule judges the whole
    // value, before the five-character limit could cut it (123456 is 8080, not 12345).
    static QString textForWrite(double value);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void applyRangeRule();
    void selectWholeContent();

    QLineEdit& box_;
};
