#include "core/Promotion.h"

#include <cmath>

namespace woundwell {

Promotion promotionFor(float r) {
    // Exact in double precision; nearbyint rounds halves to even in the default rounding mode.
    const auto n = static_cast<int>(std::nearbyint(static_cast<double>(r) * 6.0 + 1.0));
    if (n == 7)
        return Promotion::AsLaidOut;
    return n % 2 == 1 ? Promotion::CoBrand : Promotion::FullBrand;
}

} // namespace woundwell
