#include "app/frmHoptrace.h"
#include "platform/PlatformFactory.h"

#include <QApplication>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    const auto platform = CreatePlatformServices();
    frmHoptrace window(platform->services());
    window.load();
    return QApplication::exec();
}
