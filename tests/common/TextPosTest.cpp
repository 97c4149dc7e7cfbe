#include "TestMain.h"

#include "common/Latin1.h"
#include "common/TextPos.h"

#include <QTest>

class TextPosTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void inStr_data()
    {
        Columns<int, QString, QString, int>("from", "text", "what", "found");
        Row("first", 1, "a.b.c", ".", 2);
        Row("from the match", 2, "a.b.c", ".", 2);
        Row("after it", 3, "a.b.c", ".", 4);
        Row("none", 5, "a.b.c", ".", 0);
        Row("past the end", 9, "a.b.c", ".", 0);
        Row("case-sensitive", 1, "Mac Address", "MAC Address", 0);
        Row("empty found at start", 3, "abc", "", 3);
    }
    void inStr()
    {
        QFETCH(int, from);
        QFETCH(QString, text);
        QFETCH(QString, what);
        QFETCH(int, found);
        QCOMPARE(InStr(from, text.toStdString(), what.toStdString()), std::size_t(found));
    }

    void mid()
    {
        QCOMPARE(Mid("abcdef", 2, 3), std::string("bcd"));
        QCOMPARE(Mid("abcdef", 5, 17), std::string("ef"));
        QCOMPARE(Mid("abc", 4, 1), std::string());
        QCOMPARE(MidToEnd("host:80", 6), std::string("80"));
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

HOPTRACE_TEST(TextPosTest)
#include "TextPosTest.moc"
