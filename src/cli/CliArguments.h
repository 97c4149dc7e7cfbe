#pragma once

#include "CliCommands.h"

#include <QStringList>

#include <functional>

// What the command line asks for: the verb bound to its checked arguments, or an exit
// code when the arguments were refused or help was printed.
struct CliRequest {
    std::function<int(CliCommands&)> run;
    int exitCode = ExitOk; // used when run is empty
};

CliRequest ParseCliArguments(const QStringList& arguments);
