#include "Controls.h"

#include "BusyAnimation.h"
#include "CaptionFrame.h"
#include "MultiLineTextBox.h"
#include "ControlTable.h"
#include "PictureButton.h"
#include "WrappingButton.h"

#include <QCheckBox>
#include <QFrame>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>

#include <cmath>
#include <map>
#include <string>

namespace {

// At a fractional scale (1.5, 1.25) a widget edge between two device pixels loses its
// one-pixel frame lines. Edges are kept on whole device pixels by rounding positions
// and sizes to the smallest step that the scale turns into whole pixels.
int snapped(int pixels, qreal scale)
{
    for (int step = 1; step <= 4; ++step)
        if (std::abs(step * scale - std::round(step * scale)) < 0.01)
            return static_cast<int>(std::lround(static_cast<double>(pixels) / step)) * step;
    return pixels;
}

QRect pixels(const ControlSpec& spec, qreal scale)
{
    return {snapped(TwipsToPixels(spec.left), scale), snapped(TwipsToPixels(spec.top), scale),
            snapped(TwipsToPixels(spec.width), scale), snapped(TwipsToPixels(spec.height), scale)};
}

const QColor kLightGreen(128, 255, 128);

QWidget* makeTabStrip(const ControlSpec& spec, QWidget* parent, qreal scale)
{
    // The strip draws its tabs along the top and a page frame below them; the
    // adapter frame is placed over that page by the table.
    auto* page = new QFrame(parent);
    page->setObjectName(QString::fromUtf8(spec.name.data(), spec.name.size()) + "_page");
    page->setFrameShape(QFrame::StyledPanel);
    auto* tabs = new QTabBar(parent);
    tabs->setExpanding(false);
    tabs->setDrawBase(false);
    tabs->addTab(QString::fromUtf8(spec.caption.data(), spec.caption.size()));
    const QRect area = pixels(spec, scale);
    const int tabHeight = snapped(tabs->sizeHint().height(), scale);
    tabs->setGeometry(area.x() + snapped(2, scale), area.y(), area.width() - 2 * snapped(2, scale), tabHeight);
    // The page's top line runs just under the tabs, so the selected tab opens into it.
    const int pageTop = snapped(area.y() + tabHeight - 1, scale);
    page->setGeometry(area.x(), pageTop, area.width(), area.bottom() + 1 - pageTop);
    return tabs;
}

QWidget* make(const ControlSpec& spec, QWidget* parent, qreal scale)
{
    const QString caption = QString::fromUtf8(spec.caption.data(), static_cast<qsizetype>(spec.caption.size()));
    switch (spec.kind) {
    case ControlKind::Button:
        return new QPushButton(caption, parent);
    case ControlKind::WrappingButton: {
        auto* button = new WrappingButton(caption, parent);
        button->setAutoFillBackground(true);
        return button;
    }
    case ControlKind::Label: {
        auto* label = new QLabel(caption, parent);
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // A caption never takes a click: one that overlaps a button (the status line
        // over "Load defaults") lets the click through to it.
        label->setAttribute(Qt::WA_TransparentForMouseEvents);
        return label;
    }
    case ControlKind::TextBox: {
        auto* box = new QLineEdit(caption, parent);
        if (spec.maxLength > 0)
            box->setMaxLength(spec.maxLength);
        box->setReadOnly(spec.flags & Locked);
        if (spec.flags & LightGreen) {
            QPalette palette = box->palette();
            palette.setColor(QPalette::Base, kLightGreen);
            box->setPalette(palette);
        }
        return box;
    }
    case ControlKind::MultiLineTextBox: {
        auto* box = new MultiLineTextBox(parent);
        box->setReadOnly(spec.flags & Locked);
        // Locked, but the caret can still be placed, as a click selects by it.
        box->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
        box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
        box->setLineWrapMode(QPlainTextEdit::WidgetWidth);
        return box;
    }
    case ControlKind::Frame: {
        auto* frame = new CaptionFrame(caption, parent);
        frame->setBorderless(spec.flags & NoBorder);
        return frame;
    }
    case ControlKind::OptionButton: {
        auto* option = new QRadioButton(caption, parent);
        option->setChecked(spec.flags & Selected);
        return option;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(caption, parent);
    case ControlKind::ListBox:
        return new QListWidget(parent);
    case ControlKind::PictureButton:
        return new PictureButton(parent);
    case ControlKind::TabStrip:
        return makeTabStrip(spec, parent, scale);
    case ControlKind::Animation:
        return new BusyAnimation(parent);
    }
    return nullptr;
}

template <typename T>
void bindControl(T*& member, const std::map<std::string, QWidget*>& built, const std::string& name)
{
    member = qobject_cast<T*>(built.at(name));
    Q_ASSERT_X(member, "BuildControls", name.c_str());
}

template <typename T, std::size_t N>
void bindArray(std::array<T*, N>& members, const std::map<std::string, QWidget*>& built, const char* name)
{
    for (std::size_t i = 0; i < N; ++i)
        bindControl(members[i], built, ArrayName(name, static_cast<int>(i)));
}

} // namespace

Controls BuildControls(QWidget* window)
{
    std::map<std::string, QWidget*> built;
    const qreal scale = window->devicePixelRatioF();
    for (const ControlSpec& spec : ControlTable()) {
        QWidget* parent = spec.parent.empty() ? window : built.at(std::string(spec.parent));
        QWidget* widget = make(spec, parent, scale);
        widget->setObjectName(QString::fromUtf8(spec.name.data(), static_cast<qsizetype>(spec.name.size())));
        if (spec.kind != ControlKind::TabStrip)
            widget->setGeometry(pixels(spec, scale));
        widget->setEnabled(!(spec.flags & Disabled));
        widget->setVisible(!(spec.flags & Hidden));
        built.emplace(std::string(spec.name), widget);
    }

    for (const ControlSpec& spec : ControlTable()) {
        if (spec.accessibleName.empty())
            continue;
        QWidget* control = built.at(std::string(spec.name));
        control->setAccessibleName(
            QString::fromUtf8(spec.accessibleName.data(), static_cast<qsizetype>(spec.accessibleName.size())));
        if (!spec.buddy.empty())
            qobject_cast<QLabel*>(built.at(std::string(spec.buddy)))->setBuddy(control);
    }
    // Inside a frame, frames only group: a control the table places in a frame must take
    // the clicks where it is drawn, above any sibling frame it overlaps (in the IP setup
    // panel the option frame covers OK and Cancel). The window's own children keep the
    // table's order, so the IP setup panel lies over the server list when shown.
    for (const ControlSpec& spec : ControlTable())
        if (!spec.parent.empty() && spec.kind != ControlKind::Frame)
            built.at(std::string(spec.name))->raise();
    Controls c;
#define HOPTRACE_BIND_CONTROL(Type, name, ...) bindControl(c.name, built, #name);
#define HOPTRACE_BIND_ARRAY(Type, name, owner) bindArray(c.name, built, #name);
#define HOPTRACE_NOTHING_TO_BIND(...)
    HOPTRACE_CONTROL_ROWS(HOPTRACE_BIND_CONTROL, HOPTRACE_BIND_ARRAY, HOPTRACE_NOTHING_TO_BIND,
                          HOPTRACE_NOTHING_TO_BIND)
#undef HOPTRACE_NOTHING_TO_BIND
#undef HOPTRACE_BIND_ARRAY
#undef HOPTRACE_BIND_CONTROL
    return c;
}
