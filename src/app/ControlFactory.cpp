#include "Controls.h"

#include "BusyAnimation.h"
#include "CaptionFrame.h"
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

#include <map>
#include <string>

namespace {

QRect pixels(const ControlSpec& spec)
{
    return {TwipsToPixels(spec.left), TwipsToPixels(spec.top), TwipsToPixels(spec.width),
            TwipsToPixels(spec.height)};
}

const QColor kLightGreen(128, 255, 128);

QWidget* makeTabStrip(const ControlSpec& spec, QWidget* parent)
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
    const QRect area = pixels(spec);
    const int tabHeight = tabs->sizeHint().height();
    tabs->setGeometry(area.x() + 2, area.y(), area.width() - 4, tabHeight);
    page->setGeometry(area.x(), area.y() + tabHeight - 1, area.width(), area.height() - tabHeight + 1);
    return tabs;
}

QWidget* make(const ControlSpec& spec, QWidget* parent)
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
        auto* box = new QPlainTextEdit(parent);
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
        return makeTabStrip(spec, parent);
    case ControlKind::Animation:
        return new BusyAnimation(parent);
    }
    return nullptr;
}

template <typename T> void bindControl(T*& member, const std::map<std::string, QWidget*>& built, const std::string& name)
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
    for (const ControlSpec& spec : ControlTable()) {
        QWidget* parent = spec.parent.empty() ? window : built.at(std::string(spec.parent));
        QWidget* widget = make(spec, parent);
        widget->setObjectName(QString::fromUtf8(spec.name.data(), static_cast<qsizetype>(spec.name.size())));
        if (spec.kind != ControlKind::TabStrip)
            widget->setGeometry(pixels(spec));
        widget->setEnabled(!(spec.flags & Disabled));
        widget->setVisible(!(spec.flags & Hidden));
        built.emplace(std::string(spec.name), widget);
    }

    Controls c;
    bindControl(c.cmdReboot, built, "cmdReboot");
    bindControl(c.cmdSetIP, built, "cmdSetIP");
    bindControl(c.cmdDefault, built, "cmdDefault");
    bindControl(c.Animation1, built, "Animation1");
    bindControl(c.labStatus, built, "labStatus");
    bindControl(c.TabNIC, built, "TabNIC");
    bindControl(c.fraPC, built, "fraPC");
    bindControl(c.labNICName, built, "labNICName");
    bindControl(c.txtIP, built, "txtIP");
    bindControl(c.txtSubnet, built, "txtSubnet");
    bindControl(c.txtGateway, built, "txtGateway");
    bindControl(c.txtDNS, built, "txtDNS");
    bindControl(c.fraMurel, built, "fraMurel");
    bindControl(c.chkOldMurel, built, "chkOldMurel");
    bindControl(c.cmdWiFiConnect, built, "cmdWiFiConnect");
    bindControl(c.txtIPtoPing, built, "txtIPtoPing");
    bindControl(c.cmdPing, built, "cmdPing");
    bindControl(c.picRefresh, built, "picRefresh");
    bindControl(c.txtServers, built, "txtServers");
    bindControl(c.fraSetIP, built, "fraSetIP");
    bindControl(c.cmdIPOK, built, "cmdIPOK");
    bindControl(c.cmdIPCancel, built, "cmdIPCancel");
    bindControl(c.Frame2, built, "Frame2");
    bindArray(c.optAutoIP, built, "optAutoIP");
    bindControl(c.Label1, built, "Label1");
    bindControl(c.txtPort, built, "txtPort");
    bindControl(c.fraIP, built, "fraIP");
    bindArray(c.txtIPadres, built, "txtIPadres");
    bindArray(c.LabelIP, built, "LabelIP");
    bindArray(c.Label4, built, "Label4");
    bindControl(c.Frame1, built, "Frame1");
    bindControl(c.fraVoorstel, built, "fraVoorstel");
    bindControl(c.txtSSID, built, "txtSSID");
    bindControl(c.txtKey, built, "txtKey");
    bindArray(c.txtVoorstel, built, "txtVoorstel");
    bindControl(c.txtMurelPort, built, "txtMurelPort");
    bindControl(c.labProgress, built, "labProgress");
    bindControl(c.Label13, built, "Label13");
    bindControl(c.lstSSID, built, "lstSSID");
    bindControl(c.lstSignal, built, "lstSignal");
    bindControl(c.picRescan, built, "picRescan");
    // Inside a frame, frames only group: a control the table places in a frame must take
    // the clicks where it is drawn, above any sibling frame it overlaps (in the IP setup
    // panel the option frame covers OK and Cancel). The window's own children keep the
    // table's order, so the IP setup panel lies over the server list when shown.
    for (const ControlSpec& spec : ControlTable())
        if (!spec.parent.empty() && spec.kind != ControlKind::Frame)
            built.at(std::string(spec.name))->raise();
    return c;
}
