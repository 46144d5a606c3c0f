#pragma once

#include <QString>

namespace woundwell {

// The healing-sign answer of the last successful lookup, kept for the whole run.
class modPlanetSign final {
public:
    // Looks up the date the birth-data window's three lists show, given as their texts, and
    // stores the sign in ChironSign; a date the table does not cover leaves ChironSign as it
    // was.
    void FindChironSign(QStringView cboYear, QStringView cboMonth, QStringView cboDate);

    // Empty until a lookup succeeds; never cleared afterwards.
    QString ChironSign;
};

} // namespace woundwell
