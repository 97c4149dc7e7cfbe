#include "TestMain.h"

#include "netview/AddressSuggestion.h"
#include "netview/DottedAddress.h"

#include <QTest>

class AddressRulesTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void suggestion_data()
    {
        QTest::addColumn<QString>("adapterAddress");
        QTest::addColumn<QString>("suggested");
        QTest::newRow("ordinary") << "192.168.1.34" << "192.168.1.125";
        QTest::newRow("short octets") << "10.0.0.5" << "10.0.0.125";
        QTest::newRow("empty") << "" << "125";
        QTest::newRow("one dot: third search finds the first again") << "10.1" << "10.125";
        QTest::newRow("two dots: third search finds nothing") << "10.0.1" << "125";
        QTest::newRow("more than three dots") << "1.2.3.4.5" << "1.2.3.125";
        QTest::newRow("trailing dot") << "192.168.1." << "192.168.1.125";
    }
    void suggestion()
    {
        QFETCH(QString, adapterAddress);
        QFETCH(QString, suggested);
        QCOMPARE(QString::fromStdString(SuggestedDeviceAddress(adapterAddress.toStdString())), suggested);
    }

    void dottedAddress_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("normalized"); // empty: not an address
        QTest::newRow("ordinary") << "192.168.1.125" << "192.168.1.125";
        QTest::newRow("lowest") << "0.0.0.0" << "0.0.0.0";
        QTest::newRow("highest") << "255.255.255.255" << "255.255.255.255";
        QTest::newRow("leading zeros are decimal") << "010.001.000.009" << "10.1.0.9";
        QTest::newRow("empty") << "" << "";
        QTest::newRow("empty last part") << "192.168.1." << "";
        QTest::newRow("letter after last part") << "192.168.1.1a" << "";
        QTest::newRow("three parts") << "192.168.1" << "";
        QTest::newRow("five parts") << "192.168.1.1.1" << "";
        QTest::newRow("256") << "192.168.1.256" << "";
        QTest::newRow("negative") << "192.168.-1.1" << "";
        QTest::newRow("empty middle part") << "192..1.1" << "";
        QTest::newRow("leading blank") << " 192.168.1.1" << "";
        QTest::newRow("four digits") << "0192.168.1.1" << "";
        QTest::newRow("hexadecimal") << "0x7f.0.0.1" << "";
        QTest::newRow("non-ASCII digit") << QString::fromUtf8("192.168.1.\xd9\xa1") << "";
    }
    void dottedAddress()
    {
        QFETCH(QString, text);
        QFETCH(QString, normalized);
        const auto result = NormalizedDottedIPv4(text.toStdString());
        QCOMPARE(result.has_value(), !normalized.isEmpty());
        if (result)
            QCOMPARE(QString::fromStdString(*result), normalized);
    }
};

HOPTRACE_TEST(AddressRulesTest)
#include "AddressRulesTest.moc"
