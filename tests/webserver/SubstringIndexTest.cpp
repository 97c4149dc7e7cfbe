#include "TestMain.h"

#include "webserver/SubstringIndex.h"

#include <QTest>

#include <random>

// The index must give the plain substring search's answers: lists grown by appends and
// replaced now and then, asked for pieces of the list, near misses and the empty text.
class SubstringIndexTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    void answersAsThePlainSearch()
    {
        std::mt19937 random(11);
        auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
        // A small alphabet, so that near misses and repeats are common.
        auto randomText = [&](int length) {
            std::string s;
            for (int i = 0; i < length; ++i)
                s += "0A8:\r\n"[pick(6)];
            return s;
        };
        SubstringIndex index;
        std::string text;
        for (int round = 0; round < 4000; ++round) {
            if (pick(200) == 0) {
                text = randomText(pick(30));
                index.reset();
            } else {
                text += randomText(pick(40));
                index.extend(text);
            }
            std::string what = randomText(pick(20));
            if (pick(2) == 0 && !text.empty()) {
                const int at = pick(static_cast<int>(text.size()));
                what = text.substr(static_cast<std::size_t>(at), static_cast<std::size_t>(pick(19)));
            }
            QCOMPARE(index.contains(text, what), text.find(what) != std::string::npos);
        }
    }
};

HOPTRACE_TEST(SubstringIndexTest)
#include "SubstringIndexTest.moc"
