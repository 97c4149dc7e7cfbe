#pragma once

#include <QObject>
#include <QPointer>

class QRect;
class QWidget;
struct Controls;

// What a keyboard user relies on beyond each control's own keys: the IP setup panel
// opens on its selected option (its Enter and Escape are the panel's own); focus comes
// back after a command or the panel; controls the window does not show take no focus.
class KeyboardFlow final : public QObject {
    Q_OBJECT
public:
    KeyboardFlow(QWidget& window, const Controls& controls);

    // Controls outside `area` (window coordinates) take no focus; those inside take
    // focus as they normally do.
    void limitFocusTo(const QRect& area);
    // Focus goes back to the control that lost it when a command or the panel took it
    // away, or else to the server list. Without either able to take it, it waits for
    // the next call.
    void returnFocus();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void focusChanged(QWidget* old, QWidget* now);

    QWidget& window_;
    const Controls& c_;
    QPointer<QWidget> returnTo_;
    bool returning_ = false;
};
