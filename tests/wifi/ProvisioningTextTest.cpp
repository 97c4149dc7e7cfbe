#include "TestMain.h"

#include "platform/NetshProvisioningCommands.h"
#include "platform/NmcliProvisioningCommands.h"
#include "wifi/SetupApVariant.h"
#include "wifi/WlanProfileDocument.h"

#include <QTest>

namespace {

// The document as the platform's WLAN service expects it, written out by hand.
std::string ExpectedDocument(const std::string& ssid, const std::string& hex)
{
    const std::string lines[] = {
        R"(<?xml version="1.0"?>)",
        R"(<WLANProfile xmlns="http://www.microsoft.com/networking/WLAN/profile/v1">)",
        "<name>" + ssid + "</name>", "<SSIDConfig>", "<SSID>", "<hex>" + hex + "</hex>",
        "<name>" + ssid + "</name>", "</SSID>", "<nonBroadcast>true</nonBroadcast>", "</SSIDConfig>",
        "<connectionType>ESS</connectionType>", "<connectionMode>manual</connectionMode>", "<MSM>",
        "<security>", "<authEncryption>", "<authentication>WPA2PSK</authentication>",
        "<encryption>AES</encryption>", "<useOneX>false</useOneX>", "</authEncryption>", "<sharedKey>",
        "<keyType>passPhrase</keyType>", "<protected>false</protected>",
        "<keyMaterial>guestPYLO</keyMaterial>", "</sharedKey>", "</security>", "</MSM>",
        R"(<MacRandomization xmlns="http://www.microsoft.com/networking/WLAN/profile/v3">)",
        "<enableRandomization>false</enableRandomization>", "</MacRandomization>", "</WLANProfile>"};
    std::string document;
    for (const std::string& line : lines)
        document += line + "\r\n";
    return document;
}

const QByteArray kNmcliTail = " </dev/null 2>&1); code=$?; [ -z \"$out\" ] || printf '%s\\n' \"$out\" >&2; "
                              "[ $code -eq 0 ] || case $out in *[Nn]'ot authorized'*|*[Ii]'nsufficient "
                              "privileges'*|*PermissionDenied*) exit 5;; esac; exit $code";

QByteArray Nmcli(const QByteArray& arguments) { return "out=$(LC_ALL=C nmcli " + arguments + kNmcliTail; }

QByteArray Bytes(const std::string& text) { return QByteArray::fromStdString(text); }

} // namespace

class ProvisioningTextTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void document_data()
    {
        QTest::addColumn<bool>("useCurrentSetupAp");
        QTest::addColumn<QString>("ssid");
        QTest::addColumn<QString>("hex");
        QTest::newRow("current firmware") << true << "TAVIK-MUREL" << "544156494B2D4D5552454C";
        QTest::newRow("old firmware, space as 20") << false << "TAVIK MUREL" << "544156494B204D5552454C";
    }
    void document()
    {
        QFETCH(bool, useCurrentSetupAp);
        QFETCH(QString, ssid);
        QFETCH(QString, hex);
        const SetupApVariant& variant = SetupApVariantFor(useCurrentSetupAp);
        QCOMPARE(QString::fromStdString(variant.ssid), ssid);
        const std::string document = WlanProfileDocument(variant.ssid, kSetupApPassphrase);
        QCOMPARE(Bytes(document), Bytes(ExpectedDocument(ssid.toStdString(), hex.toStdString())));
        QCOMPARE(Bytes(document).count("\r\n"), 30);
        QVERIFY(!Bytes(document).contains("\n "));
    }

    void windowsLines_data()
    {
        QTest::addColumn<bool>("useCurrentSetupAp");
        QTest::addColumn<QString>("profilePath");
        QTest::addColumn<QByteArray>("addLine");
        QTest::addColumn<QByteArray>("connectLine");
        QTest::newRow("current, blanks in path")
            << true << R"(C:\Users\Jan de Vries\AppData\Local\Temp\hoptrace 1\TKProfile.txt)"
            << QByteArray(R"(netsh wlan add profile filename="C:\Users\Jan de Vries\AppData\Local\Temp\hoptrace 1\TKProfile.txt")")
            << QByteArray(R"(netsh wlan connect name="TAVIK-MUREL")");
        QTest::newRow("old, percent kept literal")
            << false << R"(C:\Temp\50%\TKProfile.txt)"
            << QByteArray(R"(netsh wlan add profile filename="C:\Temp\50%%\TKProfile.txt")")
            << QByteArray(R"(netsh wlan connect name="TAVIK MUREL")");
    }
    void windowsLines()
    {
        QFETCH(bool, useCurrentSetupAp);
        QFETCH(QString, profilePath);
        QFETCH(QByteArray, addLine);
        QFETCH(QByteArray, connectLine);
        const NetshProvisioningCommands commands;
        const std::string ssid = SetupApVariantFor(useCurrentSetupAp).ssid;
        QCOMPARE(Bytes(commands.stopWlan()), QByteArray("sc stop wlansvc"));
        QCOMPARE(Bytes(commands.startWlan()), QByteArray("sc start wlansvc"));
        QCOMPARE(Bytes(commands.addProfile(profilePath.toStdString(), ssid, kSetupApPassphrase)), addLine);
        QCOMPARE(Bytes(commands.connect(ssid)), connectLine);
        QCOMPARE(Bytes(commands.lineEnd()), QByteArray("\r\n"));
    }

    void linuxLines_data()
    {
        QTest::addColumn<bool>("useCurrentSetupAp");
        QTest::addColumn<QByteArray>("addLine");
        QTest::addColumn<QByteArray>("connectLine");
        for (const bool current : {true, false}) {
            const QByteArray name = current ? "'TAVIK-MUREL'" : "'TAVIK MUREL'";
            QTest::newRow(current ? "current firmware" : "old firmware")
                << current
                << "LC_ALL=C nmcli connection delete id " + name + " </dev/null >/dev/null 2>&1; "
                       + Nmcli("connection add type wifi con-name " + name + " ssid " + name
                               + " connection.autoconnect no wifi.mode infrastructure wifi.hidden yes"
                                 " wifi.cloned-mac-address permanent wifi-sec.key-mgmt wpa-psk wifi-sec.proto rsn"
                                 " wifi-sec.pairwise ccmp wifi-sec.group ccmp wifi-sec.psk-flags 0"
                                 " wifi-sec.psk 'guestPYLO'")
                << Nmcli("connection up id " + name);
        }
    }
    void linuxLines()
    {
        QFETCH(bool, useCurrentSetupAp);
        QFETCH(QByteArray, addLine);
        QFETCH(QByteArray, connectLine);
        const NmcliProvisioningCommands commands;
        const std::string ssid = SetupApVariantFor(useCurrentSetupAp).ssid;
        QCOMPARE(Bytes(commands.stopWlan()), Nmcli("radio wifi off"));
        QCOMPARE(Bytes(commands.startWlan()), Nmcli("radio wifi on"));
        QCOMPARE(Bytes(commands.addProfile("/tmp/x y/TKProfile.txt", ssid, kSetupApPassphrase)), addLine);
        QCOMPARE(Bytes(commands.connect(ssid)), connectLine);
        QCOMPARE(Bytes(commands.lineEnd()), QByteArray("\n"));
    }
};

HOPTRACE_TEST(ProvisioningTextTest)
#include "ProvisioningTextTest.moc"
