#include "TestMain.h"
#include "fakes/FakeServices.h"
#include "fakes/WindowRig.h"

#include "common/AdapterTable.h"
#include "devices/AddressSpec.h"
#include "devices/DeviceSearch.h"
#include "platform/DottedQuad.h"

#include <QSignalSpy>
#include <QTest>

#include <cmath>
#include <map>

// The search engine on its own, as each front end runs it: virtual time, a recording socket,
// no window.
class DeviceSearchTest : public QObject {
    Q_OBJECT

    struct Rig {
        Rig()
        {
            nics.store(1, {"Ethernet adapter", "192.168.1.2", "255.255.255.0", "192.168.1.1", 2});
            nics.setCount(1);
            socket.bind(8080);
        }
        // The broadcasts' moments; the search sends nothing but list requests.
        std::vector<double> requestTimes() const
        {
            std::vector<double> times;
            for (const FakeUdpSocket::Sent& s : socket.sent)
                if (s.host == "255.255.255.255")
                    times.push_back(s.at);
            return times;
        }
        VirtualTime time;
        FakeUdpSocket socket{time};
        AdapterTable nics;
        std::unique_ptr<Timer> tick = time.makeTimer();
        DeviceSearch search{time, *tick, time, socket, nics};
    };

private Q_SLOTS:
    void eachFrontEndsCadence_data()
    {
        QTest::addColumn<bool>("commandLine");
        QTest::addColumn<double>("seconds");
        QTest::addColumn<std::vector<double>>("requests");
        QTest::addColumn<double>("endsAt");
        // The window: a request at each tick within the three seconds, the end at the next.
        QTest::newRow("window") << false << 3.0 << std::vector<double>{1, 2, 3} << 4.0;
        // The command line: a request at once and every second, the end at the deadline itself.
        QTest::newRow("command line, 3 s") << true << 3.0 << std::vector<double>{0, 1, 2} << 3.0;
        QTest::newRow("command line, 2.5 s") << true << 2.5 << std::vector<double>{0, 1, 2} << 2.5;
        QTest::newRow("command line, 0.5 s") << true << 0.5 << std::vector<double>{0} << 0.5;
    }
    void eachFrontEndsCadence()
    {
        QFETCH(bool, commandLine);
        QFETCH(double, seconds);
        QFETCH(std::vector<double>, requests);
        QFETCH(double, endsAt);
        Rig rig;
        QSignalSpy finished(&rig.search, &DeviceSearch::finished);
        rig.search.clear();
        rig.search.start({.seconds = seconds, .requestAtStart = commandLine, .endAtDeadline = commandLine});
        rig.time.advance(endsAt - 0.05);
        QCOMPARE(finished.count(), 0);
        rig.time.advance(0.1);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(rig.requestTimes(), requests);
        QCOMPARE(rig.search.listing().text(), "No find");
    }

    // One device per MAC, under numbered headings, with the devices kept as values where the
    // front end asks for them: the latest reply and the adapter that first heard each.
    void listsEachMacOnce()
    {
        Rig rig;
        QSignalSpy listedCounts(&rig.search, &DeviceSearch::serversListed);
        rig.search.clear();
        rig.search.start({.seconds = 3, .requestAtStart = true, .endAtDeadline = true, .keepDevices = true});
        rig.socket.deliver(TavikReply({.mac = "00:08:DC:00:00:01"}), 0.2, "192.168.1.20", 2);
        rig.socket.deliver(TavikReply({.mac = "00:08:DC:00:00:02"}), 0.3, "192.168.1.21", 2);
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
        QCOMPARE(devices[1].senderAddress, "192.168.1.21");
    }

    // Beside each broadcast, every searched address off the adapters' networks gets one list
    // request by unicast, in small batches over the first half of the tick; the search still
    // ends on time. (The window's ticks last a second; the command line's last one here half.)
    void unicastsSpreadOverHalfATick_data()
    {
        Columns<bool, double, double>("commandLine", "seconds", "endsAt");
        Row("window", false, 3.0, 4.0);
        Row("command line, 2.5 s", true, 2.5, 2.5);
    }
    void unicastsSpreadOverHalfATick()
    {
        const auto [commandLine, seconds, endsAt] = Fetch<bool, double, double>("commandLine", "seconds", "endsAt");
        Rig rig;
        QSignalSpy finished(&rig.search, &DeviceSearch::finished);
        // 64 routed addresses; two on lan1's network, which the broadcast covers.
        const auto targets = AddressSpec::Parse("10.77.0.0/26 192.168.1.100-101").addresses;
        rig.search.start({.seconds = seconds,
                          .requestAtStart = commandLine,
                          .endAtDeadline = commandLine,
                          .unicastTargets = targets});
        rig.time.advance(endsAt - 0.01);
        QCOMPARE(finished.count(), 0);
        rig.time.advance(0.02);
        QCOMPARE(finished.count(), 1);
        const std::vector<double> rounds = rig.requestTimes();
        QCOMPARE(rounds.size(), 3u);
        std::map<std::pair<std::size_t, std::string>, int> sentPerRoundAndHost;
        std::map<double, int> sentPerMoment;
        for (const FakeUdpSocket::Sent& s : rig.socket.sent) {
            if (s.host == "255.255.255.255")
                continue;
            QVERIFY2(s.host.starts_with("10.77.0.") && s.port == 8080, s.host.c_str());
            const std::size_t round = std::upper_bound(rounds.begin(), rounds.end(), s.at) - rounds.begin() - 1;
            const double tickLength = commandLine ? std::min(1.0, seconds - rounds[round]) : 1.0;
            QVERIFY2(s.at - rounds[round] < tickLength / 2, qPrintable(QString::number(s.at)));
            ++sentPerRoundAndHost[{round, s.host}];
            ++sentPerMoment[s.at];
        }
        QCOMPARE(sentPerRoundAndHost.size(), 3u * 64u);
        QVERIFY(std::ranges::all_of(sentPerRoundAndHost, [](const auto& entry) { return entry.second == 1; }));
        // No burst: 64 addresses leave three at a time at most.
        QVERIFY(std::ranges::all_of(sentPerMoment, [](const auto& entry) { return entry.second <= 3; }));
    }

    // A device heard by broadcast and by unicast is one device, and its reply's sender is kept.
    void aDeviceHeardBothWaysIsListedOnce()
    {
        Rig rig;
        rig.search.start({.seconds = 3,
                          .requestAtStart = true,
                          .endAtDeadline = true,
                          .keepDevices = true,
                          .unicastTargets = {*ParseDottedQuad("10.77.0.20")}});
        const std::string reply = TavikReply({.mac = "00:08:DC:00:00:07", .address = "10.77.0.20:80"});
        rig.socket.deliver(reply, 0.1, "10.77.0.20", 2);
        rig.socket.deliver(reply, 0.2, "10.77.0.20", 2);
        rig.time.advance(3.1);
        QCOMPARE(rig.search.count(), 1);
        QCOMPARE(rig.search.devices().size(), 1u);
        QCOMPARE(rig.search.devices()[0].senderAddress, "10.77.0.20");
    }
};

HOPTRACE_TEST(DeviceSearchTest)
#include "DeviceSearchTest.moc"
