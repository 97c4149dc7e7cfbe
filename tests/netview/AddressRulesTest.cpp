#include "TestMain.h"

#include "netview/AddressSuggestion.h"

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
};

HOPTRACE_TEST(AddressRulesTest)
#include "AddressRulesTest.moc"
