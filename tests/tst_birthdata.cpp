// The rules of the birth-data window that need no window: what the name box takes, and which
// dates pass.
#include "core/BirthData.h"

#include <QTest>

using namespace woundwell;
using namespace Qt::StringLiterals;

class TestBirthData : public QObject {
    Q_OBJECT

private slots:
    void nameFilterKeepsLettersAndCapitalisesThem() {
        for (char16_t c = u'A'; c <= u'Z'; ++c)
            QCOMPARE(filterNameCharacter(c), std::optional<char16_t>(c));
        for (char16_t c = u'a'; c <= u'z'; ++c)
            QCOMPARE(filterNameCharacter(c), std::optional<char16_t>(c - 32));
        for (char16_t c : {u' ', u'\r', u'\b'})
            QCOMPARE(filterNameCharacter(c), std::optional<char16_t>(c));
    }

    void nameFilterRefusesEverythingElse() {
        int refused = 0;
        for (char32_t c = 0; c < 0x3000; ++c) {
            const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
            if (letter || c == u' ' || c == u'\r' || c == u'\b')
                continue;
            QVERIFY2(!filterNameCharacter(static_cast<char16_t>(c)),
                     qPrintable(QString::number(c)));
            ++refused;
        }
        // Between Z and a, accents and Ctrl+C are among them.
        for (char16_t c : {u'[', u'`', u'\u00e9', u'\u00c4', char16_t(3), char16_t(22), u'7', u'-',
                           u'\t', u'\n'})
            QVERIFY(!filterNameCharacter(c));
        QVERIFY(refused > 12000);
    }

    void checks_data() {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("day");
        QTest::addColumn<int>("month");
        QTest::addColumn<int>("year");
        QTest::addColumn<QString>("message");

        const QString none;
        const QString february = u"Please Enter Correct Date of Birth!"_s;
        const QString thirtyFirst = u"Please Enter Correct Date of Birth !"_s;
        const QString noName = u"Please Enter Your Name"_s;

        QTest::newRow("first list date") << u"ANN"_s << 1 << 1 << 1930 << none;
        QTest::newRow("spaces are a name") << u"   "_s << 1 << 1 << 1930 << none;
        QTest::newRow("no name") << QString() << 7 << 6 << 1933 << noName;
        QTest::newRow("no name before a wrong date") << QString() << 31 << 2 << 1933 << noName;
        QTest::newRow("no name before 31 April") << QString() << 31 << 4 << 1933 << noName;
        QTest::newRow("30 February") << u"A"_s << 30 << 2 << 1960 << february;
        QTest::newRow("31 February") << u"A"_s << 31 << 2 << 1960 << february;
        QTest::newRow("29 February 1931") << u"A"_s << 29 << 2 << 1931 << february;
        QTest::newRow("29 February 1900s no leap") << u"A"_s << 29 << 2 << 1999 << february;
        QTest::newRow("29 February 1932") << u"A"_s << 29 << 2 << 1932 << none;
        QTest::newRow("29 February 2000") << u"A"_s << 29 << 2 << 2000 << none;
        QTest::newRow("28 February 1931") << u"A"_s << 28 << 2 << 1931 << none;
        QTest::newRow("31 April") << u"A"_s << 31 << 4 << 1950 << thirtyFirst;
        QTest::newRow("31 June") << u"A"_s << 31 << 6 << 1950 << thirtyFirst;
        QTest::newRow("31 September") << u"A"_s << 31 << 9 << 1950 << thirtyFirst;
        QTest::newRow("31 November") << u"A"_s << 31 << 11 << 1950 << thirtyFirst;
        QTest::newRow("30 April") << u"A"_s << 30 << 4 << 1950 << none;
        QTest::newRow("31 May") << u"A"_s << 31 << 5 << 1950 << none;
        QTest::newRow("31 December 2010") << u"A"_s << 31 << 12 << 2010 << none;
        QTest::newRow("31 January") << u"A"_s << 31 << 1 << 1950 << none;
    }

    void checks() {
        QFETCH(QString, name);
        QFETCH(int, day);
        QFETCH(int, month);
        QFETCH(int, year);
        QFETCH(QString, message);
        const BirthDataProblem problem = checkBirthData(name, day - 1, month - 1, year - 1930);
        QCOMPARE(birthDataMessage(problem), message);
        QCOMPARE(problem == BirthDataProblem::None, message.isEmpty());
    }
};

QTEST_APPLESS_MAIN(TestBirthData)
#include "tst_birthdata.moc"
