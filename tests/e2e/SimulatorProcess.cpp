#include "SimulatorProcess.h"

#include <QDeadlineTimer>
#include <QFile>
#include <QTest>

#include <csignal>
#include <sys/prctl.h>

namespace {
constexpr int StartLimitMs = 10'000;
}

SimulatorProcess::~SimulatorProcess() { stop(); }

bool SimulatorProcess::start(const QStringList& deviceLines)
{
    QStringList arguments{QStringLiteral("--manage-addresses"), QStringLiteral("--ready-file"),
                          dir_.filePath(QStringLiteral("ready")), QStringLiteral("--record"),
                          dir_.filePath(QStringLiteral("record"))};
    for (const QString& keys : deviceLines)
        arguments << QStringLiteral("--device") << keys;

    process_.setProcessChannelMode(QProcess::ForwardedChannels);
    process_.setChildProcessModifier([] { ::prctl(PR_SET_PDEATHSIG, SIGTERM); });
    process_.start(QStringLiteral("nsenter"),
                   QStringList{QStringLiteral("-t"), qEnvironmentVariable("SIMLAN_DEVICE_PID"), QStringLiteral("-n"),
                               QStringLiteral(HOPTRACE_TAVIK_SIM)}
                       + arguments);
    const QDeadlineTimer limit(StartLimitMs);
    while (!QFile::exists(dir_.filePath(QStringLiteral("ready")))) {
        if (process_.state() == QProcess::NotRunning || limit.hasExpired())
            return false;
        QTest::qWait(10);
    }
    return true;
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
    QFile record(dir_.filePath(QStringLiteral("record")));
    if (!record.open(QIODevice::ReadOnly))
        return {};
    return QString::fromLatin1(record.readAll()).split('\n', Qt::SkipEmptyParts);
}
