#pragma once

#include <QAbstractButton>

// A picture box used as a button: shows the refresh symbol, a click is its action.
// As a button it takes focus, answers Space and Enter, and tells assistive tools
// that it is a button.
class PictureButton final : public QAbstractButton {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
