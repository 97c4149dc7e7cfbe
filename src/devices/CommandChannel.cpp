#include "CommandChannel.h"

int CommandChannel::announce(const CommandRequest& request)
{
    Q_EMIT commandStarted(++lastId_, request);
    return lastId_;
}

void CommandChannel::conclude(int id, CommandOutcome outcome) { Q_EMIT commandConcluded(id, outcome); }
