#include "WindowRig.h"

#include "webserver/ServerList.h"

#include <QPlainTextEdit>
#include <QTest>
#include <QTextCursor>

WindowRig::WindowRig(double startSecondsSinceMidnight) : fakes(startSecondsSinceMidnight) {}

WindowRig::~WindowRig() { window.reset(); }

void WindowRig::load()
{
    window = std::make_unique<frmHoptrace>(fakes.services());
    window->load();
}

void WindowRig::finishSearch() { fakes.time.advance(4.5); }

void WindowRig::clickServerListAt(std::size_t position)
{
    // Place the caret where `position` characters of the text lie before it, then click there.
    QPlainTextEdit* box = c().txtServers;
    const std::string& text = window->serverList().text();
    int shown = 0;
    for (std::size_t i = 0; i < position && i < text.size(); ++i)
        if (!(text[i] == '\n' && i > 0 && text[i - 1] == '\r'))
            ++shown;
    QTextCursor cursor(box->document());
    cursor.setPosition(shown);
    box->setTextCursor(cursor);
    const QPoint at = box->cursorRect(cursor).center();
    QTest::mouseRelease(box->viewport(), Qt::LeftButton, Qt::NoModifier, at);
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
