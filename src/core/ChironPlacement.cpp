#include "core/ChironPlacement.h"

#include <algorithm>
#include <tuple>

namespace woundwell {

namespace {

constexpr std::array<QStringView, 12> MonthNames{
    u"January", u"February", u"March",     u"April",   u"May",      u"June",
    u"July",    u"August",   u"September", u"October", u"November", u"December",
};

// Decimal digits, optionally surrounded by spaces; nothing for any other text.
std::optional<int> toNumber(QStringView text) {
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        value = value * 10 + (c.unicode() - u'0');
    }
    return value;
}

// 1 for January; nothing unless the text is exactly one of the names, case included.
std::optional<int> monthNumber(QStringView text) {
    const auto found = std::find(MonthNames.begin(), MonthNames.end(), text);
    if (found == MonthNames.end())
        return std::nullopt;
    return static_cast<int>(found - MonthNames.begin()) + 1;
}

// Whether a period other than the first starts in the year, or in the month of the year.
bool changesIn(int year, int month = 0) {
    return std::any_of(
        ChironPlacementTable.begin() + 1, ChironPlacementTable.end(),
        [&](const ChironPeriod &p) { return p.year == year && (month == 0 || p.month == month); });
}

// The sign of the last period that starts on or before the date.
Sign signOn(int year, int month, int day) {
    const auto after =
        std::upper_bound(ChironPlacementTable.begin(), ChironPlacementTable.end(),
                         std::tuple(year, month, day), [](const auto &date, const ChironPeriod &p) {
                             return date < std::tuple(p.year, p.month, p.day);
                         });
    return std::prev(after)->sign;
}

} // namespace

QStringView monthName(int month) {
    return MonthNames.at(static_cast<std::size_t>(month - 1));
}

std::optional<Sign> lookupChironSign(QStringView yearText, QStringView monthText,
                                     QStringView dayText) {
    const std::optional<int> year = toNumber(yearText);
    if (!year || *year < FirstYear || *year > LastYear)
        return std::nullopt;
    if (!changesIn(*year))
        return signOn(*year, 1, 1);

    const std::optional<int> month = monthNumber(monthText);
    if (!month)
        return std::nullopt;
    if (!changesIn(*year, *month))
        return signOn(*year, *month, 1);

    const std::optional<int> day = toNumber(dayText);
    if (!day)
        return std::nullopt;
    return signOn(*year, *month, *day);
}

} // namespace woundwell
