#pragma once

#include <QString>

class QComboBox;

namespace woundwell {

// The healing-sign answer of the last successful lookup, kept for the whole run.
class modPlanetSign final {
public:
    // Looks up the date the three lists of the birth-data window show and stores the sign in
    // ChironSign; a date the table does not cover leaves ChironSign as it was.
    void FindChironSign(const QComboBox &cboYear, const QComboBox &cboMonth,
                        const QComboBox &cboDate);

    // Empty until a lookup succeeds; never cleared afterwards.
    QString ChironSign;
};

} // namespace woundwell
