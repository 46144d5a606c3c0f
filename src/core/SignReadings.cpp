#include "core/SignReadings.h"

#include <array>

namespace woundwell {

namespace {
constexpr std::array<const char16_t *, SignCount> Readings{
    // Aries
    u"You sometimes fail to identify with yourself. You need to find the reason for your "
    u"existence. You may be too laid back or be over-energetic about showing your complete "
    u"potential. Or you may be too aggressive. You are better at helping others more than helping "
    u"yourself. Sometimes you may not bear to be alone. You are always on a personal spiritual "
    u"quest.",
    // Taurus
    u"Material happiness means lot to you. You may be looking or craving for something that you "
    u"lacked in childhood. If you can overcome your personal confidence issues you can teach "
    u"people about self esteem. Money and material resources show your self worth or that is how "
    u"you feel.",
    // Gemini
    u"You may suffer from an inability to express yourself. Communication skills play a key role "
    u"in your lives. You may talk too less or talk too much. You may believe a lot in the current "
    u"fad. You may try to make up for this by being meticulous later in life.",
    // Cancer
    u"You may have always felt left out by family or friends or in groups. Family doesn't offer "
    u"you security and you may tend to avoid having one. You may also be nurturing to make up for "
    u"the lost love.",
    // Leo
    u"You believe a lot in the mystical world. Science fiction is no fiction to you. Ego issues "
    u"may occur. You may be creative but unaware of it. Once you are aware of your creative "
    u"abilities you can make good art teachers. You will just have to teach yourself how to have "
    u"fun.",
    // Virgo
    u"You may have suffered from health problems. Diet control is a must and stress management "
    u"should be given some thought. You may be too fussy about cleanliness. But too much of health "
    u"issues can also make you neglect yourself.",
    // Libra
    u"You are very sensitive and emotional. This may lead to abuse if not controlled. Also this "
    u"can give rise to a lot of expectations later in life. You may crave for relationships but "
    u"once you are into one, you may want to get out of it.",
    // Scorpio
    u"You may have psychic abilities. You also believe in past life, life after death and other "
    u"unexplainable phenomena. This will make you rise to a new level of understanding. You may "
    u"fear your own power and try to forget it as mush as possible.",
    // Sagittarius
    u"You will be spiritually inclined. You may be total believers or atheists. You always believe "
    u"that you know it all and will not listen to other people's advice.",
    // Capricorn
    u"You believe in social happiness. An urge to have a good position in society will make you go "
    u"to all extents. You feel the need to prove yourself at all costs. You may also believe in "
    u"too much of control and organization.",
    // Aquarius
    u"You are loners and feel comfortable with technology. You may also come up with weird out the "
    u"world ideas that others may find difficult to digest.",
    // Pisces
    u"You are more comfortable on the spiritual level. You may be very sensitive and easy targets "
    u"for drug abuse. Do not feel guilty about everything under the sun. You may also have a good "
    u"sense of imagination.",
};
} // namespace

QString signReading(Sign sign) {
    return QString::fromUtf16(Readings[static_cast<std::size_t>(sign)]);
}

} // namespace woundwell
