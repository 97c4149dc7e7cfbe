#include "KeyboardFlow.h"

#include "controls/Controls.h"

#include <QApplication>
#include <QGroupBox>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QTimer>

namespace {
constexpr const char* kUsualFocusPolicy = "usualFocusPolicy";

bool canTakeFocus(const QWidget* widget)
{
    return widget && widget->isEnabled() && widget->isVisible() && (widget->focusPolicy() & Qt::TabFocus);
}
} // namespace

KeyboardFlow::KeyboardFlow(QWidget& window, const Controls& controls) : QObject(&window), window_(window), c_(controls)
{
    connect(qApp, &QApplication::focusChanged, this, &KeyboardFlow::focusChanged);
    // The panel's opening and closing move the focus.
    c_.fraSetIP->installEventFilter(this);
}

void KeyboardFlow::limitFocusTo(const QRect& area)
{
    for (QWidget* control : window_.findChildren<QWidget*>()) {
        QVariant usual = control->property(kUsualFocusPolicy);
        if (!usual.isValid()) {
            if (control->focusPolicy() == Qt::NoFocus)
                continue;
            usual = static_cast<int>(control->focusPolicy());
            control->setProperty(kUsualFocusPolicy, usual);
        }
        const QRect inWindow(control->mapTo(&window_, QPoint(0, 0)), control->size());
        control->setFocusPolicy(area.contains(inWindow) ? static_cast<Qt::FocusPolicy>(usual.toInt()) : Qt::NoFocus);
    }
}

void KeyboardFlow::returnFocus()
{
    QWidget* target = canTakeFocus(returnTo_) ? returnTo_.data() : nullptr;
    if (!target && canTakeFocus(c_.txtServers))
        target = c_.txtServers;
    if (!target)
        return;
    returnTo_ = nullptr;
    returning_ = true;
    target->setFocus(Qt::OtherFocusReason);
    returning_ = false;
}

void KeyboardFlow::focusChanged(QWidget* old, QWidget* now)
{
    Q_UNUSED(now);
    // A control that loses focus because it was disabled or hidden (a command started
    // from it, the window went busy) is where focus belongs once that is over; the
    // first such control counts, not the ones focus passed through on its way out.
    if (returning_ || returnTo_ || !old || old->window() != &window_)
        return;
    if (!old->isEnabled() || !old->isVisible())
        returnTo_ = old;
}

bool KeyboardFlow::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == c_.fraSetIP && event->type() == QEvent::Show) {
        // The control the panel was opened from (Set IP) takes the focus back when it closes;
        // the window withdraws that control only once the panel's opening has been handled.
        QWidget* opener = QApplication::focusWidget();
        if (!returnTo_ && opener && opener->window() == &window_ && !c_.fraSetIP->isAncestorOf(opener))
            returnTo_ = opener;
        QRadioButton* selected = c_.optAutoIP[1]->isChecked() ? c_.optAutoIP[1] : c_.optAutoIP[0];
        selected->setFocus(Qt::OtherFocusReason);
    } else if (watched == c_.fraSetIP && event->type() == QEvent::Hide) {
        // Once the window has followed the panel's end (Set IP is offered again).
        QTimer::singleShot(0, this, &KeyboardFlow::returnFocus);
    }
    return QObject::eventFilter(watched, event);
}
