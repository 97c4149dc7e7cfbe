#include "platform/windows/WindowsCommandRunner.h"
#include "platform/windows/WindowsTempDir.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <atomic>
#include <fstream>
#include <thread>

namespace {

// Stands for the window's thread while the run blocks its own: the close arrives once the
// batch's program has started.
void CancelWhenStarted(CommandRunner& runner, HANDLE started, const std::atomic<bool>& ended)
{
    while (!ended && WaitForSingleObject(started, 50) != WAIT_OBJECT_0) { }
    runner.cancel();
}

// Writes folder\TK.bat ("@echo off" first) in a private folder of its own.
std::string WriteBatch(const std::string& folder, const std::string& lines)
{
    static const std::string dir = WindowsTempDir().createPrivateDir().value_or("");
    CreateDirectoryA((dir + folder).c_str(), nullptr);
    std::ofstream(dir + folder + "\\TK.bat", std::ios::binary) << "@echo off\r\n" << lines;
    return dir + folder + "\\TK.bat";
}

} // namespace

TEST(WindowsCommandRunner, ReturnsTheExitCodeOfTheBatch)
{
    WindowsCommandRunner runner;
    EXPECT_EQ(runner.run(WriteBatch("plain", "exit /b 5\r\n"), 60.0), 5);
    const std::string shellCharacters = WriteBatch("a&b (x) ^y", "exit /b 7\r\n");
    EXPECT_EQ(runner.run(shellCharacters, 60.0), 7);
    EXPECT_EQ(runner.run(shellCharacters + ".missing", 60.0), -1);
    EXPECT_EQ(runner.run(shellCharacters.substr(0, shellCharacters.rfind('\\')), 60.0), -1); // a folder
}

// The batch starts a program that never ends (this executable, as "sleeper"): at the time-out,
// or on a cancel while the program's events run, the runner answers -1 and ends the whole
// tree, not only the interpreter.
TEST(WindowsCommandRunner, TimeOutOrCancelEndsTheBatchAndWhatItStarted)
{
    char exe[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, exe, MAX_PATH);
    for (const bool cancel : {false, true}) {
        const std::string name = "HoptraceSleeper-" + std::to_string(GetCurrentProcessId()) + (cancel ? "c" : "t");
        const HANDLE started = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
        WindowsCommandRunner runner;
        const std::string batch = WriteBatch(name,
                                             std::string("\"") + exe + "\" sleeper " + name + "\r\nexit /b 4\r\n");
        std::atomic<bool> ended = false;
        std::thread canceller;
        if (cancel)
            canceller = std::thread(CancelWhenStarted, std::ref(runner), started, std::cref(ended));
        const int exitCode = runner.run(batch, cancel ? 60.0 : 3.0);
        ended = true;
        if (canceller.joinable())
            canceller.join();
        EXPECT_EQ(exitCode, -1);
        ASSERT_EQ(WaitForSingleObject(started, 0), WAIT_OBJECT_0) << "the sleeper did not start in time";
        // Termination completes asynchronously; the sleeper's mutex goes with its process.
        HANDLE alive = nullptr;
        for (int i = 0; i < 100 && (alive = OpenMutexA(SYNCHRONIZE, FALSE, (name + "-alive").c_str())); ++i) {
            CloseHandle(alive);
            Sleep(100);
        }
        EXPECT_EQ(alive, nullptr) << "the program started by the batch outlived the run";
    }
}

// "sleeper NAME" holds the mutex NAME-alive, signals the event NAME and sleeps until ended.
int main(int argc, char** argv)
{
    if (argc == 3 && std::string(argv[1]) == "sleeper") {
        const HANDLE alive = CreateMutexA(nullptr, FALSE, (std::string(argv[2]) + "-alive").c_str());
        const HANDLE started = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[2]);
        return alive && started && SetEvent(started) ? static_cast<int>(SleepEx(INFINITE, FALSE)) : 3;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
