#include "QtUrlOpener.h"

#include <QDesktopServices>
#include <QUrl>

void QtUrlOpener::open(const std::string& url) { QDesktopServices::openUrl(QUrl(QString::fromStdString(url))); }
