#pragma once

// Every date the birth-data window's lists can show, as the three texts the lists hold:
// each year 1930-2010, each month name, each day 1-31 (30,132 combinations, impossible days
// such as 31 April included, as the lists allow them).

#include "core/ChironPlacement.h"

#include <QString>
#include <QStringList>

#include <algorithm>
#include <random>
#include <vector>

namespace woundwell::bench {

struct DateTexts {
    QString year;
    QString month;
    QString day;
};

enum class TextCopies {
    // One text per list entry (31 + 12 + 81), shared by every date that uses it, as the
    // window's lists hold them: the texts stay in the first-level cache.
    PerListEntry,
    // Each date made of three texts of its own (90,396 separate heap blocks, several MB):
    // most reads of a text miss the caches.
    PerDate,
};

enum class Order { ListOrder, Shuffled };

inline std::vector<DateTexts> allListDates(TextCopies copies = TextCopies::PerListEntry,
                                           Order order = Order::ListOrder) {
    QStringList years, months, days;
    for (int year = FirstYear; year <= LastYear; ++year)
        years.append(QString::number(year));
    for (int month = 1; month <= 12; ++month)
        months.append(monthName(month).toString());
    for (int day = 1; day <= 31; ++day)
        days.append(QString::number(day));

    std::vector<DateTexts> dates;
    dates.reserve(static_cast<std::size_t>(years.size() * months.size() * days.size()));
    for (const QString &year : years)
        for (const QString &month : months)
            for (const QString &day : days) {
                if (copies == TextCopies::PerListEntry)
                    dates.push_back({year, month, day});
                else
                    dates.push_back({QString(year.constData(), year.size()),
                                     QString(month.constData(), month.size()),
                                     QString(day.constData(), day.size())});
            }
    if (order == Order::Shuffled)
        std::shuffle(dates.begin(), dates.end(), std::mt19937(20240607u));
    return dates;
}

} // namespace woundwell::bench
