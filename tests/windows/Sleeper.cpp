// Signals the event named by its argument, holds a mutex of the same name with
// "-alive" appended, and sleeps until it is ended from outside.
#include <windows.h>

#include <string>

int main(int argc, char** argv)
{
    if (argc < 2)
        return 2;
    const std::string name = argv[1];
    const HANDLE alive = CreateMutexA(nullptr, FALSE, (name + "-alive").c_str());
    const HANDLE started = OpenEventA(EVENT_MODIFY_STATE, FALSE, name.c_str());
    if (!alive || !started)
        return 3;
    SetEvent(started);
    Sleep(INFINITE);
    return 0;
}
