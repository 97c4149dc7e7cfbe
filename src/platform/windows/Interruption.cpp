#include "platform/Interruption.h"

#include <windows.h>

#include <atomic>

namespace {
std::atomic<bool> interrupted{false};

// Runs on a thread of the system's; the command line notices it between its steps.
BOOL WINAPI NoteInterruption(DWORD event)
{
    if (event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT)
        return FALSE;
    interrupted = true;
    return TRUE;
}
} // namespace

void WatchForInterruption() { SetConsoleCtrlHandler(NoteInterruption, TRUE); }

bool Interrupted() { return interrupted; }
