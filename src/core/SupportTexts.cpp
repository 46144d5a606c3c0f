#include "core/SupportTexts.h"

#include <algorithm>

namespace woundwell {

const std::array<QString, 4> &SupportTexts() {
    static const std::array<QString, 4> texts{
        QStringLiteral("Quorvane Softwares, such as this can be created and maintained only with "
                       "your support. The best way to support Quorvane is to visit Quorvane "
                       "regularly and take part in the discussions and other activities on the "
                       "board."),
        QStringLiteral("Visit Quorvane regularly. Support Quorvane by taking part in the "
                       "discussions and other activities. These softwares cannot be supported "
                       "and maintained, without you regularly visiting Quorvane"),
        QStringLiteral("Quorvane is a FREE online discussion forum for all things mystic. To help "
                       "Quorvane develop and maintain this software visit Quorvane regularly."),
        QStringLiteral("Quorvane needs your help. All you need to do is visit Quorvane regularly "
                       "and take part in the various discussions and activites to help us "
                       "maintain and develop more Quorvane Softwares."),
    };
    return texts;
}

int supportTextNumber(float r) {
    return std::clamp(static_cast<int>(r * 4.0f), 0, 3);
}

} // namespace woundwell
