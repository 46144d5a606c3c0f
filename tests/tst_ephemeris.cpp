// Checks the Chiron placement table against the Swiss Ephemeris.
//
// A table row starts on the first day that begins (00:00 at UT-5, i.e. 05:00 UT) with Chiron
// already in the row's sign, taking the sign from Chiron's geocentric tropical ecliptic longitude
// (floor(longitude / 30), Aries first). These tests recompute that for every row and for every
// day the table covers, so a wrong start date or sign in the table fails here.

#include "core/ChironPlacement.h"
#include "core/Sign.h"

#include <QDate>
#include <QStringList>
#include <QTest>

#include <swephexp.h>

#include <array>
#include <cmath>
#include <cstddef>
#include <optional>

#ifndef WOUNDWELL_SWE_EPHE_PATH
#define WOUNDWELL_SWE_EPHE_PATH "/usr/share/libswe/ephe"
#endif

using namespace Qt::StringLiterals;
using woundwell::ChironPeriod;
using woundwell::ChironPlacementTable;
using woundwell::Sign;

namespace {

// Names for the messages below, kept here so these tests need nothing compiled in the program
// library.
constexpr std::array<const char *, woundwell::SignCount> SignNames{
    "Aries", "Taurus",  "Gemini",      "Cancer",    "Leo",      "Virgo",
    "Libra", "Scorpio", "Sagittarius", "Capricorn", "Aquarius", "Pisces",
};

QString nameOf(Sign sign) {
    return QString::fromLatin1(SignNames.at(static_cast<std::size_t>(sign)));
}

QDate startOf(const ChironPeriod &row) {
    return QDate(row.year, row.month, row.day);
}

// The days the table covers.
const QDate RangeStart(1930, 1, 1);
const QDate RangeEnd(2010, 12, 31);

// The table's days begin at 00:00 at UT-5.
constexpr double DayStartUtHours = 5.0;

struct Placement {
    std::optional<Sign> sign; // empty when the ephemeris could not place Chiron
    double longitude = 0.0;   // degrees, tropical ecliptic of date
    QString error;
};

// Where Chiron stood at the start of the day.
Placement chironAtStartOf(QDate day) {
    const double jdUt =
        swe_julday(day.year(), day.month(), day.day(), DayStartUtHours, SE_GREG_CAL);
    double xx[6] = {};
    char err[AS_MAXCH] = {};
    const int32 flags = swe_calc_ut(jdUt, SE_CHIRON, SEFLG_SWIEPH, xx, err);

    Placement placement;
    // A negative result is an error; a result without SEFLG_SWIEPH (or any message) means the
    // library fell back to another ephemeris, so the ephemeris files were not used.
    if (flags < 0 || (flags & SEFLG_SWIEPH) == 0 || err[0] != '\0') {
        placement.error =
            u"Swiss Ephemeris could not place Chiron on %1 (returned flags %2): %3"_s.arg(
                day.toString(Qt::ISODate), QString::number(flags), QString::fromLocal8Bit(err));
        return placement;
    }
    placement.longitude = xx[0];
    const double normalized = std::fmod(std::fmod(xx[0], 360.0) + 360.0, 360.0);
    const int index = static_cast<int>(std::floor(normalized / 30.0)) % woundwell::SignCount;
    placement.sign = static_cast<Sign>(index);
    return placement;
}

QString describe(QDate day, const Placement &placement) {
    if (!placement.sign)
        return placement.error;
    return u"at 05:00 UT on %1 Chiron stood at %2\u00b0 (%3)"_s.arg(
        day.toString(Qt::ISODate), QString::number(placement.longitude, 'f', 4),
        nameOf(*placement.sign));
}

// The rule behind every start date in the table: the day begins with Chiron in `sign`, and the
// day before began with Chiron in another sign. Empty when the ephemeris failed; `detail` then
// holds the error, otherwise what the ephemeris says about both days.
std::optional<bool> isFirstDayInSign(int year, int month, int dayOfMonth, Sign sign,
                                     QString &detail) {
    const QDate day(year, month, dayOfMonth);
    if (!day.isValid()) {
        detail = u"%1-%2-%3 is not a date"_s.arg(year).arg(month).arg(dayOfMonth);
        return false;
    }
    const QDate dayBefore = day.addDays(-1);
    const Placement onDay = chironAtStartOf(day);
    const Placement onDayBefore = chironAtStartOf(dayBefore);
    if (!onDay.sign || !onDayBefore.sign) {
        detail = !onDay.sign ? onDay.error : onDayBefore.error;
        return std::nullopt;
    }
    detail = u"%1 as first day in %2: %3; %4"_s.arg(day.toString(Qt::ISODate), nameOf(sign),
                                                    describe(dayBefore, onDayBefore),
                                                    describe(day, onDay));
    return *onDay.sign == sign && *onDayBefore.sign != sign;
}

// The sign the table gives for the day: that of the last row starting on or before it.
std::optional<Sign> tableSignOn(QDate day) {
    std::optional<Sign> sign;
    for (const ChironPeriod &row : ChironPlacementTable) {
        if (startOf(row) > day)
            break;
        sign = row.sign;
    }
    return sign;
}

} // namespace

class TestEphemeris : public QObject {
    Q_OBJECT

private slots:
    void initTestCase();
    void cleanupTestCase();

    void ruleRejectsDaysOutsideTheIngress();
    void firstRowCoversStartOfRange();
    void rowStartsAreFirstDaysInSign_data();
    void rowStartsAreFirstDaysInSign();
    void everyDayMatchesEphemeris();
};

void TestEphemeris::initTestCase() {
    swe_set_ephe_path(WOUNDWELL_SWE_EPHE_PATH);
    // Fail early, with the library's own message, when the ephemeris files cannot be used.
    const Placement probe = chironAtStartOf(RangeStart);
    QVERIFY2(probe.sign.has_value(), qPrintable(probe.error));
}

void TestEphemeris::cleanupTestCase() {
    swe_close();
}

// Chiron entered Pisces on 20 April 2010 at about 06:33 UT, after that day had begun at UT-5.
// 21 April is therefore the first Pisces day; the 11 April of the printed table, and the
// day of the ingress itself, are not.
void TestEphemeris::ruleRejectsDaysOutsideTheIngress() {
    QString detail;

    const std::optional<bool> corrected = isFirstDayInSign(2010, 4, 21, Sign::Pisces, detail);
    QVERIFY2(corrected.has_value(), qPrintable(detail));
    QVERIFY2(*corrected, qPrintable(detail));

    const std::optional<bool> printed = isFirstDayInSign(2010, 4, 11, Sign::Pisces, detail);
    QVERIFY2(printed.has_value(), qPrintable(detail));
    QVERIFY2(!*printed, qPrintable(detail));

    const std::optional<bool> ingressDay = isFirstDayInSign(2010, 4, 20, Sign::Pisces, detail);
    QVERIFY2(ingressDay.has_value(), qPrintable(detail));
    QVERIFY2(!*ingressDay, qPrintable(detail));

    // The day after the first day is in the sign but is not its first day.
    const std::optional<bool> dayAfter = isFirstDayInSign(2010, 4, 22, Sign::Pisces, detail);
    QVERIFY2(dayAfter.has_value(), qPrintable(detail));
    QVERIFY2(!*dayAfter, qPrintable(detail));
}

void TestEphemeris::firstRowCoversStartOfRange() {
    const ChironPeriod &first = ChironPlacementTable.front();
    QCOMPARE(startOf(first), RangeStart);

    const Placement placement = chironAtStartOf(RangeStart);
    QVERIFY2(placement.sign.has_value(), qPrintable(placement.error));
    QVERIFY2(*placement.sign == first.sign,
             qPrintable(u"the table starts in %1, but %2"_s.arg(nameOf(first.sign),
                                                                describe(RangeStart, placement))));
}

void TestEphemeris::rowStartsAreFirstDaysInSign_data() {
    QTest::addColumn<int>("index");
    for (std::size_t i = 1; i < ChironPlacementTable.size(); ++i) {
        const ChironPeriod &row = ChironPlacementTable[i];
        const QString name = u"row %1: %2 %3"_s.arg(
            QString::number(i + 1), startOf(row).toString(Qt::ISODate), nameOf(row.sign));
        QTest::newRow(qPrintable(name)) << static_cast<int>(i);
    }
}

// Each row starts on the first day in its sign, and the row before it runs up to that day in its
// own sign.
void TestEphemeris::rowStartsAreFirstDaysInSign() {
    QFETCH(int, index);
    const ChironPeriod &row = ChironPlacementTable.at(static_cast<std::size_t>(index));
    const ChironPeriod &previous = ChironPlacementTable.at(static_cast<std::size_t>(index - 1));
    QVERIFY2(startOf(previous) < startOf(row), "rows are not in ascending order of start date");

    QString detail;
    const std::optional<bool> firstDay =
        isFirstDayInSign(row.year, row.month, row.day, row.sign, detail);
    QVERIFY2(firstDay.has_value(), qPrintable(detail));
    QVERIFY2(*firstDay, qPrintable(detail));

    const QDate dayBefore = startOf(row).addDays(-1);
    const Placement before = chironAtStartOf(dayBefore);
    QVERIFY2(before.sign.has_value(), qPrintable(before.error));
    QVERIFY2(*before.sign == previous.sign,
             qPrintable(u"the previous row ends in %1, but %2"_s.arg(nameOf(previous.sign),
                                                                     describe(dayBefore, before))));
}

void TestEphemeris::everyDayMatchesEphemeris() {
    constexpr int ReportedMismatches = 10;

    QStringList mismatches;
    int mismatchCount = 0;
    int dayCount = 0;
    for (QDate day = RangeStart; day <= RangeEnd; day = day.addDays(1)) {
        ++dayCount;
        const Placement placement = chironAtStartOf(day);
        QVERIFY2(placement.sign.has_value(), qPrintable(placement.error));
        const std::optional<Sign> tableSign = tableSignOn(day);
        if (tableSign == placement.sign)
            continue;
        ++mismatchCount;
        if (mismatches.size() < ReportedMismatches) {
            const QString tableText = tableSign ? nameOf(*tableSign) : u"no row"_s;
            mismatches << u"table gives %1, but %2"_s.arg(tableText, describe(day, placement));
        }
    }
    QVERIFY2(mismatchCount == 0,
             qPrintable(u"%1 of %2 days differ from the ephemeris; the first ones:\n  %3"_s.arg(
                 QString::number(mismatchCount), QString::number(dayCount),
                 mismatches.join(u"\n  "_s))));
}

QTEST_APPLESS_MAIN(TestEphemeris)

#include "tst_ephemeris.moc"
