#pragma once

#include "core/Sign.h"

#include <QStringView>

#include <array>
#include <optional>

namespace woundwell {

// One period during which Chiron stayed in one sign. The period runs from its start date up to
// the day before the next row's start; the last one ends on 31 December 2010.
struct ChironPeriod {
    int year;
    int month; // 1 to 12
    int day;   // 1 to 31
    Sign sign;
};

inline constexpr int FirstYear = 1930;
inline constexpr int LastYear = 2010;

// Each start date is the first day that begins (00:00 at UT-5) with Chiron already in the
// row's sign.
inline constexpr std::array<ChironPeriod, 48> ChironPlacementTable{{
    {1930, 1, 1, Sign::Taurus},      {1933, 6, 7, Sign::Gemini},
    {1933, 12, 23, Sign::Taurus},    {1934, 3, 24, Sign::Gemini},
    {1937, 8, 28, Sign::Cancer},     {1937, 11, 23, Sign::Gemini},
    {1938, 5, 29, Sign::Cancer},     {1940, 9, 30, Sign::Leo},
    {1940, 12, 28, Sign::Cancer},    {1941, 6, 17, Sign::Leo},
    {1943, 7, 27, Sign::Virgo},      {1944, 11, 18, Sign::Libra},
    {1945, 3, 24, Sign::Virgo},      {1945, 7, 23, Sign::Libra},
    {1946, 11, 11, Sign::Scorpio},   {1948, 11, 29, Sign::Sagittarius},
    {1951, 2, 9, Sign::Capricorn},   {1951, 6, 19, Sign::Sagittarius},
    {1951, 11, 9, Sign::Capricorn},  {1955, 1, 28, Sign::Aquarius},
    {1960, 3, 27, Sign::Pisces},     {1960, 8, 20, Sign::Aquarius},
    {1961, 1, 21, Sign::Pisces},     {1968, 4, 2, Sign::Aries},
    {1968, 10, 19, Sign::Pisces},    {1969, 1, 31, Sign::Aries},
    {1976, 5, 29, Sign::Taurus},     {1976, 10, 14, Sign::Aries},
    {1977, 3, 29, Sign::Taurus},     {1983, 6, 22, Sign::Gemini},
    {1983, 11, 30, Sign::Taurus},    {1984, 4, 11, Sign::Gemini},
    {1988, 6, 22, Sign::Cancer},     {1991, 7, 22, Sign::Leo},
    {1993, 9, 4, Sign::Virgo},       {1995, 9, 10, Sign::Libra},
    {1996, 12, 30, Sign::Scorpio},   {1997, 4, 5, Sign::Libra},
    {1997, 9, 3, Sign::Scorpio},     {1999, 1, 8, Sign::Sagittarius},
    {1999, 6, 2, Sign::Scorpio},     {1999, 9, 22, Sign::Sagittarius},
    {2001, 12, 12, Sign::Capricorn}, {2005, 2, 22, Sign::Aquarius},
    {2005, 8, 1, Sign::Capricorn},   {2005, 12, 6, Sign::Aquarius},
    {2010, 4, 21, Sign::Pisces},     {2010, 7, 21, Sign::Aquarius},
}};

// The sign Chiron stood in on the date given by the birth-data window's three list texts, or
// nothing when the texts name no date the table covers. The year decides first: in a year
// without a change of sign neither month nor day text is read, and in a month without a change
// the day text is not read. Month names are compared exactly, case included.
[[nodiscard]] std::optional<Sign> lookupChironSign(QStringView yearText, QStringView monthText,
                                                   QStringView dayText);

// The English month names as the month list offers them, January first.
[[nodiscard]] QStringView monthName(int month);

} // namespace woundwell
