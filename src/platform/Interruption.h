#pragma once

// Ctrl-C (or the console's Ctrl+Break, or a request to terminate) asked the command line to
// stop: its loops look at this between their steps, so that a command under way is ended and
// recorded as cancelled rather than cut off. The window ends by its close instead.
void WatchForInterruption();
bool Interrupted();
