#include "platform/EventWaiter.h"
#include "platform/windows/WindowsCommandRunner.h"
#include "platform/windows/WindowsTempDir.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <fstream>

namespace {

constexpr double kGenerous = 60.0;

// Each test writes its batch files into a private folder of its own.
class WindowsCommandRunnerTest : public ::testing::Test {
public:
    void SetUp() override
    {
        dir_ = tempDir_.createPrivateDir().value_or("");
        ASSERT_FALSE(dir_.empty());
    }
    void TearDown() override { tempDir_.removePrivateDir(dir_); }

    // Writes "@echo off" and lines to dir_ + relativePath, making its folder first.
    std::string writeBatch(const std::string& relativePath, const std::string& lines)
    {
        const auto slash = relativePath.rfind('\\');
        if (slash != std::string::npos)
            CreateDirectoryA((dir_ + relativePath.substr(0, slash)).c_str(), nullptr);
        std::ofstream(dir_ + relativePath, std::ios::binary) << "@echo off\r\n" << lines;
        return dir_ + relativePath;
    }

    WindowsTempDir tempDir_;
    WindowsCommandRunner runner_;
    std::string dir_;
};

} // namespace

// The batch's exit code, also through a path with blanks and shell characters; -1 for a
// missing script or a folder.
TEST_F(WindowsCommandRunnerTest, ReturnsTheExitCodeOfTheBatch)
{
    EXPECT_EQ(runner_.run(writeBatch("TK.bat", "exit /b 5\r\n"), kGenerous), 5);
    EXPECT_EQ(runner_.run(writeBatch("a&b (x) ^y\\TK.bat", "exit /b 7\r\n"), kGenerous), 7);
    EXPECT_EQ(runner_.run(dir_ + "missing.bat", kGenerous), -1);
    EXPECT_EQ(runner_.run(dir_, kGenerous), -1);
}

// Stands for the window's event loop while a batch runs: the close arrives once the
// batch's program has started.
class CancellingWaiter final : public EventWaiter {
public:
    explicit CancellingWaiter(HANDLE started) : started_(started) { }
    void yieldOnce() override { }
    void waitForEvent(double maxSeconds) override
    {
        if (WaitForSingleObject(started_, 0) == WAIT_OBJECT_0)
            runner->cancel();
        Sleep(static_cast<DWORD>(maxSeconds * 1000));
    }
    CommandRunner* runner = nullptr;

private:
    HANDLE started_;
};

// The batch starts a program that never ends: at the time-out, or on a cancel while the
// program's events run, the runner answers -1 and ends the whole tree, not only the
// interpreter.
void ExpectTreeEnded(WindowsCommandRunnerTest& test, bool cancel)
{
    char exe[MAX_PATH] = {};
    std::string sleeper(exe, GetModuleFileNameA(nullptr, exe, MAX_PATH));
    sleeper = sleeper.substr(0, sleeper.find_last_of("\\/") + 1) + "hoptrace_sleeper.exe";
    const std::string name = "HoptraceSleeper-" + std::to_string(GetCurrentProcessId()) + (cancel ? "c" : "t");
    const HANDLE started = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    ASSERT_NE(started, nullptr);
    CancellingWaiter waiter(started);
    WindowsCommandRunner runner(cancel ? &waiter : nullptr);
    waiter.runner = &runner;

    const std::string batch = test.writeBatch("TK.bat", "\"" + sleeper + "\" " + name + "\r\nexit /b 4\r\n");
    EXPECT_EQ(runner.run(batch, cancel ? kGenerous : 3.0), -1);
    ASSERT_EQ(WaitForSingleObject(started, 0), WAIT_OBJECT_0) << "the sleeper did not start in time";
    CloseHandle(started);
    // Termination completes asynchronously; the sleeper's mutex goes with its process.
    HANDLE alive = nullptr;
    for (int i = 0; i < 100 && (alive = OpenMutexA(SYNCHRONIZE, FALSE, (name + "-alive").c_str())); ++i) {
        CloseHandle(alive);
        Sleep(100);
    }
    EXPECT_EQ(alive, nullptr) << "the program started by the batch outlived the run";
}

TEST_F(WindowsCommandRunnerTest, TimeOutOrCancelEndsTheBatchAndWhatItStarted)
{
    ExpectTreeEnded(*this, false);
    ExpectTreeEnded(*this, true);
}
