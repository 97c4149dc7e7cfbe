#include "WindowsCommandRunner.h"

#include <windows.h>

#include <algorithm>
#include <cmath>

namespace {

// The interpreter by its full path: CreateProcessA would otherwise look for
// "cmd.exe" in the program's folder and the current directory first.
std::string Interpreter()
{
    char directory[MAX_PATH + 1] = {};
    const UINT length = GetSystemDirectoryA(directory, MAX_PATH);
    if (length == 0 || length > MAX_PATH)
        return {};
    return std::string(directory, length) + "\\cmd.exe";
}

// /d skips the interpreter's AutoRun commands, which could change the directory or the
// exit code; /s with the outer pair of quotes makes cmd take everything between them
// as the command, so the inner quotes keep a path with blanks (or &, ^, parentheses)
// in one piece.
std::string CommandLine(const std::string& scriptPath) { return "cmd.exe /d /s /c \"\"" + scriptPath + "\"\""; }

DWORD TimeoutMilliseconds(double seconds)
{
    constexpr double kMaxMs = 24.0 * 3600.0 * 1000.0; // stays below INFINITE
    if (!(seconds > 0))
        return 0;
    return static_cast<DWORD>(std::min(std::ceil(seconds * 1000.0), kMaxMs));
}

// A job ends the interpreter together with what it started (sc, netsh) when the time
// is up. It is killed with the job's last handle, so none outlives this runner either.
HANDLE CreateKillJob()
{
    const HANDLE job = CreateJobObjectA(nullptr, nullptr);
    if (!job)
        return nullptr;
    JOBOBJECT_EXTENDED_LIMIT_INFORMATION limits{};
    limits.BasicLimitInformation.LimitFlags = JOB_OBJECT_LIMIT_KILL_ON_JOB_CLOSE;
    SetInformationJobObject(job, JobObjectExtendedLimitInformation, &limits, sizeof limits);
    return job;
}

constexpr UINT kEndedByTimeout = 1;
constexpr DWORD kAfterTerminateMs = 5000;

} // namespace

WindowsCommandRunner::WindowsCommandRunner() : cancelEvent_(CreateEventA(nullptr, TRUE, FALSE, nullptr)) { }

WindowsCommandRunner::~WindowsCommandRunner()
{
    if (cancelEvent_)
        CloseHandle(cancelEvent_);
}

void WindowsCommandRunner::cancel()
{
    if (cancelEvent_)
        SetEvent(cancelEvent_);
}

int WindowsCommandRunner::run(const std::string& scriptPath, double timeoutSeconds)
{
    if (cancelEvent_)
        ResetEvent(cancelEvent_); // a cancel from before this run does not end it
    // The interpreter itself would start and report 9009 for a missing script.
    const DWORD attributes = GetFileAttributesA(scriptPath.c_str());
    if (scriptPath.empty() || attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return -1;
    const std::string interpreter = Interpreter();
    if (interpreter.empty())
        return -1;

    std::string commandLine = CommandLine(scriptPath); // CreateProcessA may write into it
    STARTUPINFOA startup{};
    startup.cb = sizeof startup; // everything else zero: the window opens the default way
    PROCESS_INFORMATION process{};
    // Started suspended so that it is inside the job before it can start anything.
    if (!CreateProcessA(interpreter.c_str(), commandLine.data(), nullptr, nullptr, TRUE,
                        NORMAL_PRIORITY_CLASS | CREATE_SUSPENDED, nullptr, nullptr, &startup, &process))
        return -1;
    HANDLE job = CreateKillJob();
    // Fails where the program already runs inside a job that forbids nesting (before
    // Windows 8); the interpreter alone is then ended on time-out.
    if (job && !AssignProcessToJobObject(job, process.hProcess)) {
        CloseHandle(job);
        job = nullptr;
    }
    ResumeThread(process.hThread);

    // A cancel during the run ends it as the time limit does.
    const HANDLE awaited[2] = {process.hProcess, cancelEvent_};
    const DWORD woken = WaitForMultipleObjects(cancelEvent_ ? 2 : 1, awaited, FALSE,
                                               TimeoutMilliseconds(timeoutSeconds));
    int exitCode = -1;
    if (woken == WAIT_OBJECT_0) {
        DWORD code = 0;
        if (GetExitCodeProcess(process.hProcess, &code))
            exitCode = static_cast<int>(code);
    } else {
        if (job)
            TerminateJobObject(job, kEndedByTimeout);
        else
            TerminateProcess(process.hProcess, kEndedByTimeout);
        WaitForSingleObject(process.hProcess, kAfterTerminateMs);
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    if (job)
        CloseHandle(job);
    return exitCode;
}
