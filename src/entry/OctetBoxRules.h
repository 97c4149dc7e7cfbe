#pragma once

#include <QObject>

#include <array>

#include <QString>

class QKeyEvent;
class QLineEdit;

// The rules of the sixteen octet boxes txtIPadres(0..15) of the IP setup panel:
// box 4 × row + octet, rows IP address, subnet mask, gateway, DNS server.
// Attached once to line edits the window owns; every box then
// - takes digits, Backspace, Enter and Ctrl+A/C/X/V and silently drops any other
//   typed character; "." and a third digit move the focus to the next octet of the row,
// - pulls an out-of-range value back to "255" (selected) and empties a last octet
//   of 255, whether the text was typed, pasted or written with setText,
// - selects its whole content on focus and once more on the first click after it.
class OctetBoxRules final : public QObject {
    Q_OBJECT
public:
    static constexpr int BoxCount = 16;
    using Boxes = std::array<QLineEdit*, BoxCount>;

    explicit OctetBoxRules(const Boxes& boxes, QObject* parent = nullptr);

    // Tab order through the boxes row by row, in index order.
    static void chainTabOrder(const Boxes& boxes);
    // What a program write of text into box ends up as: the range rules judge the whole
    // value before the three-character limit could cut it ("1000" is 255, not 100).
    static QString textForWrite(const QString& text, int box);
    // Octet position 3: the box that closes a row (3, 7, 11, 15).
    static bool isLastOfRow(int box) { return box % 4 == 3; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int indexOf(const QObject* watched) const;
    // True when the key is to be dropped.
    bool keyEvent(int box, const QKeyEvent& event);
    bool keyPress(int box, int charCode);
    // Third digit: the focus moves on while the digit still goes into this box.
    void advanceKeepingSelection(int box);
    void applyRangeRules(int box);
    void gotFocus(int box);
    void clickLater(int box);
    void click(int box);
    void selectWholeContent(int box);

    Boxes boxes_;
    // The box whose next click selects all once more, having just taken the focus (-1 = none).
    int pendingSelectBox_ = -1;
    // The box the third-digit advance has just moved the focus to, until the next key.
    int advancedInto_ = -1;
};
