#include "TestMain.h"

#include "PrivateNetwork.h"
#include "SimulatorProcess.h"

#include "fakes/ControlWidgets.h"
#include "fakes/WindowInput.h"

#include "app/frmHoptrace.h"
#include "devices/CommissioningLog.h"
#include "platform/PlatformFactory.h"

#include <QElapsedTimer>
#include <QFile>
#include <QSaveFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QSettings>
#include <QProcess>
#include <QProcessEnvironment>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <csignal>

namespace {

struct CliRun {
    int exitCode = -1;
    QByteArray out, err;
};

// Where the command line keeps its commissioning log in these tests (not in the user's own).
const QTemporaryDir& CliDataHome()
{
    static const QTemporaryDir home;
    return home;
}

// The command line started with its log kept in CliDataHome().
void StartCli(QProcess& process, const QStringList& arguments)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("XDG_DATA_HOME"), CliDataHome().path());
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(HOPTRACE_CLI), arguments);
}

// Exit code -1: it crashed or ran for more than a minute (and was killed).
CliRun RunCli(const QStringList& arguments)
{
    QProcess process;
    StartCli(process, arguments);
    const bool ended = process.waitForFinished(60'000) && process.exitStatus() == QProcess::NormalExit;
    process.kill();
    process.waitForFinished();
    return {ended ? process.exitCode() : -1, process.readAllStandardOutput(), process.readAllStandardError()};
}

// `list --json` as "mac address:port NIC #nic" per device, sorted.
QStringList ListedByCli()
{
    QStringList listed;
    for (const QJsonValue& d : QJsonDocument::fromJson(RunCli({"list", "--json", "--seconds", "2"}).out).array())
        listed << d["mac"].toString() + ' ' + d["address"].toString() + ':' + QString::number(d["port"].toInt())
                + " NIC #" + QString::number(d["nic"].toInt());
    listed.sort();
    return listed;
}

// What a wait on the window saw last: whether it was usable, and its list.
QByteArray Seen(const frmHoptrace& window)
{
    return (window.isEnabled() ? "enabled, listing:\n" : "disabled, listing:\n")
        + window.controls().txtServers->toPlainText().toUtf8();
}

// The offset libfaketime reads at every call, relative to the real time of day. Replaced
// whole (a rename), never seen empty: Debian 13's libfaketime ends the program on an empty one.
bool WriteClockOffset(const QString& path, const QByteArray& offset)
{
    QSaveFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(offset + '\n') == offset.size() + 1 && file.commit();
}

const char* const kMacA = "00:08:DC:1A:00:01";
const char* const kMacD = "00:08:DC:2B:00:04";

} // namespace

// Runs inside the simulated LAN (started by EndToEndRuns): the program's window and its
// command line on the real platform services, the simulator on the device side of two adapters.
class WebserverLanTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init() { QVERIFY2(PrivateNetwork::onSimulatedLan(), "runs only inside the simulated LAN (EndToEndRuns)"); }

    void cleanup()
    {
        window_.reset();
        services_.reset();
        simulator_.stop();
        routedSimulator_.stop();
    }

    // The device behind the router: the window finds it only once its address is entered in
    // "Search addresses..." (right click, the item, typing, Enter), and the command line's set-ip
    // reaches it there (its copies also go unicast) and sees it back at its new address.
    void aRoutedDeviceIsFoundAndSetUpByAddress()
    {
        const QString routed = qEnvironmentVariable("SIMLAN_ROUTED");
        const QString mac = "00:08:DC:3C:00:07";
        QSettings().remove("search/addresses");
        QVERIFY(simulator_.start({"name=WS-A,mac=00:08:DC:1A:00:01,ip=192.168.1.20,iface=sw1"}));
        QVERIFY(
            routedSimulator_.start({"name=WS-R,mac=" + mac + ",ip=" + routed + ",gw=10.77.0.1"}, "SIMLAN_ROUTED_PID"));
        startWindow();
        const Controls& c = window_->controls();
        QVERIFY(!c.txtServers->toPlainText().contains(mac));
        QVERIFY(WindowInput::ChooseFromMenu(*c.txtServers->viewport(), "Search addresses...") == true);
        QWidget* dialog = QApplication::activeModalWidget();
        QVERIFY(dialog);
        WindowInput::Type(*dialog, routed);
        WindowInput::Key(*dialog, Qt::Key_Return);
        QTRY_VERIFY2_WITH_TIMEOUT(window_->isEnabled() && c.txtServers->toPlainText().contains(mac),
                                  Seen(*window_).constData(), 20'000);
        window_->close();
        window_.reset();
        QSettings().remove("search/addresses");

        const CliRun set = RunCli({"set-ip", mac, "--search", routed, "--address", "10.77.0.30", "--mask",
                                   "255.255.255.0", "--gateway", "10.77.0.1", "--dns", "10.77.0.1", "--port", "80",
                                   "--wait", "15"});
        QVERIFY2(set.exitCode == 0 && set.out.contains("applied (") && set.out.contains(" 10.77.0.30:80 "),
                 set.out + set.err);
        QVERIFY(!routedSimulator_.received().filter(" -> " + routed + " ").filter("SetIP").isEmpty());
    }

    // A plan of three devices, one of them missing: a faulty plan sends nothing, a dry run
    // prints and sends nothing, and the run applies one row, leaves one unchanged and misses one.
    void commandLineAppliesAPlan()
    {
        QVERIFY(simulator_.start({"name=WS-A,mac=00:08:DC:1A:00:01,ip=192.168.1.20,port=80,iface=sw1",
                                  "name=WS-2,mac=00:08:DC:1A:00:02,ip=192.168.1.21,mode=dhcp,port=8080,iface=sw1"}));
        QTemporaryDir dir;
        const auto plan = [&](const QByteArray& rows) {
            WriteFile(dir.filePath("plan.csv"),
                      "\xEF\xBB\xBFmac;assignment;address;mask;gateway;dns;port\r\n# the hall\r\n" + rows);
            return dir.filePath("plan.csv");
        };
        const auto setups = [&] {
            return simulator_.received().filter(QRegularExpression("\\|Set(IP|DHCP)\\|")).size();
        };
        const qsizetype before = simulator_.received().size();
        const CliRun faulty = RunCli({"apply", plan("00:08:DC:1A:00:01;fixed;192.168.1.70;255.0.255.0;;;80\r\n")});
        QVERIFY2(faulty.exitCode == 2 && faulty.err.contains("plan.csv:3: "), faulty.err);
        QCOMPARE(simulator_.received().size(), before); // not even a search
        const QString rows = plan("00:08:DC:1A:00:01;fixed;192.168.1.70;255.255.255.0;192.168.1.1;192.168.1.1;80\r\n"
                                  "00:08:DC:1A:00:02;dhcp;;;;;8080\r\n"
                                  "00:08:DC:1A:00:09;dhcp;;;;;80\r\n");
        const qsizetype setupsBefore = setups();
        const CliRun dry = RunCli({"apply", rows, "--dry-run", "--seconds", "2"});
        QVERIFY2(dry.exitCode == 1 && dry.out.contains("00:08:DC:1A:00:01: would send set-ip"), dry.out + dry.err);
        QCOMPARE(setups(), setupsBefore);
        const CliRun run = RunCli({"apply", rows, "--seconds", "2", "--wait", "15"});
        const QStringList lines = QString::fromUtf8(run.out).split('\n', Qt::SkipEmptyParts);
        QVERIFY2(run.exitCode == 1 && lines.size() == 3, run.out + run.err);
        QVERIFY2(lines[0].startsWith("00:08:DC:1A:00:01: applied") && lines[0].contains("192.168.1.70:80"), run.out);
        QVERIFY2(lines[1].startsWith("00:08:DC:1A:00:02: unchanged"), run.out);
        QCOMPARE(lines[2], QString("00:08:DC:1A:00:09: not found"));
    }

    // Ctrl-C while a reboot is verified: the command line ends at once, and the log records
    // the command as cancelled.
    void ctrlCCancelsACommandOfTheCommandLine()
    {
        QVERIFY(simulator_.start({QStringLiteral("name=WS-A,mac=%1,ip=192.168.1.20,port=80,iface=sw1").arg(kMacA)}));
        QProcess process;
        StartCli(process, {"reboot", kMacA, "--seconds", "2", "--wait", "30"});
        QVERIFY(process.waitForStarted());
        QTest::qWait(4000); // found, sent, and into the verification
        ::kill(static_cast<pid_t>(process.processId()), SIGINT);
        QVERIFY(process.waitForFinished(5000));
        QCOMPARE(process.exitCode(), 130);
        QVERIFY(process.readAllStandardOutput().contains(QByteArray(kMacA) + ": cancelled"));
        const LogReading log = ReadLogFile(CliDataHome().path() + "/Tavik/Hoptrace/commissioning-log.jsonl");
        const std::vector<LogEntry> entries = FilterLog(log.entries, {}, kMacA);
        QVERIFY(!entries.empty());
        QCOMPARE(entries.back().outcome, CommandOutcome::Cancelled);
    }

    // Five devices behind both adapters, each listed once by the window and by the command line. WS-NEW
    // answered on lan2 from an address of no local network, and the default route leads to lan1; each
    // one's Reboot leaves through lan2. (The simulator's side takes datagrams for any of its addresses on
    // either link, so the sender address tells which adapter the Reboot left through. What the listing
    // says of each device, shared addresses and a device off its adapter's network: CliTest.)
    void rebootReachesADeviceOnNoLocalNetwork()
    {
        const QStringList macs{kMacA, "00:08:DC:1A:00:02", "00:0A:5B:20:00:03", "00:08:DC:2B:00:05", kMacD};
        QVERIFY(simulator_.start({
            "name=WS-A,mac=" + macs[0] + ",ip=192.168.1.20,iface=sw1",
            "name=WS-2,mac=" + macs[1] + ",ip=192.168.1.21,mode=dhcp,port=8080,iface=sw1,delay=700,jitter=200",
            "name=WS-3,mac=" + macs[2] + ",ip=192.168.1.23,iface=sw1",
            "name=WS-4,mac=" + macs[3] + ",ip=172.16.5.20,iface=sw2",
            "name=WS-NEW,mac=" + macs[4] + ",ip=192.168.0.100,iface=sw2",
        }));
        const qsizetype before = simulator_.received().size(); // the record holds the earlier tests' datagrams too
        startWindow();
        const Controls& c = window_->controls();
        QCOMPARE(c.TabNIC->count(), 2);
        const QString text = c.txtServers->toPlainText();
        for (const QString& mac : macs)
            QVERIFY2(text.count(mac) == 1, qPrintable(mac + " not listed once in:\n" + text));
        QVERIFY2(text.contains("Webserver 5 found:") && !text.contains("Webserver 6 found:"), qPrintable(text));
        const QStringList requests = simulator_.received().mid(before).filter("TAVIKwebserver|List|");
        QVERIFY(!requests.filter("192.168.1.10:8080 -> 255.255.255.255").isEmpty());
        QVERIFY(!requests.filter("172.16.5.10:8080 -> 255.255.255.255").isEmpty());
        WindowInput::ClickAtCaret(*c.txtServers, int(text.indexOf(QLatin1String(kMacD))));
        QCOMPARE(c.cmdReboot->text(), QString("Reboot 192.168.0.100"));
        WindowInput::Click(*c.cmdReboot);
        // Twelve seconds of waiting, then a search of three.
        QTRY_VERIFY2_WITH_TIMEOUT(window_->isEnabled() && !c.txtServers->toPlainText().contains("Rebooting"),
                                  Seen(*window_).constData(), 45'000);
        const QStringList sent = simulator_.received().mid(before).filter("TAVIKwebserver|Reboot|");
        QVERIFY2(sent.size() == 2 && sent.filter(" 172.16.5.10:8080 -> 192.168.0.100 ").size() == 2,
                 qPrintable(sent.join('\n')));

        window_.reset(); // it and its services hold the port the command line needs
        services_.reset();
        QCOMPARE(ListedByCli(),
                 (QStringList{kMacA + QString(" 192.168.1.20:80 NIC #1"), macs[1] + " 192.168.1.21:8080 NIC #1",
                              kMacD + QString(" 192.168.0.100:80 NIC #2"), macs[3] + " 172.16.5.20:80 NIC #2",
                              macs[2] + " 192.168.1.23:80 NIC #1"}));
        const qsizetype beforeCli = simulator_.received().size();
        const CliRun reboot = RunCli({"reboot", kMacD, "--wait", "15"});
        QVERIFY2(reboot.exitCode == 0 && reboot.out.contains("applied"), reboot.out + reboot.err);
        const QStringList sentByCli = simulator_.received().mid(beforeCli).filter("TAVIKwebserver|Reboot|");
        QCOMPARE(sentByCli.filter(" 172.16.5.10:8080 -> 192.168.0.100 if").size(), 2);
        // The command is in the log, with the outcome its verification found.
        const LogReading log = ReadLogFile(CliDataHome().path() + "/Tavik/Hoptrace/commissioning-log.jsonl");
        QCOMPARE(log.skipped, 0);
        const std::vector<LogEntry> entries = FilterLog(log.entries, {}, kMacD);
        QCOMPARE(entries.size(), 1u);
        const LogEntry& e = entries[0];
        QCOMPARE(e.record.program + ' ' + std::string(CommandKindName(e.record.command)) + ' ' + e.record.adapter + ' '
                     + std::string(OutcomeName(e.outcome.value_or(CommandOutcome::NotSeen))),
                 "hoptrace-cli reboot lan2 seen-new-values");
    }

    // The wall clock steps while the search and Reboot's wait run (ClockStepTest, under libfaketime).
    void aClockStepChangesNoWait()
    {
        const QString library = "/usr/lib/x86_64-linux-gnu/faketime/libfaketime.so.1";
        if (!QFile::exists(library))
            QSKIP("libfaketime is not installed");
        QTemporaryDir dir; // ClockStepTest writes the offset file there
        // No step yet; the file is there from the start, since libfaketime 0.9.10 of 2024
        // (Debian 13) ends the program when it cannot read one.
        QVERIFY(WriteClockOffset(dir.filePath("step"), "+0"));
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("LD_PRELOAD", library);
        environment.insert("FAKETIME_TIMESTAMP_FILE", dir.filePath("step"));
        environment.insert("FAKETIME_NO_CACHE", "1");
        environment.insert("DONT_FAKE_MONOTONIC", "1");
        QProcess run;
        run.setProcessEnvironment(environment);
        run.setProcessChannelMode(QProcess::ForwardedChannels);
        run.start(QCoreApplication::applicationFilePath(), {"-class", "ClockStepTest"});
        QVERIFY2(run.waitForFinished(120'000) && run.exitStatus() == QProcess::NormalExit && run.exitCode() == 0,
                 "ClockStepTest failed");
    }

    void aSecondWindowFindsThePortTaken()
    {
        startWindow();
        const std::unique_ptr<PlatformServices> secondServices = CreatePlatformServices();
        frmHoptrace second(secondServices->services());
        second.load();
        QCOMPARE(second.controls().labStatus->text(),
                 QString("UDP port 8080 is in use by another program. Webservers cannot be searched."));
        QCOMPARE(RunCli({"list", "--seconds", "1"}).exitCode, 3);
    }

    // Nothing is set up: refused arguments never reach the network (test_cli holds those rows), and a
    // device that gives no port is not sent port 0 (the window shows the 0 and refuses it).
    void exitCodes_data()
    {
        const auto row = Columns<QString, int, QString>("arguments", "exitCode", "says");
        row("device not found", "reboot 00:08:DC:99:99:99 --seconds 1", 1, "did not answer");
        row("a device without port", "set-dhcp 00:08:DC:5E:00:04 --seconds 2", 2, "port 0 would leave it unreachable");
        row("ping: no address", "ping 192.168.1.256", 2, "is not a valid IP address!");
        row("ping: in use", "ping 192.168.1.1", 1, "is in use!");
        row("ping: free", "ping 192.168.1.99", 0, "is free!");
    }
    void exitCodes()
    {
        const auto [arguments, exitCode, says] = Fetch<QString, int, QString>("arguments", "exitCode", "says");
        QVERIFY(simulator_.start({"name=WS-E4,mac=00:08:DC:5E:00:04,ip=192.168.1.54,port=0,omit=firmware,iface=sw1"}));
        const qsizetype before = simulator_.received().size(); // the record holds the earlier tests' datagrams too
        const CliRun run = RunCli(arguments.split(' '));
        QVERIFY2(run.exitCode == exitCode && QString(run.out + run.err).contains(says), run.out + run.err);
        QCOMPARE(simulator_.received().mid(before).filter(QRegularExpression("\\|Set(IP|DHCP)\\|")).size(), 0);
    }

private:
    SimulatorProcess routedSimulator_; // on the routed segment, behind the router
    // Shows the window, as the program's start does, and waits for its first search.
    void startWindow()
    {
        services_ = CreatePlatformServices();
        window_ = std::make_unique<frmHoptrace>(services_->services());
        window_->load();
        QTRY_VERIFY_WITH_TIMEOUT(window_->isEnabled(), 20'000); // a search takes three seconds
    }

    SimulatorProcess simulator_;
    std::unique_ptr<PlatformServices> services_;
    std::unique_ptr<frmHoptrace> window_;
};

// The program under libfaketime, inside the simulated LAN: its wall clock steps by ten minutes,
// back and forward, while its monotonic clock runs on. No wait may follow the step.
class ClockStepTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void init()
    {
        QVERIFY(stepWallClock("+0"));
        QVERIFY(simulator_.start({"name=TK-S,mac=00:08:DC:5C:00:01,ip=192.168.1.71,iface=sw1"}));
    }
    void cleanup()
    {
        window_.reset();
        services_.reset();
        simulator_.stop();
        QVERIFY(stepWallClock("+0"));
    }

    // Ten minutes back one second into the search, ten minutes forward one second into Reboot's wait.
    void theWindowsWaitsKeepTheirLength()
    {
        services_ = CreatePlatformServices();
        window_ = std::make_unique<frmHoptrace>(services_->services());
        QElapsedTimer took;
        took.start();
        window_->load();
        QTest::qWait(1000);
        QVERIFY(stepWallClock("-600"));
        QTRY_VERIFY_WITH_TIMEOUT(window_->isEnabled(), 10'000);
        QVERIFY2(took.elapsed() < 5000, qPrintable(QString::number(took.elapsed())));
        const Controls& c = window_->controls();
        QCOMPARE(c.cmdReboot->text(), QString("Reboot 192.168.1.71")); // the lone device is selected
        took.start();
        WindowInput::Click(*c.cmdReboot);
        QTest::qWait(1000);
        QVERIFY(stepWallClock("+600"));
        QTRY_VERIFY_WITH_TIMEOUT(c.labStatus->text().startsWith("Searching"), 20'000);
        QVERIFY2(took.elapsed() >= 11'500, qPrintable(QString::number(took.elapsed())));
    }

    void commandLineListsForItsSeconds_data()
    {
        const auto row = Columns<QByteArray>("step");
        row("back", "-600");
        row("forward", "+600");
    }
    void commandLineListsForItsSeconds()
    {
        QFETCH(QByteArray, step);
        QProcess cli;
        QElapsedTimer took;
        took.start();
        cli.start(QStringLiteral(HOPTRACE_CLI), {"list", "--seconds", "3"});
        QTest::qWait(1000);
        QVERIFY(stepWallClock(step));
        QVERIFY(cli.waitForFinished(30'000));
        QVERIFY2(took.elapsed() >= 2900, qPrintable(QString::number(took.elapsed())));
        QVERIFY(cli.readAllStandardOutput().contains("00:08:DC:5C:00:01"));
    }

private:
    static bool stepWallClock(const QByteArray& offset)
    {
        return WriteClockOffset(qEnvironmentVariable("FAKETIME_TIMESTAMP_FILE"), offset);
    }

    SimulatorProcess simulator_;
    std::unique_ptr<PlatformServices> services_;
    std::unique_ptr<frmHoptrace> window_;
};

class EndToEndRuns : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void webserversOnTheLan() { PrivateNetwork::runTestClass("WebserverLanTest", PrivateNetwork::Kind::SimulatedLan); }
};

HOPTRACE_TEST(EndToEndRuns)
HOPTRACE_TEST_WHEN(WebserverLanTest, PrivateNetwork::onSimulatedLan)
HOPTRACE_TEST_WHEN(ClockStepTest, [] {
    return PrivateNetwork::onSimulatedLan() && qEnvironmentVariableIsSet("FAKETIME_TIMESTAMP_FILE");
})
#include "WebserverLanTest.moc"
