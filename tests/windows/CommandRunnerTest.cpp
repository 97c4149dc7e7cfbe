#include "TestFiles.h"
#include "platform/windows/WindowsCommandRunner.h"
#include "platform/windows/WindowsTempDir.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

class WindowsCommandRunnerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const auto dir = tempDir_.createPrivateDir();
        ASSERT_TRUE(dir.has_value());
        dir_ = *dir;
    }
    void TearDown() override { tempDir_.removePrivateDir(dir_); }

    std::string writeBatch(const std::string& relativePath, const std::string& lines)
    {
        const std::string path = dir_ + relativePath;
        WriteTextFile(path, lines);
        return path;
    }

    WindowsTempDir tempDir_;
    WindowsCommandRunner runner_;
    std::string dir_;
};

constexpr double kGenerous = 60.0;

} // namespace

TEST_F(WindowsCommandRunnerTest, ReturnsTheExitCodeOfTheBatch)
{
    EXPECT_EQ(runner_.run(writeBatch("TK.bat", "@echo off\r\nexit /b 5\r\n"), kGenerous), 5);
    EXPECT_EQ(runner_.run(writeBatch("TK.bat", "@echo off\r\nexit /b 0\r\n"), kGenerous), 0);
}

TEST_F(WindowsCommandRunnerTest, QuotesPathsWithBlanksAndShellCharacters)
{
    ASSERT_TRUE(CreateDirectoryA((dir_ + "dir with blanks").c_str(), nullptr));
    EXPECT_EQ(runner_.run(writeBatch("dir with blanks\\TK.bat", "@echo off\r\nexit /b 7\r\n"), kGenerous), 7);
    ASSERT_TRUE(CreateDirectoryA((dir_ + "a&b (x) ^y").c_str(), nullptr));
    EXPECT_EQ(runner_.run(writeBatch("a&b (x) ^y\\TK.bat", "@echo off\r\nexit /b 9\r\n"), kGenerous), 9);
}

TEST_F(WindowsCommandRunnerTest, MissingScriptOrFolderGivesMinusOne)
{
    EXPECT_EQ(runner_.run(dir_ + "missing.bat", kGenerous), -1);
    EXPECT_EQ(runner_.run(dir_ + "no such dir\\TK.bat", kGenerous), -1);
    EXPECT_EQ(runner_.run(dir_, kGenerous), -1) << "a folder is no script";
    EXPECT_EQ(runner_.run("", kGenerous), -1);
}

// The batch starts a program that never ends: at the time-out the runner answers -1
// and ends the whole tree, not only the interpreter.
TEST_F(WindowsCommandRunnerTest, TimeOutEndsTheBatchAndWhatItStarted)
{
    const std::string name = "HoptraceSleeper-" + std::to_string(GetCurrentProcessId());
    const HANDLE started = CreateEventA(nullptr, TRUE, FALSE, name.c_str());
    ASSERT_NE(started, nullptr);
    const std::string batch =
        writeBatch("TK.bat", "@echo off\r\n\"" + ExecutableDir() + "hoptrace_sleeper.exe\" " + name + "\r\nexit /b 4\r\n");

    EXPECT_EQ(runner_.run(batch, 3.0), -1);
    ASSERT_EQ(WaitForSingleObject(started, 0), WAIT_OBJECT_0) << "the sleeper did not start in time";
    CloseHandle(started);

    // Termination completes asynchronously; the sleeper's mutex goes with its process.
    bool gone = false;
    for (int i = 0; i < 100 && !gone; ++i) {
        const HANDLE alive = OpenMutexA(SYNCHRONIZE, FALSE, (name + "-alive").c_str());
        gone = alive == nullptr;
        if (alive) {
            CloseHandle(alive);
            Sleep(100);
        }
    }
    EXPECT_TRUE(gone) << "the program started by the batch outlived the time-out";
}
