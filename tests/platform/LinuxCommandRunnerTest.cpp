#include "TestMain.h"

#include "platform/EventWaiter.h"
#include "platform/linux/LinuxCommandRunner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <csignal>
#include <sys/wait.h>

namespace {

// Gone, or only a zombie waiting for the init process: nothing of it runs any more.
bool IsNotRunning(const QByteArray& pid)
{
    QFile stat("/proc/" + pid + "/stat");
    const QByteArray line = stat.open(QIODevice::ReadOnly) ? stat.readAll() : "() Z";
    return line.mid(line.lastIndexOf(')') + 2, 1) == "Z";
}

// Stands for the window's event loop: the close arrives once the script is going.
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
        Columns<QString, QByteArray, int>("fileName", "script", "expected"); // no script: none is written
        Row("blanks and shell characters in the path", QStringLiteral("it's $HOME; `x` & (y).sh"),
            QByteArray("exit 7\n"), 7);
        Row("ended by a signal", QStringLiteral("term.sh"), QByteArray("kill -TERM $$\nsleep 5\n"), 128 + SIGTERM);
        Row("missing file", QStringLiteral("missing.sh"), QByteArray(), -1);
        Row("a folder", QString(), QByteArray(), -1);
    }
    void returnsExitCode()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, script);
        QFETCH(int, expected);
        QTemporaryDir dir;
        QFile file(dir.filePath(fileName));
        QVERIFY(script.isEmpty() || (file.open(QIODevice::WriteOnly) && file.write(script) == script.size()));
        file.close();
        QCOMPARE(LinuxCommandRunner().run(file.fileName().toStdString(), 30.0), expected);
    }

    void timeOutOrCancelEndsTheWholeProcessGroup_data()
    {
        Columns<bool>("cancel"); // else the time limit ends it
        Row("time limit", false);
        Row("cancel while the program's events run", true);
    }
    void timeOutOrCancelEndsTheWholeProcessGroup()
    {
        QFETCH(bool, cancel);
        QTemporaryDir dir;
        QFile script(dir.filePath(QStringLiteral("hang.sh")));
        QVERIFY(script.open(QIODevice::WriteOnly));
        script.write("sleep 60 &\necho $$ $! > \"$0.pids\".new\nmv \"$0.pids\".new \"$0.pids\"\nwait\n");
        script.close();
        CancellingWaiter waiter(script.fileName() + QStringLiteral(".pids"));
        LinuxCommandRunner runner(cancel ? &waiter : nullptr);
        waiter.runner = &runner;
        QCOMPARE(runner.run(script.fileName().toStdString(), cancel ? 60.0 : 0.5), -1);
        QFile pidFile(script.fileName() + QStringLiteral(".pids"));
        QVERIFY(pidFile.open(QIODevice::ReadOnly));
        const QList<QByteArray> pids = pidFile.readAll().simplified().split(' '); // shell, sleep
        QCOMPARE(pids.size(), 2);
        // The shell was this process's child: it must be reaped, not left as a zombie.
        QCOMPARE(waitpid(pids[0].toInt(), nullptr, WNOHANG), -1);
        QVERIFY(IsNotRunning(pids[0]));
        QTRY_VERIFY(IsNotRunning(pids[1])); // the rest of its group went with it
    }
};

HOPTRACE_TEST(LinuxCommandRunnerTest)
#include "LinuxCommandRunnerTest.moc"
