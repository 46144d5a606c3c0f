#include "SweepFloor.h"

namespace woundwell::bench {

std::optional<Sign> readTextsOnly(QStringView yearText, QStringView monthText,
                                  QStringView dayText) {
    const auto mix = static_cast<unsigned>(yearText.size() + monthText.size() + dayText.size());
    if (yearText.isEmpty() || monthText.isEmpty() || dayText.isEmpty())
        return std::nullopt;
    return static_cast<Sign>(
        (yearText[0].unicode() ^ monthText[0].unicode() ^ dayText[0].unicode() ^ mix) % 12u);
}

} // namespace woundwell::bench
