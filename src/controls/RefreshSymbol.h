#pragma once

#include <QPixmap>

// The program's 32x32 refresh symbol: a round green button with two white arrows
// circling each other. Painted, so no image file has to travel with the program.
QPixmap RefreshSymbol(qreal devicePixelRatio = 1.0);
