#include "WindowRig.h"

#include "app/KeyboardFlow.h"
#include "controls/ControlTable.h"
#include "webserver/ServerList.h"

#include <QGuiApplication>

#include <algorithm>

void WindowRig::load()
{
    window = std::make_unique<frmHoptrace>(fakes.services());
    window->load();
}

void WindowRig::clickServerListAt(std::size_t position)
{
    // The box shows CR LF as one character; the click itself places the caret, as a person's does.
    const std::string& text = window->serverList().text();
    int shown = 0;
    for (std::size_t i = 0; i < position && i < text.size(); ++i)
        shown += !(text[i] == '\n' && i > 0 && text[i - 1] == '\r');
    WindowInput::ClickAtCaret(*c().txtServers, shown);
}

void WindowRig::listReplies(const std::vector<std::string>& replies)
{
    load();
    double at = 0.2;
    for (const std::string& reply : replies)
        fakes.socket.deliver(reply, at += 0.2);
    finishSearch();
}

void WindowRig::showWifiPanel()
{
    // A shown window's new fixed size is a size hint, which the offscreen window system only warns about.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        QTest::ignoreMessage(QtWarningMsg, "This plugin does not support propagateSizeHints()");
    window->setFixedSize(TwipsToPixels(11700), window->height());
    window->findChild<KeyboardFlow*>()->limitFocusTo(window->rect());
}

void WindowRig::finishOperation()
{
    fakes.time.advance(0.0); // what is due at once: a box the user closes without reading
    while (window->operationRunning() && fakes.time.step()) { }
}

std::string WindowRig::serverText() const { return window->serverList().text(); }

int WindowRig::sentCount(const std::string& bytes) const
{
    return int(std::ranges::count(fakes.socket.sent, bytes, &FakeUdpSocket::Sent::bytes));
}
