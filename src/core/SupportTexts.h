#pragma once

#include <QString>

#include <array>

namespace woundwell {

// The four appeals for the maker's forum, one of which the farewell window shows.
[[nodiscard]] const std::array<QString, 4> &SupportTexts();

// Which appeal a random value 0 <= r < 1 picks: the whole part of r * 4.
[[nodiscard]] int supportTextNumber(float r);

} // namespace woundwell
