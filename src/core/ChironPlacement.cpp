#include "core/ChironPlacement.h"

#include <algorithm>

// The lists only ever send a four-digit year, a month name and a one- or two-digit day, and the
// lookup reads those directly; any other text takes the general, slower reading, which gives
// the same answers.

namespace woundwell {

namespace {

constexpr std::array<QStringView, 12> MonthNames{
    u"January", u"February", u"March",     u"April",   u"May",      u"June",
    u"July",    u"August",   u"September", u"October", u"November", u"December",
};

constexpr int YearCount = LastYear - FirstYear + 1;

struct MonthEntry {
    Sign atFirst;
    std::uint8_t changeDay; // 0 when the sign does not change during the month
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
                month.changeDay = static_cast<std::uint8_t>(ChironPlacementTable[row].day);
                month.fromChange = ChironPlacementTable[row].sign;
                entry.hasChange = true;
            }
        }
    }
    return years;
}

constexpr std::array<YearEntry, YearCount> Years = buildYears();

constexpr unsigned digit(char16_t c) {
    return static_cast<unsigned>(c) - u'0'; // above 9 for anything but a digit
}

// The general reading: decimal digits only, optionally surrounded by spaces.
std::optional<int> toNumber(QStringView text) {
    text = text.trimmed();
    if (text.isEmpty() || text.size() > 9)
        return std::nullopt;
    int value = 0;
    for (QChar c : text) {
        if (digit(c.unicode()) > 9)
            return std::nullopt;
        value = value * 10 + static_cast<int>(digit(c.unicode()));
    }
    return value;
}

// Every month name has at least three letters; its length and its first and third letters
// give each name its own slot among 16.
constexpr unsigned monthSlot(std::size_t length, char16_t first, char16_t third) {
    return (2u * static_cast<unsigned>(length) + 5u * first + 4u * third) & 15u;
}

constexpr std::array<std::int8_t, 16> buildMonthSlots() {
    std::array<std::int8_t, 16> bySlot{};
    for (auto &s : bySlot)
        s = -1;
    for (std::size_t i = 0; i < MonthNames.size(); ++i) {
        const QStringView name = MonthNames[i];
        const unsigned slot =
            monthSlot(static_cast<std::size_t>(name.size()), name[0].unicode(), name[2].unicode());
        if (bySlot[slot] != -1)
            throw "two month names share a slot"; // stops the compilation
        bySlot[slot] = static_cast<std::int8_t>(i);
    }
    return bySlot;
}

constexpr std::array<std::int8_t, 16> MonthSlots = buildMonthSlots();

// The month's index, 0 for January, or -1 when the text is no month name (compared exactly).
inline int monthIndex(QStringView text) {
    if (text.size() < 3)
        return -1;
    const char16_t *c = text.utf16();
    const int index = MonthSlots[monthSlot(static_cast<std::size_t>(text.size()), c[0], c[2])];
    if (index < 0)
        return -1;
    const QStringView name = MonthNames[static_cast<std::size_t>(index)];
    if (name.size() != text.size())
        return -1;
    const char16_t *n = name.utf16();
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (c[i] != n[i])
            return -1;
    }
    return index;
}

// The lookup for any texts, kept out of line: the program's lists never send it anything.
Q_NEVER_INLINE Q_DECL_COLD_FUNCTION std::optional<Sign>
generalLookup(QStringView yearText, QStringView monthText, QStringView dayText) {
    const std::optional<int> year = toNumber(yearText);
    if (!year || *year < FirstYear || *year > LastYear)
        return std::nullopt;
    const YearEntry &entry = Years[static_cast<std::size_t>(*year - FirstYear)];
    if (!entry.hasChange)
        return entry.months[0].atFirst;

    const int month = monthIndex(monthText);
    if (month < 0)
        return std::nullopt;
    const MonthEntry &m = entry.months[static_cast<std::size_t>(month)];
    if (m.changeDay == 0)
        return m.atFirst;

    const std::optional<int> day = toNumber(dayText);
    if (!day)
        return std::nullopt;
    return *day < m.changeDay ? m.atFirst : m.fromChange;
}

} // namespace

QStringView monthName(int month) {
    return MonthNames.at(static_cast<std::size_t>(month - 1));
}

// The texts the lists hold, a four-digit year and a one- or two-digit day, are read here
// directly; any other text goes to the general lookup, which reads it the same way the
// original did.
std::optional<Sign> lookupChironSign(QStringView yearText, QStringView monthText,
                                     QStringView dayText) {
    if (yearText.size() != 4)
        return generalLookup(yearText, monthText, dayText);
    const char16_t *y = yearText.utf16();
    const unsigned y0 = digit(y[0]), y1 = digit(y[1]), y2 = digit(y[2]), y3 = digit(y[3]);
    if (std::max({y0, y1, y2, y3}) > 9)
        return generalLookup(yearText, monthText, dayText);
    // One unsigned comparison checks both ends of the range.
    const unsigned yearIndex = y0 * 1000 + y1 * 100 + y2 * 10 + y3 - unsigned(FirstYear);
    if (yearIndex >= unsigned(YearCount))
        return std::nullopt;
    const YearEntry &entry = Years[yearIndex];
    if (!entry.hasChange)
        return entry.months[0].atFirst;

    const int month = monthIndex(monthText);
    if (month < 0)
        return std::nullopt;
    const MonthEntry &m = entry.months[static_cast<std::size_t>(month)];
    if (m.changeDay == 0)
        return m.atFirst;

    const char16_t *d = dayText.utf16();
    unsigned day;
    if (dayText.size() == 1 && digit(d[0]) <= 9)
        day = digit(d[0]);
    else if (dayText.size() == 2 && std::max(digit(d[0]), digit(d[1])) <= 9)
        day = digit(d[0]) * 10 + digit(d[1]);
    else
        return generalLookup(yearText, monthText, dayText);
    return day < m.changeDay ? m.atFirst : m.fromChange;
}

} // namespace woundwell
