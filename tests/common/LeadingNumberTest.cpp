#include "TestMain.h"

#include "common/LeadingNumber.h"

#include <QTest>

class LeadingNumberTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void reads_data()
    {
        Columns<QString, double>("text", "value");
        QTest::newRow("empty") << "" << 0.0;
        QTest::newRow("no number") << "abc" << 0.0;
        QTest::newRow("plain") << "192" << 192.0;
        QTest::newRow("tail ignored") << "80\r\nSubNet" << 80.0;
        QTest::newRow("blanks anywhere") << " 1 2\t3\n4" << 1234.0;
        QTest::newRow("carriage return stops") << "1\r2" << 1.0;
        QTest::newRow("negative") << "-5" << -5.0;
        QTest::newRow("sign then blank") << "- 5" << -5.0;
        QTest::newRow("plus") << "+7" << 7.0;
        QTest::newRow("sign alone") << "-" << 0.0;
        QTest::newRow("fraction") << "2.5" << 2.5;
        QTest::newRow("leading point") << ".5" << 0.5;
        QTest::newRow("second point stops") << "1.2.3" << 1.2;
        QTest::newRow("E exponent") << "1E3" << 1000.0;
        QTest::newRow("D exponent") << "1.5D2" << 150.0;
        QTest::newRow("negative exponent") << "25e-1" << 2.5;
        QTest::newRow("exponent without digits") << "7E" << 7.0;
        QTest::newRow("hex is not read") << "&H10" << 0.0;
        QTest::newRow("dotted address") << "192.168.1.20" << 192.168;
    }
    void reads()
    {
        QFETCH(QString, text);
        QFETCH(double, value);
        QCOMPARE(LeadingNumber(text.toStdString()), value);
    }
};

HOPTRACE_TEST(LeadingNumberTest)
#include "LeadingNumberTest.moc"
