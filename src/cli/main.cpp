#include "CliArguments.h"
#include "CliCommands.h"

#include "platform/Interruption.h"
#include "platform/PlatformFactory.h"
#include "platform/Utf8Locale.h"

#include <QCoreApplication>

int main(int argc, char* argv[])
{
    UseUtf8LocaleWhereNoneIsSet();
    QCoreApplication app(argc, argv);
    // The window's names: one settings store and one data folder (the commissioning log) for both.
    QCoreApplication::setOrganizationName(QStringLiteral("Tavik"));
    QCoreApplication::setApplicationName(QStringLiteral("Hoptrace"));
    const CliRequest request = ParseCliArguments(QCoreApplication::arguments());
    if (request.verb == CliVerb::None)
        return request.exitCode;
    WatchForInterruption();
    const auto platform = CreatePlatformNetwork();
    CliCommands commands(platform->network());
    return RunCliRequest(request, commands);
}
