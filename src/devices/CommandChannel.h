#pragma once

#include "CommandOutcome.h"
#include "CommandRequest.h"

#include <QObject>

// The one place every command of a program passes, from either front end: each is announced
// as it starts and concluded once its outcome is known, so that whatever keeps a record
// attaches here and nowhere else.
class CommandChannel final : public QObject {
    Q_OBJECT
public:
    using QObject::QObject;

    // The command's id for its conclusion.
    int announce(const CommandRequest& request);
    void conclude(int id, CommandOutcome outcome);

Q_SIGNALS:
    void commandStarted(int id, const CommandRequest& request);
    void commandConcluded(int id, CommandOutcome outcome);

private:
    int lastId_ = 0;
};
