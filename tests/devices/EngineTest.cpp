#include "TestMain.h"
#include "fakes/EngineRig.h"

#include "devices/AddressList.h"
#include "devices/CommissioningLog.h"
#include "devices/SetupDatagrams.h"
#include "platform/DottedQuad.h"

#include <QFile>
#include <QLockFile>
#include <QProcess>
#include <QSet>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <cmath>
#include <map>

namespace {
// Appends `bytes` as another program might, and gives the whole file.
QByteArray Appended(const QString& path, const QByteArray& bytes = {})
{
    QFile file(path);
    if (!bytes.isEmpty() && file.open(QIODevice::Append))
        file.write(bytes);
    file.close();
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}
} // namespace

// The device engine on its own, as each front end runs it (EngineRig): the search, a command
// whose answers the search's intake hears, and the commissioning log both front ends keep.
class EngineTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void eachFrontEndsCadence_data()
    {
        const auto row = Columns<bool, double, std::vector<double>, double>("commandLine", "seconds", "requests",
                                                                            "endsAt");
        // The window: a request at each tick within the three seconds, the end at the next.
        // Beside each broadcast, the searched addresses off the adapters' networks get the request
        // by unicast, spread over the first half of the tick (the command line's last one may be
        // shorter than a second), so that the replies arrive before the end.
        row("window", false, 3.0, {1, 2, 3}, 4.0);
        // The command line: a request at once and every second, the end at the deadline itself.
        row("command line, 3 s", true, 3.0, {0, 1, 2}, 3.0);
        row("command line, 2.5 s", true, 2.5, {0, 1, 2}, 2.5);
        row("command line, 0.5 s", true, 0.5, {0}, 0.5);
    }
    void eachFrontEndsCadence()
    {
        const auto [commandLine, seconds, requests, endsAt] = Fetch<bool, double, std::vector<double>, double>(
            "commandLine", "seconds", "requests", "endsAt");
        EngineRig rig;
        QSignalSpy finished(&rig.search, &DeviceSearch::finished);
        rig.search.clear();
        // 64 routed addresses beside the broadcast; two on lan1's network, which the broadcast asks.
        rig.search.start({.seconds = seconds,
                          .requestAtStart = commandLine,
                          .endAtDeadline = commandLine,
                          .unicastTargets = AddressList::Parse("10.77.0.0/26 192.168.1.100-101").addresses});
        rig.time.advance(endsAt - 0.05);
        QCOMPARE(finished.count(), 0);
        rig.time.advance(0.1);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(rig.sendTimes("255.255.255.255"), requests);
        QCOMPARE(rig.search.listing().text(), "No find");
        // Each address once a tick, in the first half of the tick, at most 3 at one moment (no burst).
        std::map<std::pair<double, std::string>, int> perTickAndHost;
        std::map<double, int> perMoment;
        for (const FakeUdpSocket::Sent& s : rig.socket.sent) {
            if (s.host == "255.255.255.255")
                continue;
            const double tick = *std::prev(std::ranges::upper_bound(requests, s.at));
            const double tickLength = commandLine ? std::min(1.0, seconds - tick) : 1.0;
            QVERIFY2(s.host.starts_with("10.77.0.") && s.port == 8080 && s.at - tick < tickLength / 2, s.host.c_str());
            ++perTickAndHost[{tick, s.host}];
            ++perMoment[s.at];
        }
        QCOMPARE(perTickAndHost.size(), requests.size() * 64);
        QVERIFY(std::ranges::all_of(perTickAndHost, [](const auto& sent) { return sent.second == 1; }));
        QVERIFY(std::ranges::all_of(perMoment, [](const auto& sent) { return sent.second <= 3; }));
    }

    // One device per MAC, under numbered headings, with the devices kept as values where the
    // front end asks for them: the latest reply, its sender and the adapter that first heard each.
    // A device heard by broadcast and by unicast is one device.
    void listsEachMacOnce()
    {
        EngineRig rig;
        QSignalSpy listedCounts(&rig.search, &DeviceSearch::serversListed);
        rig.search.clear();
        rig.search.start({.seconds = 3,
                          .requestAtStart = true,
                          .endAtDeadline = true,
                          .keepDevices = true,
                          .unicastTargets = {*ParseDottedQuad("10.77.0.21")}});
        rig.socket.deliver(TavikReply({.mac = "00:08:DC:00:00:01"}), 0.2, "192.168.1.20", 2);
        rig.socket.deliver(TavikReply({.mac = "00:08:DC:00:00:02"}), 0.3, "10.77.0.21", 2);
        rig.socket.deliver(TavikReply({.mac = "00:08:DC:00:00:02"}), 0.3, "10.77.0.21", 2);
        rig.socket.deliver(TavikReply({.mac = "00:08:DC:00:00:01", .address = "192.168.1.30:80"}), 1.2);
        rig.socket.deliver("TAVIKwebserver|List|", 1.3); // another PC's request
        rig.time.advance(3.1);
        QCOMPARE(rig.search.count(), 2);
        QCOMPARE(listedCounts.count(), 2);
        const std::string& text = rig.search.listing().text();
        QVERIFY2(text.find("Webserver 1 found:") < text.find("Webserver 2 found:"), text.c_str());
        const std::vector<FoundDevice>& devices = rig.search.devices();
        QCOMPARE(devices.size(), 2u);
        QCOMPARE(devices[0].reply.address, "192.168.1.30"); // its latest reply
        QCOMPARE(devices[0].interfaceIndex, 2);
        QCOMPARE(std::lround(devices[0].firstHeard * 1000), 200); // milliseconds after the start
        QCOMPARE(std::lround(devices[0].lastHeard * 1000), 1200);
        QCOMPARE(devices[1].reply.mac, "00:08:DC:00:00:02");
        QCOMPARE(devices[1].senderAddress, "10.77.0.21");
    }

    // The setup copies go out once a second until the device shows what was sent; only then
    // does the reboot wait follow, and only the device's own answer with the new values counts.
    void setupCopiesEndOnTheDevicesAnswer_data()
    {
        const auto row = Columns<std::string, double, std::vector<double>, double, QString>(
            "answer", "answerAt", "copiesAt", "readyAt", "outcome");
        const std::string dhcp80 = TavikReply({.address = "192.168.1.20:80"});
        row("no answer", "", 0.0, {0, 1, 2}, 3.0, "not-seen");
        row("answer after the first copy", dhcp80, 0.5, {0}, 13.0, "confirmed");
        row("answer after the second copy", dhcp80, 1.5, {0, 1}, 14.0, "confirmed");
        row("another device", TavikReply({.mac = "00:08:DC:00:00:02", .address = "192.168.1.20:80"}), 0.5, {0, 1, 2},
            3.0, "not-seen");
        row("its old values", TavikReply({.address = "192.168.1.20:81"}), 0.5, {0, 1, 2}, 3.0, "not-seen");
    }
    void setupCopiesEndOnTheDevicesAnswer()
    {
        const auto [answer, answerAt, readyAt] = Fetch<std::string, double, double>("answer", "answerAt", "readyAt");
        EngineRig rig;
        QSignalSpy started(&rig.channel, &CommandChannel::commandStarted);
        QSignalSpy concluded(&rig.channel, &CommandChannel::commandConcluded);
        QSignalSpy ready(&rig.run, &DeviceCommandRun::readyToCheck);
        if (!answer.empty())
            rig.socket.deliver(answer, answerAt);
        rig.run.start(SetupCommandFor("00:08:DC:00:00:01", "192.168.1.20", 2, std::nullopt,
                                      TavikSetup::SetDHCPRequest("80", "00:08:DC:00:00:01")),
                      true);
        rig.time.advance(readyAt - 0.05);
        QCOMPARE(ready.count(), 0);
        rig.time.advance(0.1);
        QCOMPARE(ready.count(), 1);
        QTEST(rig.sendTimes(), "copiesAt");
        rig.run.conclude(std::nullopt); // the search after it did not find the device
        QCOMPARE(started.count(), 1);
        QCOMPARE(concluded.count(), 1);
        QCOMPARE(concluded[0][0], started[0][0]); // the same command's id
        QTEST(QString::fromLatin1(OutcomeName(concluded[0][1].value<CommandOutcome>())), "outcome");
    }

    // Damaged lines among whole ones, the one before the second command cut short without its line
    // break: both commands come back with their values, the outcome paired by id, the damaged
    // lines counted, and the file as it was.
    void damagedLinesSkippedAndCounted()
    {
        QTemporaryDir dir;
        const CommissioningLog log(dir.filePath("new/folder/commissioning-log.jsonl"));
        CommissioningRecord first = StampedRecord("hoptrace-cli", CommandKind::SetIP);
        first.time = QDateTime::fromString("2024-05-01T09:30:00+02:00", Qt::ISODate);
        first.mac = "00:08:DC:00:00:01";
        first.hostName = "Halle \u201C2\u201D";
        first.before = {true, "192.168.1.20", "255.255.255.0", "192.168.1.1", "", 80};
        first.sent = {false, "10.0.0.5", "255.0.0.0", "0.0.0.0", "0.0.0.0", 8080};
        CommissioningRecord second = StampedRecord("hoptrace", CommandKind::Reboot);
        second.mac = "00:08:dc:00:00:02";
        const LogWrite sent = log.appendSent(first);
        QVERIFY2(sent.ok() && !first.version.empty(), sent.error.c_str());
        Appended(log.path(), "not json\n{\"id\":\"x\",\"kind\":\"sent\",\"ti");
        QVERIFY(log.appendSent(second).ok());
        const QDateTime outcomeTime = first.time.addSecs(20);
        QVERIFY(log.appendOutcome(sent.id, CommandOutcome::SeenWithNewValues, outcomeTime).ok());
        QVERIFY(log.appendOutcome("no-such-id", CommandOutcome::NotSeen).ok());
        const QByteArray before = Appended(log.path());

        const LogReading reading = ReadLogFile(log.path());
        QCOMPARE(reading.skipped, 3);
        QCOMPARE(reading.entries.size(), std::size_t(2));
        // Every value back, the time with its offset, the outcome paired by id.
        QCOMPARE(LogEntryObject(reading.entries[0]),
                 LogEntryObject({sent.id, first, CommandOutcome::SeenWithNewValues, outcomeTime}));
        QVERIFY(!reading.entries[1].outcome);
        QCOMPARE(Appended(log.path()), before);

        const auto kept = [&](const char* since, const char* mac) {
            return FilterLog(reading.entries, QDateTime::fromString(since, Qt::ISODate), mac).size();
        };
        QCOMPARE(kept("", "00:08:DC:00:00:02"), 1u);
        QCOMPARE(kept("2024-05-01T08:00:00Z", ""), 1u);
        QCOMPARE(kept("2024-05-01T07:00:00Z", ""), 2u);
    }

    // Two programs appending at once, many lines each: every line whole, none lost.
    void twoWritersLoseAndMixNoLine()
    {
        QTemporaryDir dir;
        const QString path = dir.filePath("commissioning-log.jsonl");
        constexpr int kLines = 400;
        QProcess writers[2];
        for (int i = 0; i < 2; ++i)
            writers[i].start(HOPTRACE_LOG_APPENDER, {path, QString::number(kLines), QString("w%1").arg(i)});
        for (QProcess& writer : writers) {
            QVERIFY(writer.waitForFinished(60000));
            QCOMPARE(writer.exitCode(), 0);
        }
        const LogReading reading = ReadLogFile(path);
        QSet<QString> hosts;
        for (const LogEntry& entry : reading.entries)
            hosts.insert(QString::fromStdString(entry.record.hostName));
        QCOMPARE(reading.skipped, 0);
        QCOMPARE(hosts.size(), 2 * kLines);
        QCOMPARE(reading.entries.size(), std::size_t(2 * kLines));
    }

    // A log that cannot be written (its folder a file; its lock held) says why, as a value, at
    // once or after the lock's wait; reading a missing log makes nothing.
    void writeFailureIsAValue()
    {
        QTemporaryDir dir;
        QLockFile held(dir.filePath("log.jsonl.lock"));
        QVERIFY(held.lock());
        QCOMPARE(Appended(dir.filePath("file"), "x"), "x");
        for (const char* path : {"file/log.jsonl", "log.jsonl"}) {
            const LogWrite write = CommissioningLog(dir.filePath(path)).appendOutcome("id", CommandOutcome::NotSeen);
            QVERIFY2(!write.ok() && write.error.find(std::string(path) + " cannot be written: ") != std::string::npos,
                     write.error.c_str());
        }
        QCOMPARE(ReadLogFile(dir.filePath("log.jsonl")).entries.size(), 0u);
        QVERIFY(!QFile::exists(dir.filePath("log.jsonl")));
    }
};

HOPTRACE_TEST(EngineTest)
#include "EngineTest.moc"
