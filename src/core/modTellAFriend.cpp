#include "core/modTellAFriend.h"

#include "core/Platform.h"
#include "core/modHelp.h"

#include <QUrl>

namespace woundwell {

const std::array<ReferralField, 5> &referralFields() {
    static const std::array<ReferralField, 5> fields{{
        {QStringLiteral("Your Name"), QStringLiteral("Please Enter Your Name")},
        {QStringLiteral("Your Email Address"), QStringLiteral("Please Enter Your Email")},
        {QStringLiteral("Your Message"), QStringLiteral("Please Enter Your Message")},
        {QStringLiteral("Friend's Name"), QStringLiteral("Please Enter Your Friend's Name")},
        {QStringLiteral("Friend's Email Address"),
         QStringLiteral("Please Enter Your Friend's Email")},
    }};
    return fields;
}

std::optional<char16_t> filterEmailCharacter(char16_t typed) {
    if (typed == u' ')
        return std::nullopt;
    return typed;
}

QString trimSpaces(const QString &text) {
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text.at(first) == u' ')
        ++first;
    while (last > first && text.at(last - 1) == u' ')
        --last;
    return text.mid(first, last - first);
}

QString buildReferralAddress(const QString &referrerName, const QString &referrerEmail,
                             const QString &message, const QString &friendName,
                             const QString &friendEmail) {
    const auto encoded = [](const QString &value) {
        return QString::fromLatin1(QUrl::toPercentEncoding(value));
    };
    return modHelp::SiteAddress + QStringLiteral("/qvsw-refer-a-friend.php") +
           QStringLiteral("?taf1=") + encoded(referrerName) + QStringLiteral("&taf2=") +
           encoded(referrerEmail) + QStringLiteral("&taf3=") + encoded(message) +
           QStringLiteral("&taf4=") + encoded(friendName) + QStringLiteral("&taf5=") +
           encoded(friendEmail) + QStringLiteral("&taf6=") + modHelp::SiteAddress +
           QStringLiteral("/woundwell/");
}

void modTellAFriend::TellAFriend(Platform &platform, QWidget *parent) {
    const std::array<const QString *, 5> values{&ReferrerName, &ReferrerEmail, &ReferralMessage,
                                                &FriendName, &FriendEmail};
    for (std::size_t i = 0; i < values.size(); ++i) {
        const QString value = trimSpaces(*values[i]);
        const ReferralField &field = referralFields()[i];
        if (value.isEmpty() || value == field.placeholder) {
            platform.showMessage(parent, field.missingMessage, MessageIcon::Critical,
                                 MessageButtons::Ok);
            return;
        }
    }
    ReferralAddress =
        buildReferralAddress(ReferrerName, ReferrerEmail, ReferralMessage, FriendName, FriendEmail);
    modHelp::OpenWebPage(platform, ReferralAddress);
}

} // namespace woundwell
