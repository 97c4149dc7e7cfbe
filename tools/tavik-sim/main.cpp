// tavik-sim: plays Tavik webservers on a (private, simulated) LAN.
#include "SimRuntime.h"
#include "SimSettings.h"
#include "platform/Utf8Locale.h"

#include <QCoreApplication>
#include <QFile>
#include <QSocketNotifier>

#include <csignal>
#include <cstdio>
#include <sys/socket.h>
#include <unistd.h>

namespace {

int signalPipe[2] = {-1, -1};

void onSignal(int)
{
    const char byte = 1;
    [[maybe_unused]] const ssize_t written = ::write(signalPipe[1], &byte, 1);
}

std::optional<std::string> readFile(const std::string& path)
{
    QFile file(QString::fromStdString(path));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return file.readAll().toStdString();
}

} // namespace

int main(int argc, char* argv[])
{
    UseUtf8LocaleWhereNoneIsSet();
    QCoreApplication app(argc, argv);
    const SimCommandLine commandLine = ParseSimCommandLine(QCoreApplication::arguments(), readFile);
    if (!commandLine.helpText.empty()) {
        std::fputs(commandLine.helpText.c_str(), stdout);
        return 0;
    }
    if (!commandLine.settings) {
        std::fprintf(stderr, "tavik-sim: %s (see --help)\n", commandLine.error.c_str());
        return 2;
    }

    // SIGINT/SIGTERM end the event loop, so the addresses the simulator added are removed.
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0, signalPipe) != 0)
        return 1;
    QSocketNotifier quitNotifier(signalPipe[0], QSocketNotifier::Read);
    QObject::connect(&quitNotifier, &QSocketNotifier::activated, &app, [] { QCoreApplication::quit(); });
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);

    SimRuntime runtime(*commandLine.settings);
    if (!runtime.start())
        return 1;
    return QCoreApplication::exec();
}
