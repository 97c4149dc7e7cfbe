#include "TestMain.h"

#include "platform/linux/LinuxCommandRunner.h"

#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <csignal>
#include <thread>
#include <sys/wait.h>

namespace {

// Gone, or only a zombie waiting for the init process: nothing of it runs any more.
bool IsNotRunning(const QByteArray& pid)
{
    const QByteArray line = ReadFile("/proc/" + pid + "/stat").value_or("() Z");
    return line.mid(line.lastIndexOf(')') + 2, 1) == "Z";
}
} // namespace

class LinuxCommandRunnerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // "hang" starts sleep in the background and never ends by itself: the time limit, or a
    // cancel while the program's events run, must end its whole process group.
    void run_data()
    {
        const auto row = Columns<QString, QByteArray, bool, int>("fileName", "script", "cancel",
                                                                 "expected"); // no script: none written
        const QByteArray hang("sleep 60 &\necho $$ $! > \"$0.pids\".new\nmv \"$0.pids\".new \"$0.pids\"\nwait\n");
        row("blanks and shell characters in the path", "it's $HOME; `x` & (y).sh", "exit 7\n", false, 7);
        row("ended by a signal", "term.sh", "kill -TERM $$\nsleep 5\n", false, 128 + SIGTERM);
        row("missing file", "missing.sh", {}, false, -1);
        row("a folder", {}, {}, false, -1);
        row("hang, time limit", "hang.sh", hang, false, -1);
        row("hang, cancel", "hang.sh", hang, true, -1);
    }
    void run()
    {
        const auto [fileName, script, cancel] = Fetch<QString, QByteArray, bool>("fileName", "script", "cancel");
        QTemporaryDir dir;
        const QString path = dir.filePath(fileName), pidPath = path + ".pids";
        QVERIFY(script.isEmpty() || WriteFile(path, script));
        LinuxCommandRunner runner;
        std::atomic<bool> ended = false;
        std::thread canceller;
        // Stands for the window's thread while the run blocks its own: the close arrives once the script is going.
        if (cancel)
            canceller = std::thread([&] {
                while (!ended && !QFile::exists(pidPath))
                    QThread::msleep(20);
                runner.cancel();
            });
        const int exitCode = runner.run(path.toStdString(), fileName == "hang.sh" && !cancel ? 0.5 : 60.0);
        ended = true;
        if (canceller.joinable())
            canceller.join();
        QTEST(exitCode, "expected");
        if (fileName != "hang.sh")
            return;
        const QList<QByteArray> pids = ReadFile(pidPath).value_or("").simplified().split(' '); // shell, sleep
        QCOMPARE(pids.size(), 2);
        QCOMPARE(waitpid(pids[0].toInt(), nullptr, WNOHANG), -1); // the shell reaped, not left a zombie
        QTRY_VERIFY(IsNotRunning(pids[1]));                       // the rest of its group went with it
    }
};

HOPTRACE_TEST(LinuxCommandRunnerTest)
#include "LinuxCommandRunnerTest.moc"
