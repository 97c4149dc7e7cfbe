#include "app/frmHoptrace.h"
#include "platform/PlatformFactory.h"
#include "platform/qt/QtWindowLossWatch.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const auto platform = CreatePlatformServices();
    frmHoptrace window(platform->services());
    // A window destroyed from outside ends the program the way closing it does.
    const QtWindowLossWatch windowLoss(window, [&window] { window.close(); });
    window.load();
    return QApplication::exec();
}
