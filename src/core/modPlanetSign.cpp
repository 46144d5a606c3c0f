#include "core/modPlanetSign.h"

#include "core/ChironPlacement.h"

namespace woundwell {

void modPlanetSign::FindChironSign(QStringView cboYear, QStringView cboMonth, QStringView cboDate) {
    if (const std::optional<Sign> sign = lookupChironSign(cboYear, cboMonth, cboDate))
        ChironSign = signName(*sign);
}

} // namespace woundwell
