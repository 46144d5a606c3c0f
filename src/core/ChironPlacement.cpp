#include "core/ChironPlacement.h"

#include <algorithm>

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

constexpr int NotANumber = -1;

// The general reading: decimal digits only, optionally surrounded by spaces.
Q_NEVER_INLINE Q_DECL_COLD_FUNCTION int readAnyNumber(QStringView text) {
    return toNumber(text).value_or(NotANumber);
}

// A number as the lists write it, a day of one or two digits or a year of four, is read
// straight away; any other text takes the general reading. NotANumber when it is none.
inline int readNumber(QStringView text) {
    const char16_t *c = text.utf16();
    switch (text.size()) {
    case 1:
        if (digit(c[0]) <= 9)
            return static_cast<int>(digit(c[0]));
        break;
    case 2:
        if (std::max(digit(c[0]), digit(c[1])) <= 9)
            return static_cast<int>(digit(c[0]) * 10 + digit(c[1]));
        break;
    case 4:
        if (std::max({digit(c[0]), digit(c[1]), digit(c[2]), digit(c[3])}) <= 9)
            return static_cast<int>(digit(c[0]) * 1000 + digit(c[1]) * 100 + digit(c[2]) * 10 +
                                    digit(c[3]));
        break;
    default:
        break;
    }
    return readAnyNumber(text);
}

} // namespace

QStringView monthName(int month) {
    return MonthNames.at(static_cast<std::size_t>(month - 1));
}

std::optional<Sign> lookupChironSign(QStringView yearText, QStringView monthText,
                                     QStringView dayText) {
    // One unsigned comparison checks both ends of the range, and the text not being a number.
    const auto yearIndex = static_cast<unsigned>(readNumber(yearText) - FirstYear);
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

    const int day = readNumber(dayText);
    if (day == NotANumber)
        return std::nullopt;
    return day < m.changeDay ? m.atFirst : m.fromChange;
}

} // namespace woundwell
