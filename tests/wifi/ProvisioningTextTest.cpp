#include "TestMain.h"

#include "platform/NetshProvisioningCommands.h"
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
            << true << R"(C:\Users\Jan de Vries\AppData\Local\Temp\tk 1\TKProfile.txt)"
            << QByteArray(R"(netsh wlan add profile filename="C:\Users\Jan de Vries\AppData\Local\Temp\tk 1\TKProfile.txt")")
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
};

HOPTRACE_TEST(ProvisioningTextTest)
#include "ProvisioningTextTest.moc"
