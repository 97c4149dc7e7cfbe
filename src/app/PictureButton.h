#pragma once

#include <QWidget>

// A picture box used as a button: shows the refresh symbol, a click is its action.
class PictureButton final : public QWidget {
    Q_OBJECT
public:
    explicit PictureButton(QWidget* parent = nullptr);

Q_SIGNALS:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
};
