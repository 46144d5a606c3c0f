#include "core/modPlanetSign.h"

#include "core/ChironPlacement.h"

#include <QComboBox>

namespace woundwell {

void modPlanetSign::FindChironSign(const QComboBox &cboYear, const QComboBox &cboMonth,
                                   const QComboBox &cboDate) {
    const std::optional<Sign> sign =
        lookupChironSign(cboYear.currentText(), cboMonth.currentText(), cboDate.currentText());
    if (sign)
        ChironSign = signName(*sign);
}

} // namespace woundwell
