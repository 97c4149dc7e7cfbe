#include "TestMain.h"

#include "platform/EventWaiter.h"
#include "platform/linux/LinuxCommandRunner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

#include <cerrno>
#include <csignal>
#include <sys/wait.h>

namespace {

bool WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return QDir().mkpath(QFileInfo(path).absolutePath()) && file.open(QIODevice::WriteOnly)
        && file.write(content) == content.size();
}

// Gone, or only a zombie waiting for the init process: nothing of it runs any more.
bool IsNotRunning(const QByteArray& pid)
{
    QFile stat("/proc/" + pid + "/stat");
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    return line.mid(line.lastIndexOf(')') + 2, 1) == "Z";
}

class CancellingWaiter final : public EventWaiter {
public:
    explicit CancellingWaiter(QString readyFile) : readyFile_(std::move(readyFile)) { }
    void yieldOnce() override { }
    void waitForEvent(double maxSeconds) override
    {
        if (QFile::exists(readyFile_))
            runner->cancel();
        QThread::msleep(static_cast<unsigned long>(maxSeconds * 1000));
    }
    CommandRunner* runner = nullptr;

private:
    QString readyFile_;
};
} // namespace

class LinuxCommandRunnerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void returnsExitCode_data()
    {
        // fileName ending in "/": a folder is made instead; an empty script: nothing is written.
        Columns<QString, QByteArray, int>("fileName", "script", "expected");
        QTest::newRow("exit 5") << "TK.sh" << QByteArray("exit 5\n") << 5;
        QTest::newRow("blanks and shell characters in the path")
            << "my scripts/it's $HOME; `x` & (y).sh" << QByteArray("exit 7\n") << 7;
        QTest::newRow("ended by a signal") << "term.sh" << QByteArray("kill -TERM $$\nsleep 5\n") << 128 + SIGTERM;
        QTest::newRow("missing file") << "missing.sh" << QByteArray() << -1;
        QTest::newRow("a folder") << "folder/" << QByteArray() << -1;
    }
    void returnsExitCode()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, script);
        QFETCH(int, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(fileName);
        QVERIFY(QDir().mkpath(path.endsWith('/') ? path : dir.path()));
        if (!script.isEmpty())
            QVERIFY(WriteFile(path, script));
        QCOMPARE(LinuxCommandRunner().run(path.toStdString(), 30.0), expected);
    }

    void timeOutOrCancelEndsTheWholeProcessGroup_data()
    {
        Columns<bool>("cancel"); // else the time limit ends it
        QTest::newRow("time limit") << false;
        QTest::newRow("cancel while the program's events run") << true;
    }
    void timeOutOrCancelEndsTheWholeProcessGroup()
    {
        QFETCH(bool, cancel);
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("hang.sh"));
        QVERIFY(WriteFile(script, "sleep 60 &\necho $$ $! > \"$0.pids\".new\nmv \"$0.pids\".new \"$0.pids\"\nwait\n"));
        // Stands for the window's event loop: the close arrives once the script is going.
        CancellingWaiter waiter(script + QStringLiteral(".pids"));
        LinuxCommandRunner runner(cancel ? &waiter : nullptr);
        waiter.runner = &runner;
        QCOMPARE(runner.run(script.toStdString(), cancel ? 60.0 : 0.5), -1);
        QFile pidFile(script + QStringLiteral(".pids"));
        QVERIFY(pidFile.open(QIODevice::ReadOnly));
        const QList<QByteArray> pids = pidFile.readAll().simplified().split(' '); // shell, sleep
        QCOMPARE(pids.size(), 2);
        // The shell was this process's child: it must be reaped, not left as a zombie.
        QCOMPARE(waitpid(pids[0].toInt(), nullptr, WNOHANG), -1);
        QCOMPARE(errno, ECHILD);
        QVERIFY(IsNotRunning(pids[0]));
        QTRY_VERIFY(IsNotRunning(pids[1])); // the rest of its group went with it
    }
};

HOPTRACE_TEST(LinuxCommandRunnerTest)
#include "LinuxCommandRunnerTest.moc"
