#include "core/BirthData.h"

#include "core/ChironPlacement.h"

#include <QDate>

namespace woundwell {

std::optional<char16_t> filterNameCharacter(char16_t typed) {
    if (typed >= u'A' && typed <= u'Z')
        return typed;
    if (typed >= u'a' && typed <= u'z')
        return static_cast<char16_t>(typed - 32);
    if (typed == u' ' || typed == u'\r' || typed == u'\b')
        return typed;
    return std::nullopt;
}

BirthDataProblem checkBirthData(const QString &name, int dayIndex, int monthIndex, int yearIndex) {
    constexpr int February = 1;
    if (name.isEmpty())
        return BirthDataProblem::MissingName;
    if (monthIndex == February) {
        const int day = dayIndex + 1;
        if (day > 29 || (day == 29 && !QDate::isLeapYear(FirstYear + yearIndex)))
            return BirthDataProblem::NoSuchDayInFebruary;
    }
    const bool thirtyDayMonth =
        monthIndex == 3 || monthIndex == 5 || monthIndex == 8 || monthIndex == 10;
    if (thirtyDayMonth && dayIndex == 30)
        return BirthDataProblem::NoThirtyFirst;
    return BirthDataProblem::None;
}

QString birthDataMessage(BirthDataProblem problem) {
    switch (problem) {
    case BirthDataProblem::MissingName:
        return QStringLiteral("Please Enter Your Name");
    case BirthDataProblem::NoSuchDayInFebruary:
        return QStringLiteral("Please Enter Correct Date of Birth!");
    case BirthDataProblem::NoThirtyFirst:
        return QStringLiteral("Please Enter Correct Date of Birth !");
    case BirthDataProblem::None:
        break;
    }
    return {};
}

} // namespace woundwell
