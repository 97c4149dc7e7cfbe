#include "platform/Interruption.h"

#include <csignal>

namespace {
volatile std::sig_atomic_t interrupted = 0;

void NoteInterruption(int) { interrupted = 1; }
} // namespace

void WatchForInterruption()
{
    struct sigaction action{};
    action.sa_handler = NoteInterruption;
    sigemptyset(&action.sa_mask);
    sigaction(SIGINT, &action, nullptr);
    sigaction(SIGTERM, &action, nullptr);
}

bool Interrupted() { return interrupted != 0; }
