#pragma once

#include <QString>

#include <array>
#include <cstdint>
#include <optional>

namespace woundwell {

// The twelve zodiac signs, in zodiac order.
enum class Sign : std::uint8_t {
    Aries,
    Taurus,
    Gemini,
    Cancer,
    Leo,
    Virgo,
    Libra,
    Scorpio,
    Sagittarius,
    Capricorn,
    Aquarius,
    Pisces,
};

inline constexpr int SignCount = 12;

// The sign's name exactly as the program shows and compares it ("Aries" ... "Pisces").
[[nodiscard]] QString signName(Sign sign);

// The sign whose name is exactly (case-sensitively) this text.
[[nodiscard]] std::optional<Sign> signFromName(QStringView name);

} // namespace woundwell
