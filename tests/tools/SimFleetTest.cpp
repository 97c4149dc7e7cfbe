#include "TestMain.h"

#include "SimFleet.h"
#include "webserver/Datagrams.h"
#include "webserver/SetupDatagrams.h"

#include <QTest>

namespace {

DeviceConfig device(const std::string& name, const std::string& mac, const std::string& address, int delayMs = 0,
                    int jitterMs = 0)
{
    DeviceConfig config;
    config.hostName = name;
    config.mac = mac;
    config.address = address;
    config.replyDelayMs = delayMs;
    config.replyJitterMs = jitterMs;
    return config;
}

// Three devices: two on interface 3, one that hears every interface and answers slowly.
SimFleet threeDevices(SimFleet::ReplyMode mode)
{
    std::vector<SimDevice> devices{
        SimDevice(device("A", "00:08:DC:00:00:01", "10.77.1.20"), 3, 4.0),
        SimDevice(device("B", "00:08:DC:00:00:02", "10.77.1.21"), 3, 4.0),
        SimDevice(device("C", "00:0A:00:00:00:03", "10.77.2.30", 1500, 200), -1, 4.0),
    };
    return SimFleet(std::move(devices), mode, [](int jitterMs) { return jitterMs / 2; });
}

Arrival listRequest(int interfaceIndex)
{
    return Arrival{TavikDatagram::ListRequest(), "10.77.1.1", 8080, "255.255.255.255", interfaceIndex};
}

} // namespace

class SimFleetTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void everyDeviceRepliesOnceFromItsOwnAddress()
    {
        SimFleet fleet = threeDevices(SimFleet::ReplyMode::Unicast);
        const FleetResponse response = fleet.onDatagram(listRequest(3), 10.0);
        QCOMPARE(response.replies.size(), std::size_t(3));
        const std::vector<std::string> sources{"10.77.1.20", "10.77.1.21", "10.77.2.30"};
        for (std::size_t i = 0; i < 3; ++i) {
            const OutgoingReply& reply = response.replies[i];
            QCOMPARE(reply.sourceAddress, sources[i]);
            QCOMPARE(reply.destinationAddress, std::string("10.77.1.1"));
            QCOMPARE(reply.destinationPort, std::uint16_t(8080));
            QCOMPARE(reply.interfaceIndex, 3);
            QCOMPARE(reply.bytes, fleet.devices()[i].replyBlock());
        }
        QCOMPARE(response.replies[0].delayMs, 0);
        QCOMPARE(response.replies[2].delayMs, 1500 + 100);
    }

    void broadcastRepliesLeaveOnTheRequestsInterface()
    {
        SimFleet fleet = threeDevices(SimFleet::ReplyMode::Broadcast);
        const FleetResponse response = fleet.onDatagram(listRequest(5), 10.0);
        // Only the device that hears every interface is on interface 5.
        QCOMPARE(response.replies.size(), std::size_t(1));
        QCOMPARE(response.replies[0].destinationAddress, std::string("255.255.255.255"));
        QCOMPARE(response.replies[0].destinationPort, std::uint16_t(8080));
        QCOMPARE(response.replies[0].interfaceIndex, 5);
    }

    void hearingItsOwnRepliesStaysQuiet()
    {
        // Broadcast replies come back to the simulator; answering them would flood the LAN.
        SimFleet fleet = threeDevices(SimFleet::ReplyMode::Broadcast);
        const FleetResponse first = fleet.onDatagram(listRequest(3), 10.0);
        for (const OutgoingReply& reply : first.replies) {
            const Arrival echo{reply.bytes, reply.sourceAddress, 8080, "255.255.255.255", 3};
            const FleetResponse response = fleet.onDatagram(echo, 10.1);
            QVERIFY(response.replies.empty());
            QVERIFY(response.log.empty());
        }
    }

    void setIPActsOnTheAddressedDeviceOnly()
    {
        SimFleet fleet = threeDevices(SimFleet::ReplyMode::Unicast);
        TavikSetup::OctetBoxTexts boxes{"10", "77", "1", "99", "255", "255", "255", "0",
                                        "10", "77", "1", "254", "10", "77", "1", "254"};
        const Arrival setIP{TavikSetup::SetIPRequest(boxes, "81", "00:08:DC:00:00:02"), "10.77.1.1", 8080,
                            "255.255.255.255", 3};
        const FleetResponse response = fleet.onDatagram(setIP, 10.0);
        QVERIFY(response.replies.empty());
        QCOMPARE(response.moves.size(), std::size_t(1));
        QCOMPARE(response.moves[0].device, std::size_t(1));
        QCOMPARE(response.moves[0].from, std::string("10.77.1.21"));
        QCOMPARE(response.moves[0].to, std::string("10.77.1.99"));
        QCOMPARE(response.rebooting, std::vector<std::size_t>{1});
        QVERIFY(fleet.isDeviceAddress("10.77.1.99"));
        QVERIFY(!fleet.isDeviceAddress("10.77.1.21"));

        // While B reboots, a search finds the other two.
        QCOMPARE(fleet.onDatagram(listRequest(3), 11.0).replies.size(), std::size_t(2));
        QCOMPARE(fleet.onDatagram(listRequest(3), 14.0).replies.size(), std::size_t(3));
    }
};

HOPTRACE_TEST(SimFleetTest)
#include "SimFleetTest.moc"
