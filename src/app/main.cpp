#include "app/frmHoptrace.h"
#include "platform/PlatformFactory.h"
#include "platform/Utf8Locale.h"
#include "platform/qt/QtWindowLossWatch.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    UseUtf8LocaleWhereNoneIsSet();
    QApplication app(argc, argv);
    // The command line's names: one settings store and one data folder (the commissioning log) for both.
    QCoreApplication::setOrganizationName(QStringLiteral("Tavik"));
    QCoreApplication::setApplicationName(QStringLiteral("Hoptrace"));
    // The program ends once the closed window's operations have ended (the gateway
    // sequence may still owe the WLAN its switch-on), not with the window itself.
    QApplication::setQuitOnLastWindowClosed(false);
    const auto platform = CreatePlatformServices();
    frmHoptrace window(platform->services());
    // A window destroyed from outside ends the program the way closing it does.
    const QtWindowLossWatch windowLoss(window, [&window] { window.close(); });
    QObject::connect(&window, &frmHoptrace::closingDone, &app, &QCoreApplication::quit);
    window.load();
    return QApplication::exec();
}
