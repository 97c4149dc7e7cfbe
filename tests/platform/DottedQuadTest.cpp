#include "TestMain.h"

#include "platform/DottedQuad.h"

#include <QTest>

class DottedQuadTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reads_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<uint>("address");
        QTest::newRow("leading zeros are decimal") << "192.168.001.020" << true << 0xC0A80114u;
        QTest::newRow("lowest") << "0.0.0.0" << true << 0u;
        QTest::newRow("highest") << "255.255.255.255" << true << 0xFFFFFFFFu;
        QTest::newRow("empty") << "" << false << 0u;
        QTest::newRow("three parts") << "192.168.1" << false << 0u;
        QTest::newRow("five parts") << "192.168.1.1.1" << false << 0u;
        QTest::newRow("trailing dot") << "192.168.1." << false << 0u;
        QTest::newRow("above 255") << "192.168.1.256" << false << 0u;
        QTest::newRow("four digits") << "192.168.1.0001" << false << 0u;
        QTest::newRow("sign") << "192.168.-1.1" << false << 0u;
        QTest::newRow("leading blank") << " 192.168.1.1" << false << 0u;
        QTest::newRow("trailing blank") << "192.168.1.1 " << false << 0u;
        QTest::newRow("hex part") << "0x7f.0.0.1" << false << 0u;
        QTest::newRow("single number") << "3232235777" << false << 0u;
        QTest::newRow("embedded NUL") << QString::fromLatin1("1.2.3.4\0" "5", 9) << false << 0u;
    }
    void reads()
    {
        QFETCH(QString, text);
        QFETCH(bool, valid);
        QFETCH(uint, address);
        const auto parsed = ParseDottedQuad(text.toStdString());
        QCOMPARE(parsed.has_value(), valid);
        if (valid)
            QCOMPARE(*parsed, address);
    }
};

HOPTRACE_TEST(DottedQuadTest)
#include "DottedQuadTest.moc"
