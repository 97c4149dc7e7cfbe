#include "SharedControls.h"

#include "webserver/WebserverSession.h"

#include "common/Latin1.h"
#include "controls/PictureButton.h"

#include <QApplication>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QPalette>
#include <QPushButton>

namespace {

const QColor kLightYellow(255, 255, 128);

void SetText(QAbstractButton& button, const QString& text)
{
    if (button.text() != text)
        button.setText(text);
}

QString Naming(const char* caption, const char* joint, const std::string& ip)
{
    const QString plain = QString::fromLatin1(caption);
    return ip.empty() ? plain : plain + QLatin1String(joint) + AnsiBytesToText(ip);
}

QString GatewayCaptionText(GatewayCaption caption)
{
    switch (caption) {
    case GatewayCaption::CurrentFound:
        return QStringLiteral("Connect to TAVIK-MUREL and set SSID, key, IP, ...");
    case GatewayCaption::OldFound:
        return QStringLiteral("Connect to TAVIK MUREL and set SSID, key, IP, ...");
    case GatewayCaption::CurrentChosen:
        return QStringLiteral("Connect to TAVIK-MUREL and open portal in web browser");
    case GatewayCaption::OldChosen:
        return QStringLiteral("Connect to TAVIK MUREL and wait for portal to open in web browser");
    case GatewayCaption::Designed:
        break;
    }
    return {};
}

void ShowGatewayRunning(QPushButton& button, bool running)
{
    if (running == !button.styleSheet().isEmpty())
        return;
    // Native styles (Windows' own, macOS) draw push buttons without the palette's button
    // colour; a style sheet is honoured by every style. The border keeps the native frame
    // from covering the colour. The sheet goes first: removing one restores the palette
    // the widget had when it was set.
    button.setStyleSheet(running ? QStringLiteral("QPushButton { background-color: rgb(255, 255, 128);"
                                                  " border: 1px solid palette(dark); border-radius: 2px; }")
                                 : QString());
    // Removing a sheet leaves the button with the application's font, not the window's: it
    // inherits the window's again (its caption was laid out for that one).
    if (!running)
        button.setFont(QFont());
    QPalette palette = button.palette();
    palette.setColor(QPalette::Button, running ? kLightYellow : QApplication::palette(&button).color(QPalette::Button));
    button.setPalette(palette);
}

void ShowSuggestionFrame(QGroupBox& frame, std::optional<int> adapterNumber, bool offered)
{
    // The designed caption stands until an adapter was shown.
    if (adapterNumber) {
        const QString title = QStringLiteral("Suggested for MUREL/Server on NIC#") + QString::number(*adapterNumber);
        if (frame.title() != title)
            frame.setTitle(title);
    }
    frame.setEnabled(offered);
}

void ShowStatus(QLabel& label, const QString& text, const std::optional<QColor>& colour)
{
    if (colour && label.palette().color(QPalette::WindowText) != *colour) {
        QPalette palette = label.palette();
        palette.setColor(QPalette::WindowText, *colour);
        label.setPalette(palette);
    }
    if (label.text() != text)
        label.setText(text);
}

} // namespace

bool SharedControls::rebootUsable(const WindowFacts& facts)
{
    const WebserverSession& session = facts.session;
    return session.rebootOffered() && !facts.searching && !session.command() && !session.ipPanelOpen();
}

void SharedControls::apply(const WindowFacts& facts, const WindowControls& c)
{
    const WebserverSession& session = facts.session;
    const bool panelOpen = session.ipPanelOpen();
    c.picRefresh->setEnabled(!facts.searching && !session.command() && !panelOpen);

    c.cmdReboot->setEnabled(rebootUsable(facts));
    SetText(*c.cmdReboot, Naming("Reboot", " ", session.rebootCaptionIp()));
    // Load defaults keeps Set IP as it was: only Reboot and the IP setup withdraw its offer.
    c.cmdSetIP->setEnabled(session.setIpOffered() && !facts.searching && !panelOpen);
    // No selection offers Load defaults; it stays as the window was designed, hidden and disabled.
    c.cmdDefault->setEnabled(false);
    SetText(*c.cmdDefault, Naming("Load defaults", " on ", session.defaultCaptionIp()));

    ShowStatus(*c.labStatus, facts.status.text, facts.status.colour);
    ShowSuggestionFrame(*c.fraVoorstel, facts.suggestionFor, facts.suggestionsOffered);

    c.fraMurel->setEnabled(facts.searchedOnce);
    c.cmdWiFiConnect->setEnabled(facts.connectReady.value_or(facts.searchedOnce));
    if (facts.gatewayCaption != GatewayCaption::Designed)
        SetText(*c.cmdWiFiConnect, GatewayCaptionText(facts.gatewayCaption));
    ShowGatewayRunning(*c.cmdWiFiConnect, facts.gatewayRunning);
}

void SharedControls::showHint(const QString& hint, const WindowControls& c)
{
    for (QPushButton* button : {c.cmdReboot, c.cmdDefault, c.cmdSetIP}) {
        if (button->toolTip() == hint)
            continue;
        button->setToolTip(hint);
        button->setAccessibleDescription(hint);
    }
}
