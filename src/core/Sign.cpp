#include "core/Sign.h"

namespace woundwell {

namespace {
constexpr std::array<const char16_t *, SignCount> SignNames{
    u"Aries", u"Taurus",  u"Gemini",      u"Cancer",    u"Leo",      u"Virgo",
    u"Libra", u"Scorpio", u"Sagittarius", u"Capricorn", u"Aquarius", u"Pisces",
};
} // namespace

QString signName(Sign sign) {
    return QString::fromUtf16(SignNames[static_cast<std::size_t>(sign)]);
}

std::optional<Sign> signFromName(QStringView name) {
    for (std::size_t i = 0; i < SignNames.size(); ++i) {
        if (name == QStringView(SignNames[i]))
            return static_cast<Sign>(i);
    }
    return std::nullopt;
}

} // namespace woundwell
