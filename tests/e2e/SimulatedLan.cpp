#include "SimulatedLan.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTest>

#include <csignal>
#include <cstdio>
#include <sys/prctl.h>
#include <unistd.h>

namespace {

constexpr int NoNamespaceExitCode = 77;
constexpr int InsideRunLimitMs = 240'000;

QByteArray networkNamespaceOfThisProcess()
{
    char target[128] = {};
    const ssize_t length = ::readlink("/proc/self/ns/net", target, sizeof target - 1);
    return length > 0 ? QByteArray(target, static_cast<int>(length)) : QByteArray();
}

} // namespace

bool SimulatedLan::inside()
{
    const QByteArray host = qgetenv("SIMLAN_HOST_NETNS");
    const QByteArray own = networkNamespaceOfThisProcess();
    return qgetenv("SIMLAN_INSIDE") == "1" && !qgetenv("SIMLAN_DEVICE_PID").isEmpty() && !host.isEmpty() &&
           !own.isEmpty() && own != host;
}

void SimulatedLan::runTestClass(const char* className)
{
    QProcess process;
    process.setProcessChannelMode(QProcess::MergedChannels);
    // Should this test die, the LAN and everything in it go with it.
    process.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGKILL); });
    process.start(QStringLiteral("bash"),
                  {QStringLiteral(HOPTRACE_SIMLAN_SCRIPT), QStringLiteral("--no-sim"), QStringLiteral("--sim"),
                   QStringLiteral(HOPTRACE_TAVIK_SIM), QStringLiteral("--"), QCoreApplication::applicationFilePath(),
                   QStringLiteral("-class"), QString::fromLatin1(className)});
    const bool finished = process.waitForFinished(InsideRunLimitMs);
    if (!finished) {
        process.kill();
        process.waitForFinished();
    }
    std::fputs(process.readAll().constData(), stdout);
    std::fflush(stdout);
    QVERIFY2(finished, "the run inside the simulated LAN did not finish");
    if (process.exitStatus() == QProcess::NormalExit && process.exitCode() == NoNamespaceExitCode) {
        if (qgetenv("CI") == "true")
            QFAIL("no private network namespace can be made, and CI requires these tests");
        QSKIP("no private network namespace can be made here (unshare fails)");
    }
    QVERIFY2(process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0,
             qPrintable(QStringLiteral("%1 failed inside the simulated LAN").arg(className)));
}
