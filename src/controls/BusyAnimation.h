#pragma once

#include <QTimer>
#include <QWidget>

// The busy animation: a painted spinner that plays while the window is busy.
class BusyAnimation final : public QWidget {
    Q_OBJECT
public:
    explicit BusyAnimation(QWidget* parent = nullptr);
    void play();
    void stop();
    bool isPlaying() const { return frames_.isActive(); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QTimer frames_;
    int frame_ = 0;
};
