#pragma once

#include "core/Sign.h"

#include <QString>

namespace woundwell {

// The fixed reading the result window shows for a healing sign.
[[nodiscard]] QString signReading(Sign sign);

} // namespace woundwell
