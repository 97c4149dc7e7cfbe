#include "WindowRig.h"

#include "WindowInput.h"

#include "app/KeyboardFlow.h"
#include "controls/ControlTable.h"
#include "webserver/ServerList.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>

WindowRig::WindowRig(double startSecondsSinceMidnight) : fakes(startSecondsSinceMidnight) { }

WindowRig::~WindowRig() { window.reset(); }

void WindowRig::load()
{
    window = std::make_unique<frmHoptrace>(fakes.services());
    window->load();
}

void WindowRig::finishSearch() { fakes.time.advance(4.5); }

void WindowRig::clickServerListAt(std::size_t position)
{
    // Find where the caret would stand after `position` characters, then click there
    // through the window, as a person does: the click itself places the caret.
    QPlainTextEdit* box = c().txtServers;
    const std::string& text = window->serverList().text();
    int shown = 0;
    for (std::size_t i = 0; i < position && i < text.size(); ++i)
        if (!(text[i] == '\n' && i > 0 && text[i - 1] == '\r'))
            ++shown;
    QTextCursor cursor(box->document());
    cursor.setPosition(shown);
    box->setTextCursor(cursor); // scrolls it into view
    WindowInput::ClickAt(*box->viewport(), box->cursorRect(cursor).center());
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
    // The window is narrowed at start; widened, the panel beyond its edge can be reached
    // and its controls take focus, as every control inside the window does. A shown
    // window's new fixed size is a size hint, which the offscreen window system only
    // warns about.
    if (QGuiApplication::platformName() == QLatin1String("offscreen"))
        QTest::ignoreMessage(QtWarningMsg, "This plugin does not support propagateSizeHints()");
    window->setFixedSize(TwipsToPixels(11700), window->height());
    window->findChild<KeyboardFlow*>()->limitFocusTo(window->rect());
}

std::string WindowRig::serverText() const { return window->serverList().text(); }

int WindowRig::sentCount(const std::string& bytes) const
{
    int count = 0;
    for (const auto& sent : fakes.socket.sent)
        count += sent.bytes == bytes;
    return count;
}

std::string TavikReply(const ReplyFields& f)
{
    return "Host Name : " + f.host + "\r\nMAC Address : " + f.mac + "\r\nIP Assignment : " + f.assignment
        + "\r\nIP Address : " + f.address + "\r\nSubNet Mask : " + f.mask + "\r\nGateway : " + f.gateway
        + "\r\nDNS Server : " + f.dns + "\r\nFirmware : 1.07\r\n";
}
