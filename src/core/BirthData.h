#pragma once

#include <QString>

#include <optional>

namespace woundwell {

// What the name box does with one typed character: the character to insert (capital letters,
// space, carriage return and backspace go through, small letters become capitals), or nothing
// when the character is refused.
[[nodiscard]] std::optional<char16_t> filterNameCharacter(char16_t typed);

enum class BirthDataProblem {
    None,
    MissingName,
    NoSuchDayInFebruary,
    NoThirtyFirst,
};

// Checks the birth-data window's entries, given as the name text and the zero-based positions
// of the selected day (0 = the 1st), month (0 = January) and year (0 = 1930). The name only has
// to be present; spaces count. The first problem found wins.
[[nodiscard]] BirthDataProblem checkBirthData(const QString &name, int dayIndex, int monthIndex,
                                              int yearIndex);

// The message the window shows for a problem.
[[nodiscard]] QString birthDataMessage(BirthDataProblem problem);

inline const QString RefusedNameCharacterMessage = QStringLiteral("Please Enter only Letters");

} // namespace woundwell
