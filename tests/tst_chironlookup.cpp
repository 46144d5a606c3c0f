// The Chiron lookup: every date the lists offer, the days around each change of sign, and the
// texts the lookup does not accept.
#include "core/ChironPlacement.h"
#include "core/modPlanetSign.h"

#include <QTest>

using namespace woundwell;
using namespace Qt::StringLiterals;

namespace {

// The lookup's meaning stated plainly: the last row whose start is not later than the date,
// comparing year, then month, then day.
Sign signByRowOrder(int year, int month, int day) {
    Sign sign = ChironPlacementTable.front().sign;
    for (const ChironPeriod &row : ChironPlacementTable) {
        if (std::tie(row.year, row.month, row.day) <= std::tie(year, month, day))
            sign = row.sign;
    }
    return sign;
}

QString lookedUp(const QString &year, const QString &month, const QString &day) {
    const std::optional<Sign> sign = lookupChironSign(year, month, day);
    return sign ? signName(*sign) : QStringLiteral("<no match>");
}

bool isChangeYear(int year) {
    return std::any_of(ChironPlacementTable.begin() + 1, ChironPlacementTable.end(),
                       [year](const ChironPeriod &row) { return row.year == year; });
}

} // namespace

class TestChironLookup : public QObject {
    Q_OBJECT

private slots:
    void tableIsOrderedWithoutRepeats() {
        QCOMPARE(ChironPlacementTable.front().year, 1930);
        QCOMPARE(ChironPlacementTable.front().month, 1);
        QCOMPARE(ChironPlacementTable.front().day, 1);
        for (std::size_t i = 1; i < ChironPlacementTable.size(); ++i) {
            const ChironPeriod &before = ChironPlacementTable[i - 1];
            const ChironPeriod &row = ChironPlacementTable[i];
            QVERIFY2(std::tie(before.year, before.month) < std::tie(row.year, row.month),
                     qPrintable(QStringLiteral("row %1 is not in a later month").arg(i + 1)));
            QVERIFY(before.sign != row.sign);
        }
    }

    void everyListDateGivesTheSignInForce() {
        int dates = 0;
        for (int year = 1930; year <= 2010; ++year) {
            for (int month = 1; month <= 12; ++month) {
                for (int day = 1; day <= 31; ++day) {
                    const std::optional<Sign> sign = lookupChironSign(
                        QString::number(year), monthName(month), QString::number(day));
                    QVERIFY2(
                        sign,
                        qPrintable(
                            QStringLiteral("no sign for %1-%2-%3").arg(year).arg(month).arg(day)));
                    if (*sign != signByRowOrder(year, month, day))
                        QFAIL(qPrintable(QStringLiteral("%1-%2-%3 gives %4")
                                             .arg(year)
                                             .arg(month)
                                             .arg(day)
                                             .arg(signName(*sign))));
                    ++dates;
                }
            }
        }
        QCOMPARE(dates, 30132);
    }

    void boundaryDays_data() {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("sign");

        const auto row = [](const char *name, const char *y, const char *m, const char *d,
                            const char *s) {
            QTest::newRow(name) << QString::fromLatin1(y) << QString::fromLatin1(m)
                                << QString::fromLatin1(d) << QString::fromLatin1(s);
        };
        row("first list date", "1930", "January", "1", "Taurus");
        row("last list date", "2010", "December", "31", "Aquarius");
        row("eve of the first change", "1933", "June", "6", "Taurus");
        row("first change", "1933", "June", "7", "Gemini");
        row("before the change back", "1933", "December", "22", "Gemini");
        row("change back", "1933", "December", "23", "Taurus");
        row("eve of the second change", "1934", "March", "23", "Taurus");
        row("second change", "1934", "March", "24", "Gemini");
        row("threshold of one", "1968", "April", "1", "Pisces");
        row("start on the 2nd", "1968", "April", "2", "Aries");
        row("threshold of thirty", "1969", "January", "30", "Pisces");
        row("start on the 31st", "1969", "January", "31", "Aries");
        row("across the new year", "1999", "January", "7", "Scorpio");
        row("in the new year", "1999", "January", "8", "Sagittarius");
        row("July before a change on the 1st", "2005", "July", "31", "Aquarius");
        row("change on the 1st", "2005", "August", "1", "Capricorn");
        row("eve of December 2005", "2005", "December", "5", "Capricorn");
        row("December 2005", "2005", "December", "6", "Aquarius");
        row("29 February in a year without it", "1951", "February", "29", "Capricorn");
        row("31 June is after the change", "1999", "June", "31", "Scorpio");
        row("mid-April 2010 still Aquarius", "2010", "April", "11", "Aquarius");
        row("eve of Pisces 2010", "2010", "April", "20", "Aquarius");
        row("Pisces 2010", "2010", "April", "21", "Pisces");

        // And both sides of every change in the table.
        for (std::size_t i = 1; i < ChironPlacementTable.size(); ++i) {
            const ChironPeriod &change = ChironPlacementTable[i];
            const QString y = QString::number(change.year);
            const QString m = monthName(change.month).toString();
            if (change.day > 1) {
                QTest::addRow("row %d eve", int(i + 1))
                    << y << m << QString::number(change.day - 1)
                    << signName(ChironPlacementTable[i - 1].sign);
            }
            QTest::addRow("row %d start", int(i + 1))
                << y << m << QString::number(change.day) << signName(change.sign);
        }
    }

    void boundaryDays() {
        QFETCH(QString, year);
        QFETCH(QString, month);
        QFETCH(QString, day);
        QFETCH(QString, sign);
        QCOMPARE(lookedUp(year, month, day), sign);
    }

    void textsOutsideTheLists_data() {
        QTest::addColumn<QString>("year");
        QTest::addColumn<QString>("month");
        QTest::addColumn<QString>("day");
        QTest::addColumn<QString>("sign");

        QTest::newRow("year before") << u"1929"_s << u"June"_s << u"7"_s << u"<no match>"_s;
        QTest::newRow("year after") << u"2011"_s << u"June"_s << u"7"_s << u"<no match>"_s;
        QTest::newRow("year not a number") << u"abc"_s << u"June"_s << u"7"_s << u"<no match>"_s;
        QTest::newRow("small month in a change year")
            << u"1951"_s << u"june"_s << u"19"_s << u"<no match>"_s;
        QTest::newRow("small month in a quiet year")
            << u"1950"_s << u"june"_s << u"19"_s << u"Sagittarius"_s;
        QTest::newRow("no month in a quiet year")
            << u"1950"_s << QString() << QString() << u"Sagittarius"_s;
        QTest::newRow("day unread in a quiet month")
            << u"1951"_s << u"April"_s << u"x"_s << u"Capricorn"_s;
        QTest::newRow("year with spaces") << u" 1950 "_s << u"May"_s << u"1"_s << u"Sagittarius"_s;
        QTest::newRow("year with a leading zero")
            << u"01950"_s << u"May"_s << u"1"_s << u"Sagittarius"_s;
        QTest::newRow("year in other digits")
            << u"\u0661\u0669\u0665\u0660"_s << u"May"_s << u"1"_s << u"<no match>"_s;
        QTest::newRow("signed year") << u"+1950"_s << u"May"_s << u"1"_s << u"<no match>"_s;
        QTest::newRow("day with a leading zero")
            << u"1933"_s << u"June"_s << u"07"_s << u"Gemini"_s;
        QTest::newRow("day with spaces") << u"1933"_s << u"June"_s << u" 6 "_s << u"Taurus"_s;
        QTest::newRow("day beyond the lists") << u"1933"_s << u"June"_s << u"99"_s << u"Gemini"_s;
        QTest::newRow("month nearly a name") << u"1933"_s << u"Junf"_s << u"7"_s << u"<no match>"_s;
        QTest::newRow("month with a space") << u"1933"_s << u" June"_s << u"7"_s << u"<no match>"_s;
        QTest::newRow("month too long") << u"2005"_s << u"Decemberr"_s << u"6"_s << u"<no match>"_s;
        QTest::newRow("month too short") << u"2005"_s << u"Ma"_s << u"6"_s << u"<no match>"_s;
        QTest::newRow("day not a number in a change month")
            << u"1951"_s << u"June"_s << u"x"_s << u"<no match>"_s;
    }

    void textsOutsideTheLists() {
        QFETCH(QString, year);
        QFETCH(QString, month);
        QFETCH(QString, day);
        QFETCH(QString, sign);
        QCOMPARE(lookedUp(year, month, day), sign);
    }

    void monthNamesMatterOnlyInChangeYears() {
        int changeYears = 0;
        for (int year = 1930; year <= 2010; ++year) {
            const std::optional<Sign> sign =
                lookupChironSign(QString::number(year), u"JANUARY", u"1");
            if (isChangeYear(year)) {
                ++changeYears;
                QVERIFY2(!sign, qPrintable(QString::number(year)));
            } else {
                QVERIFY2(sign, qPrintable(QString::number(year)));
                QCOMPARE(*sign, signByRowOrder(year, 1, 1));
            }
        }
        QCOMPARE(changeYears, 31);
    }

    void findChironSignKeepsTheLastAnswerWithoutMatch() {
        modPlanetSign module;
        module.FindChironSign(u"1929", u"June", u"7");
        QCOMPARE(module.ChironSign, QString()); // nothing found yet, nothing stored

        module.FindChironSign(u"1933", u"June", u"7");
        QCOMPARE(module.ChironSign, u"Gemini"_s);

        module.FindChironSign(u"2011", u"June", u"7");
        QCOMPARE(module.ChironSign, u"Gemini"_s);
        module.FindChironSign(u"1951", u"june", u"7");
        QCOMPARE(module.ChironSign, u"Gemini"_s);
    }
};

QTEST_GUILESS_MAIN(TestChironLookup)
#include "tst_chironlookup.moc"
