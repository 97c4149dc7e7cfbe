#include "PrivateNetwork.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <string>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr int kNoNamespaceExitCode = 77;
constexpr int kInsideRunLimitMs = 240'000;

// "net:[4026531840]": the namespace's identity, as the script compares it too.
QString NetworkNamespaceOf(const char* process)
{
    char target[128] = {};
    const std::string link = std::string("/proc/") + process + "/ns/net";
    const ssize_t length = readlink(link.c_str(), target, sizeof target - 1);
    return length > 0 ? QString::fromLatin1(target, static_cast<int>(length)) : QString();
}

QByteArray FirstProcessCommandLine()
{
    QFile file(QStringLiteral("/proc/1/cmdline"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QByteArray line = file.readAll();
    line.replace('\0', ' ');
    return line;
}

} // namespace

QString PrivateNetwork::scriptPath() { return QStringLiteral(HOPTRACE_PRIVATE_NETWORK_SCRIPT); }

bool PrivateNetwork::inside()
{
    const QString state = qEnvironmentVariable("HOPTRACE_PRIVATE_NETWORK");
    const QString host = qEnvironmentVariable("HOPTRACE_HOST_NETNS");
    if (state.isEmpty() || host.isEmpty() || !QFileInfo(state).isDir())
        return false;
    if (!FirstProcessCommandLine().contains("private-network.sh _inside "))
        return false;
    const QString own = NetworkNamespaceOf("self");
    return !own.isEmpty() && own != host && NetworkNamespaceOf("1") != host;
}

bool PrivateNetwork::onSimulatedLan()
{
    const QString host = qEnvironmentVariable("SIMLAN_HOST_NETNS");
    const QString own = NetworkNamespaceOf("self");
    return qEnvironmentVariable("SIMLAN_INSIDE") == QLatin1String("1")
        && !qEnvironmentVariable("SIMLAN_DEVICE_PID").isEmpty() && !host.isEmpty() && !own.isEmpty() && own != host;
}

bool PrivateNetwork::run(const QStringList& args)
{
    if (!inside()) {
        qWarning("PrivateNetwork::run refused: not inside a private network");
        return false;
    }
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(QStringLiteral("/bin/sh"), QStringList{scriptPath()} + args);
    if (!process.waitForFinished(30'000)) {
        process.kill();
        process.waitForFinished();
        qWarning("private-network.sh %s: did not finish", qPrintable(args.join(' ')));
        return false;
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0) {
        qWarning("private-network.sh %s failed: %s", qPrintable(args.join(' ')), process.readAll().constData());
        return false;
    }
    return true;
}

void PrivateNetwork::runTestClass(const char* className, Kind kind)
{
    const QStringList thisClass{QCoreApplication::applicationFilePath(), QStringLiteral("-class"),
                                QString::fromLatin1(className)};
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    // Should this test die, the namespace and everything in it go with it.
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); });
    if (kind == Kind::Bare)
        process.start(QStringLiteral("/bin/sh"), QStringList{scriptPath(), QStringLiteral("enter")} + thisClass);
    else
        process.start(QStringLiteral("bash"),
                      QStringList{QStringLiteral(HOPTRACE_SIMLAN_SCRIPT), QStringLiteral("--no-sim"),
                                  QStringLiteral("--sim"), QStringLiteral(HOPTRACE_TAVIK_SIM), QStringLiteral("--")}
                          + thisClass);
    const bool finished = process.waitForFinished(kInsideRunLimitMs);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    const QByteArray output = process.readAll();
    std::fputs(output.constData(), stdout);
    std::fflush(stdout);
    QVERIFY2(finished, "the run inside the private network did not finish in time");
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == kNoNamespaceExitCode) {
        if (qEnvironmentVariable("CI") == QLatin1String("true"))
            QFAIL("no private network namespace can be made, and CI requires these tests");
        QSKIP("no private network namespace can be made here (unshare -rn fails)");
    }
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
             qPrintable(QStringLiteral("%1 failed inside its private network").arg(className)));
}
