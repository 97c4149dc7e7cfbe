#include "TestMain.h"

#include "common/Latin1.h"
#include "common/LeadingNumber.h"

// The text functions that reply parsing and the entry boxes are built on.
class TextFunctionsTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void leadingNumber_data()
    {
        const auto row = Columns<QString, double>("text", "value");
        row("no number", "abc", 0.0);
        row("blanks anywhere", " 1 2\t3\n4", 1234.0);
        row("carriage return stops", "1\r2", 1.0);
        row("sign then blank", "- 5", -5.0);
        row("sign alone", "-", 0.0);
        row("plus", "+7", 7.0);
        row("leading point", ".5", 0.5);
        row("second point stops", "1.2.3", 1.2);
        row("E exponent", "1E3", 1000.0);
        row("D exponent", "1.5D2", 150.0);
        row("negative exponent", "25e-1", 2.5);
        row("exponent without digits", "7E", 7.0);
        row("hex is not read", "&H10", 0.0);
    }
    void leadingNumber()
    {
        QFETCH(QString, text);
        QTEST(LeadingNumber(text.toStdString()), "value");
    }

    void bytesSurviveText()
    {
        std::string all;
        for (int b = 0; b < 256; ++b)
            all += static_cast<char>(b);
        QCOMPARE(TextToBytes(BytesToText(all)), all);
        QCOMPARE(AnsiBytesToText("\x80\xe9"), QString::fromUtf8("\u20ac\u00e9"));
    }
};

HOPTRACE_TEST(TextFunctionsTest)
#include "TextFunctionsTest.moc"
