#pragma once

namespace woundwell {

// The birth-data window's two promotion labels lie on top of each other; at start-up one of
// them is brought to the front at random, or the layout's own order is kept.
enum class Promotion { CoBrand, FullBrand, AsLaidOut };

// Which label a random value 0 <= r < 1 brings to the front: r * 6 + 1 rounded to the nearest
// whole number, halves to the even one; 1, 3, 5 co-brand, 2, 4, 6 full brand, 7 neither.
[[nodiscard]] Promotion promotionFor(float r);

} // namespace woundwell
