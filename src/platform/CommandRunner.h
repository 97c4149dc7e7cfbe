#pragma once

#include <string>

// Runs a script through the platform's command interpreter.
class CommandRunner {
public:
    virtual ~CommandRunner() = default;
    // Runs the script at scriptPath (quoted for the interpreter, so blanks work) and
    // returns its exit code once it has ended; -1 when it cannot start or has not
    // ended within timeoutSeconds (it is then ended).
    virtual int run(const std::string& scriptPath, double timeoutSeconds) = 0;
    // Ends the command run() is waiting for, with whatever it started, as the time limit
    // does; run() then returns -1. Called from an event handler while run() lets the
    // program's events run (closing the window); does nothing when no command runs.
    virtual void cancel() = 0;
};
