#include "PrivateNetwork.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <sys/prctl.h>

namespace {

constexpr int kNoNamespaceExitCode = 77;

// "net:[4026531840]": the namespace's identity, as the scripts compare it too.
QString NetworkNamespaceOf(const QString& process)
{
    return QFileInfo(QStringLiteral("/proc/%1/ns/net").arg(process)).symLinkTarget().section('/', -1);
}

// Runs `program` with its output merged; false when it did not end in time.
bool RunToEnd(QProcess& process, const QString& program, const QStringList& args, int limitMs)
{
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.setChildProcessModifier([] { prctl(PR_SET_PDEATHSIG, SIGKILL); }); // the namespace dies with the test
    process.start(program, args);
    if (process.waitForFinished(limitMs))
        return true;
    process.kill();
    process.waitForFinished();
    return false;
}

} // namespace

bool PrivateNetwork::inside()
{
    const QString host = qEnvironmentVariable("HOPTRACE_HOST_NETNS");
    QFile first(QStringLiteral("/proc/1/cmdline"));
    const QByteArray firstLine = first.open(QIODevice::ReadOnly) ? first.readAll().replace('\0', ' ') : QByteArray();
    const QString own = NetworkNamespaceOf(QStringLiteral("self"));
    return QFileInfo(qEnvironmentVariable("HOPTRACE_PRIVATE_NETWORK")).isDir() && !host.isEmpty()
        && firstLine.contains("private-network.sh _inside ") && !own.isEmpty() && own != host
        && NetworkNamespaceOf(QStringLiteral("1")) != host;
}

bool PrivateNetwork::onSimulatedLan()
{
    return inside() && qEnvironmentVariable("SIMLAN_INSIDE") == QLatin1String("1")
        && !qEnvironmentVariable("SIMLAN_DEVICE_PID").isEmpty();
}

bool PrivateNetwork::run(const QStringList& args)
{
    QProcess process;
    const bool finished = RunToEnd(process, "/bin/sh", QStringList{HOPTRACE_PRIVATE_NETWORK_SCRIPT} + args, 30'000);
    if (finished && process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0)
        return true;
    qWarning("private-network.sh %s failed: %s", qPrintable(args.join(' ')), process.readAll().constData());
    return false;
}

void PrivateNetwork::runTestClass(const char* className, Kind kind)
{
    const QStringList thisClass{QCoreApplication::applicationFilePath(), "-class", className};
    const QStringList start = kind == Kind::Bare ? QStringList{HOPTRACE_PRIVATE_NETWORK_SCRIPT, "enter"}
                                                 : QStringList{HOPTRACE_SIMLAN_SCRIPT, "--no-sim", "--"};
    QProcess process;
    const bool finished = RunToEnd(process, kind == Kind::Bare ? "/bin/sh" : "bash", start + thisClass, 240'000);
    std::fputs(process.readAll().constData(), stdout);
    QVERIFY2(finished, "the run inside the private network did not finish in time");
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == kNoNamespaceExitCode) {
        if (qEnvironmentVariable("CI") == QLatin1String("true"))
            QFAIL("no private network namespace can be made, and CI requires these tests");
        QSKIP("no private network namespace can be made here (unshare -rn fails)");
    }
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
             qPrintable(QStringLiteral("%1 failed inside its private network").arg(className)));
}
