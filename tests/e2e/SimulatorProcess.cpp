#include "SimulatorProcess.h"

#include "TestMain.h"

#include <QFile>

#include <csignal>
#include <sys/prctl.h>

bool SimulatorProcess::start(const QStringList& deviceLines, const char* namespaceVariable)
{
    // The ready file of a simulator started before would end the wait at once.
    QFile::remove(dir_.filePath("ready"));
    // In the device namespace, where the simulator puts its devices' addresses.
    QStringList arguments{"-t", qEnvironmentVariable(namespaceVariable), "-n", HOPTRACE_TAVIK_SIM};
    arguments << "--manage-addresses" << "--ready-file" << dir_.filePath("ready") << "--record"
              << dir_.filePath("record");
    for (const QString& keys : deviceLines)
        arguments << QStringLiteral("--device") << keys;
    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_.start(QStringLiteral("nsenter"), arguments);
    return QTest::qWaitFor(
               [this] { return QFile::exists(dir_.filePath("ready")) || process_.state() == QProcess::NotRunning; },
               10'000)
        && process_.state() != QProcess::NotRunning;
}

void SimulatorProcess::stop()
{
    if (process_.state() == QProcess::NotRunning)
        return;
    process_.terminate();
    if (!process_.waitForFinished(5000)) {
        process_.kill();
        process_.waitForFinished();
    }
}

QStringList SimulatorProcess::received() const
{
    return QString::fromLatin1(ReadFile(dir_.filePath("record")).value_or("")).split('\n', Qt::SkipEmptyParts);
}
