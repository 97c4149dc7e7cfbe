#include "TestMain.h"

#include "platform/linux/LinuxCommandRunner.h"
#include "platform/linux/LinuxTempDir.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <atomic>
#include <csignal>
#include <thread>
#include <sys/stat.h>
#include <sys/wait.h>

namespace {

// Gone, or only a zombie waiting for the init process: nothing of it runs any more.
bool IsNotRunning(const QByteArray& pid)
{
    const QByteArray line = ReadFile("/proc/" + pid + "/stat").value_or("() Z");
    return line.mid(line.lastIndexOf(')') + 2, 1) == "Z";
}
} // namespace

// The gateway sequence's scripts on Linux: the private folder they are written to and their runs.
// TMPDIR points at a fresh folder, base_, while these cases run.
class LinuxScriptsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { qputenv("TMPDIR", base_.path().toLocal8Bit()); }
    void cleanupTestCase() { qputenv("TMPDIR", oldTmpDir_); }
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

    void privateDirIsOwnAndRemovedAndNothingElseIs()
    {
        QTemporaryDir outside;
        QVERIFY(QFile(outside.filePath(QStringLiteral("precious"))).open(QIODevice::WriteOnly));
        const mode_t oldMask = umask(0); // the mode must not depend on the umask
        LinuxTempDir temp;
        const auto dir = temp.createPrivateDir();
        umask(oldMask);
        const QString path = QString::fromStdString(dir.value_or(""));
        QVERIFY2(path.startsWith(base_.path() + "/hoptrace-") && path.endsWith('/'), qPrintable(path));
        struct stat info{};
        QCOMPARE(stat(dir->c_str(), &info), 0);
        QCOMPARE(info.st_mode & 07777, mode_t(0700));
        QVERIFY(QDir().mkpath(path + QStringLiteral("sub")));
        QVERIFY(QFile::link(outside.path(), path + QStringLiteral("sub/link")));
        temp.removePrivateDir(*dir);
        QVERIFY(!QFileInfo::exists(path));
        QVERIFY2(QFileInfo::exists(outside.filePath(QStringLiteral("precious"))), "a link inside was followed");
        // Each foreign folder holds a file; removal is asked for the folder itself or a path to it.
        QVERIFY(QDir().mkpath(base_.filePath(QStringLiteral("hoptrace-abc123"))));
        for (const auto& [victim, asked] : {std::pair{"", "/"},
                                            {"other-abc123", "/other-abc123/"},
                                            {"hoptrace-abc1234", "/hoptrace-abc1234/"},
                                            {"keep", "/hoptrace-abc123/../keep/"},
                                            {"elsewhere/hoptrace-abc123", "/elsewhere/hoptrace-abc123/"}}) {
            const QString precious = base_.path() + '/' + victim + QStringLiteral("/precious");
            QVERIFY(QDir().mkpath(QFileInfo(precious).path()));
            QVERIFY(QFile(precious).open(QIODevice::WriteOnly));
            LinuxTempDir().removePrivateDir(base_.path().toStdString() + asked);
            QVERIFY2(QFileInfo::exists(precious), asked);
        }
    }

private:
    const QByteArray oldTmpDir_ = QDir::tempPath().toLocal8Bit();
    QTemporaryDir base_;
};

HOPTRACE_TEST(LinuxScriptsTest)
#include "LinuxScriptsTest.moc"
