#include "TestMain.h"

#include "platform/DottedQuad.h"

#include <QTest>

class DottedQuadTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reads_data()
    {
        Columns<QString, qint64>("text", "address"); // -1: refused
        QTest::newRow("leading zeros are decimal") << "192.168.001.020" << qint64(0xC0A80114u);
        QTest::newRow("lowest") << "0.0.0.0" << qint64(0u);
        QTest::newRow("highest") << "255.255.255.255" << qint64(0xFFFFFFFFu);
        for (const char* refused : {"", "192.168.1", "192.168.1.1.1", "192.168.1.", "192.168.1.256", "192.168.1.0001",
                                    "192.168.-1.1", " 192.168.1.1", "192.168.1.1 ", "0x7f.0.0.1", "3232235777"})
            QTest::newRow(refused) << refused << -1LL;
        QTest::newRow("embedded NUL") << QString::fromLatin1("1.2.3.4\0005", 9) << -1LL;
    }
    void reads()
    {
        QFETCH(QString, text);
        QFETCH(qint64, address);
        const auto parsed = ParseDottedQuad(text.toStdString());
        QCOMPARE(parsed ? qint64(*parsed) : -1, address);
    }
};

HOPTRACE_TEST(DottedQuadTest)
#include "DottedQuadTest.moc"
