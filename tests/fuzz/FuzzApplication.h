#pragma once

#include <QApplication>

#include <cstdlib>

// One offscreen application for all the inputs of a fuzz run.
inline void EnsureFuzzApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    [[maybe_unused]] static QApplication* app = (setenv("QT_QPA_PLATFORM", "offscreen", 1),
                                                 new QApplication(argc, argv));
}
