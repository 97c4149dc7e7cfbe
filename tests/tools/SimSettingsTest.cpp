#include "TestMain.h"

#include "SimSettings.h"

#include <QTest>

namespace {

SimCommandLine parse(const QStringList& arguments, const std::string& configText = {})
{
    return ParseSimCommandLine(QStringList{"tavik-sim"} + arguments,
                               [&](const std::string& path) -> std::optional<std::string> {
                                   if (path == "lan.conf")
                                       return configText;
                                   return std::nullopt;
                               });
}

} // namespace

class SimSettingsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void generatesAPattern()
    {
        const SimCommandLine line = parse({"-n", "3", "--mac-prefix", "00:08:dc:aa", "--first-address", "10.0.0.254",
                                           "--ports", "80,8080", "--dhcp-every", "2", "--delay", "300"});
        QVERIFY2(line.settings.has_value(), line.error.c_str());
        const auto& devices = line.settings->devices;
        QCOMPARE(devices.size(), std::size_t(3));
        QCOMPARE(devices[0].mac, std::string("00:08:DC:AA:00:01"));
        QCOMPARE(devices[2].mac, std::string("00:08:DC:AA:00:03"));
        QCOMPARE(devices[0].hostName, std::string("TAVIK-AA0001"));
        QCOMPARE(devices[0].address, std::string("10.0.0.254"));
        QCOMPARE(devices[2].address, std::string("10.0.1.0"));
        QCOMPARE(devices[1].gateway, std::string("10.0.0.1"));
        QCOMPARE(devices[2].gateway, std::string("10.0.1.1"));
        QCOMPARE(devices[1].port, std::uint16_t(8080));
        QCOMPARE(devices[2].port, std::uint16_t(80));
        QCOMPARE(devices[0].dhcp, false);
        QCOMPARE(devices[1].dhcp, true);
        QCOMPARE(devices[2].replyDelayMs, 300);
    }

    void devicesFromOptionsAndFile()
    {
        const SimCommandLine line =
            parse({"--config", "lan.conf", "--device", "name=slow,ip=10.77.2.30,delay=1500,mac=00:0a:11:22:33:44"},
                  "# the first segment\n"
                  "name=ws1, ip=10.77.1.20 ,iface=lan0\r\n"
                  "\n"
                  "name=ws2,mode=dhcp,gw=10.77.1.254 # own gateway\n");
        QVERIFY2(line.settings.has_value(), line.error.c_str());
        const auto& devices = line.settings->devices;
        QCOMPARE(devices.size(), std::size_t(3));
        QCOMPARE(devices[0].hostName, std::string("ws1"));
        QCOMPARE(devices[0].interfaceName, std::string("lan0"));
        QCOMPARE(devices[0].gateway, std::string("10.77.1.1")); // follows the new address
        QCOMPARE(devices[0].dns, std::string("10.77.1.1"));
        QCOMPARE(devices[1].address, std::string("192.168.1.21")); // the pattern's second address
        QCOMPARE(devices[1].gateway, std::string("10.77.1.254"));
        QCOMPARE(devices[1].dhcp, true);
        QCOMPARE(devices[2].mac, std::string("00:0A:11:22:33:44"));
        QCOMPARE(devices[2].replyDelayMs, 1500);
        QVERIFY(devices[0].mac != devices[1].mac);
    }

    void refuses_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("unknown option") << QStringList{"--bogus"};
        QTest::newRow("unknown device key") << QStringList{"--device", "colour=red"};
        QTest::newRow("key without value") << QStringList{"--device", "name"};
        QTest::newRow("MAC with five groups") << QStringList{"--device", "mac=00:08:DC:12:34"};
        QTest::newRow("MAC with a non-hex digit") << QStringList{"--device", "mac=00:08:DC:12:34:5G"};
        QTest::newRow("address out of range") << QStringList{"--device", "ip=10.0.0.256"};
        QTest::newRow("port out of range") << QStringList{"--device", "port=65536"};
        QTest::newRow("mode") << QStringList{"--device", "mode=auto"};
        QTest::newRow("negative delay") << QStringList{"--delay", "-1"};
        QTest::newRow("MAC prefix of six groups") << QStringList{"--mac-prefix", "00:08:DC:00:00:01"};
        QTest::newRow("addresses run out") << QStringList{"-n", "2", "--first-address", "255.255.255.255"};
        QTest::newRow("no devices") << QStringList{"-n", "0"};
        QTest::newRow("unreadable config") << QStringList{"--config", "missing.conf"};
        QTest::newRow("bind address") << QStringList{"--bind", "any"};
        QTest::newRow("stray argument") << QStringList{"devices"};
    }
    void refuses()
    {
        QFETCH(QStringList, arguments);
        const SimCommandLine line = parse(arguments);
        QVERIFY(!line.settings.has_value());
        QVERIFY(!line.error.empty());
    }

    void helpIsNotAnError()
    {
        const SimCommandLine line = parse({"--help"});
        QVERIFY(!line.settings.has_value());
        QVERIFY(line.error.empty());
        QVERIFY(line.helpText.find("--device") != std::string::npos);
    }
};

HOPTRACE_TEST(SimSettingsTest)
#include "SimSettingsTest.moc"
