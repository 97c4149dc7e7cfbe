#include "TestMain.h"

#include "platform/linux/LinuxCommandRunner.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <cerrno>
#include <csignal>
#include <sys/wait.h>

namespace {

bool WriteFile(const QString& path, const QByteArray& content)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(content) == content.size();
}

// Gone, or only a zombie waiting for the init process: nothing of it runs any more.
bool IsNotRunning(pid_t pid)
{
    if (kill(pid, 0) != 0)
        return errno == ESRCH;
    QFile stat(QStringLiteral("/proc/%1/stat").arg(pid));
    if (!stat.open(QIODevice::ReadOnly))
        return true;
    const QByteArray line = stat.readAll();
    const int afterName = line.lastIndexOf(')');
    return afterName > 0 && line.mid(afterName + 2, 1) == "Z";
}

} // namespace

class LinuxCommandRunnerTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void returnsExitCode_data()
    {
        QTest::addColumn<QString>("fileName");
        QTest::addColumn<QByteArray>("script");
        QTest::addColumn<int>("expected");
        QTest::newRow("exit 5 (access denied)") << "TK.sh" << QByteArray("exit 5\n") << 5;
        QTest::newRow("success") << "ok.sh" << QByteArray("true\n") << 0;
        QTest::newRow("last command's status") << "last.sh" << QByteArray("false\n") << 1;
        QTest::newRow("blanks in the path") << "my scripts/run me now.sh" << QByteArray("exit 7\n") << 7;
        QTest::newRow("shell characters in the path")
            << "it's $HOME; `x` & (y).sh" << QByteArray("exit 3\n") << 3;
        QTest::newRow("ended by a signal") << "term.sh" << QByteArray("kill -TERM $$\nsleep 5\n") << 128 + SIGTERM;
        QTest::newRow("reads nothing from the terminal") << "read.sh" << QByteArray("read line\nexit $?\n") << 1;
    }
    void returnsExitCode()
    {
        QFETCH(QString, fileName);
        QFETCH(QByteArray, script);
        QFETCH(int, expected);
        QTemporaryDir dir;
        const QString path = dir.filePath(fileName);
        QVERIFY(QDir().mkpath(QFileInfo(path).absolutePath()));
        QVERIFY(WriteFile(path, script));
        LinuxCommandRunner runner;
        QCOMPARE(runner.run(path.toStdString(), 30.0), expected);
    }

    void cannotStart_data()
    {
        QTest::addColumn<QString>("relativePath");
        QTest::newRow("missing file") << "missing.sh";
        QTest::newRow("a directory") << "folder";
        QTest::newRow("empty path") << "";
    }
    void cannotStart()
    {
        QFETCH(QString, relativePath);
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkdir(QStringLiteral("folder")));
        const QString path = relativePath.isEmpty() ? QString() : dir.filePath(relativePath);
        LinuxCommandRunner runner;
        QCOMPARE(runner.run(path.toStdString(), 5.0), -1);
    }

    void timeOutEndsTheWholeScript()
    {
        QTemporaryDir dir;
        const QString script = dir.filePath(QStringLiteral("hang.sh"));
        QVERIFY(WriteFile(script, "echo $$ > \"$(dirname \"$0\")/shell.pid\"\n"
                                  "sleep 60 &\n"
                                  "echo $! > \"$(dirname \"$0\")/child.pid\"\n"
                                  "wait\n"));
        LinuxCommandRunner runner;
        QCOMPARE(runner.run(script.toStdString(), 0.5), -1);

        QFile shellPid(dir.filePath(QStringLiteral("shell.pid")));
        QFile childPid(dir.filePath(QStringLiteral("child.pid")));
        QVERIFY(shellPid.open(QIODevice::ReadOnly));
        QVERIFY(childPid.open(QIODevice::ReadOnly));
        const pid_t shell = shellPid.readAll().trimmed().toInt();
        const pid_t child = childPid.readAll().trimmed().toInt();
        QVERIFY(shell > 0 && child > 0);
        // The shell was this process's child: it must be reaped, not left as a zombie.
        QCOMPARE(waitpid(shell, nullptr, WNOHANG), -1);
        QCOMPARE(errno, ECHILD);
        QVERIFY(IsNotRunning(shell));
        QTRY_VERIFY(IsNotRunning(child));
    }
};

HOPTRACE_TEST(LinuxCommandRunnerTest)
#include "LinuxCommandRunnerTest.moc"
