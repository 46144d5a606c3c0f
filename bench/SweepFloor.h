#pragma once

// The floor of a sweep over the lookup: a function of the same shape that only reads one
// character of each text. It lives in a file of its own, so that it is called, not inlined,
// just like the lookup.

#include "core/Sign.h"

#include <QStringView>

#include <optional>

namespace woundwell::bench {

[[nodiscard]] std::optional<Sign> readTextsOnly(QStringView yearText, QStringView monthText,
                                                QStringView dayText);

} // namespace woundwell::bench
