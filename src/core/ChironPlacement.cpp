#include "core/ChironPlacement.h"

namespace woundwell {

namespace {

constexpr std::array<const char16_t *, 12> MonthNames{
    u"January", u"February", u"March",     u"April",   u"May",      u"June",
    u"July",    u"August",   u"September", u"October", u"November", u"December",
};

constexpr int YearCount = LastYear - FirstYear + 1;

// What the table says about one year, laid out so that a lookup is a few array reads: the sign
// in force on 1 January, and for a year with changes, for each month the sign on its first day,
// the day the month's change happens (0 when none) and the sign from that day on.
struct MonthEntry {
    Sign atFirst;
    int changeDay;
    Sign fromChange;
};

struct YearEntry {
    bool hasChange;
    std::array<MonthEntry, 12> months;
};

constexpr std::array<YearEntry, YearCount> buildYears() {
    std::array<YearEntry, YearCount> years{};
    std::size_t row = 0; // the row in force at the start of the month being filled
    for (int y = FirstYear; y <= LastYear; ++y) {
        YearEntry &entry = years[static_cast<std::size_t>(y - FirstYear)];
        entry.hasChange = false;
        for (int m = 1; m <= 12; ++m) {
            MonthEntry &month = entry.months[static_cast<std::size_t>(m - 1)];
            // Rows starting on the first of this month are in force all month long.
            while (row + 1 < ChironPlacementTable.size() &&
                   ChironPlacementTable[row + 1].year == y &&
                   ChironPlacementTable[row + 1].month == m &&
                   ChironPlacementTable[row + 1].day == 1) {
                ++row;
                entry.hasChange = true;
            }
            month.atFirst = ChironPlacementTable[row].sign;
            month.changeDay = 0;
            month.fromChange = month.atFirst;
            if (row + 1 < ChironPlacementTable.size() && ChironPlacementTable[row + 1].year == y &&
                ChironPlacementTable[row + 1].month == m) {
                ++row;
                month.changeDay = ChironPlacementTable[row].day;
                month.fromChange = ChironPlacementTable[row].sign;
                entry.hasChange = true;
            }
        }
    }
    return years;
}

constexpr std::array<YearEntry, YearCount> Years = buildYears();

// Decimal digits only, optionally surrounded by spaces, as the lists never hold anything else.
std::optional<int> toNumber(QStringView text) {
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

std::optional<int> monthNumber(QStringView text) {
    for (std::size_t i = 0; i < MonthNames.size(); ++i) {
        if (text == QStringView(MonthNames[i]))
            return static_cast<int>(i) + 1;
    }
    return std::nullopt;
}

} // namespace

QStringView monthName(int month) {
    return QStringView(MonthNames.at(static_cast<std::size_t>(month - 1)));
}

std::optional<Sign> lookupChironSign(QStringView yearText, QStringView monthText,
                                     QStringView dayText) {
    const std::optional<int> year = toNumber(yearText);
    if (!year || *year < FirstYear || *year > LastYear)
        return std::nullopt;
    const YearEntry &entry = Years[static_cast<std::size_t>(*year - FirstYear)];
    if (!entry.hasChange)
        return entry.months[0].atFirst;

    const std::optional<int> month = monthNumber(monthText);
    if (!month)
        return std::nullopt;
    const MonthEntry &m = entry.months[static_cast<std::size_t>(*month - 1)];
    if (m.changeDay == 0)
        return m.atFirst;

    const std::optional<int> day = toNumber(dayText);
    if (!day)
        return std::nullopt;
    return *day < m.changeDay ? m.atFirst : m.fromChange;
}

} // namespace woundwell
