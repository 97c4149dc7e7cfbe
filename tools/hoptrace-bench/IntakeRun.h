#pragma once

// The program's side of a benchmark case: the real window on its real socket (offscreen)
// starts its search, prints "ready", and reports once the list has stopped growing.
namespace IntakeRun {
int Run(int argc, char* argv[], int receiveBufferBytes, int expected);
}
