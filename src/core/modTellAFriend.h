#pragma once

#include <QString>

#include <array>
#include <optional>

class QWidget;

namespace woundwell {

class Platform;

// One field of the refer-a-friend form: its prompt, shown in the box until the user types, and
// the message a submission gives while the field is empty or still shows the prompt.
struct ReferralField {
    QString placeholder;
    QString missingMessage;
};

// In the order the referral address carries them: taf1 to taf5.
[[nodiscard]] const std::array<ReferralField, 5> &referralFields();

// What an e-mail box does with one typed character: every character but the space goes in.
[[nodiscard]] std::optional<char16_t> filterEmailCharacter(char16_t typed);

inline const QString EmailSpaceMessage = QStringLiteral("Email Address Cannot Contain Space");

// Removes leading and trailing spaces; tabs and line breaks stay.
[[nodiscard]] QString trimSpaces(const QString &text);

// The maker's refer-a-friend page with the five values in its query, each percent-encoded as
// UTF-8 so the page receives exactly what was typed.
[[nodiscard]] QString buildReferralAddress(const QString &referrerName,
                                           const QString &referrerEmail, const QString &message,
                                           const QString &friendName, const QString &friendEmail);

// The values of the last submission, kept for the whole run.
class modTellAFriend final {
public:
    QString ReferrerName;
    QString ReferrerEmail;
    QString ReferralMessage;
    QString FriendName;
    QString FriendEmail;
    QString ReferralAddress;

    // Checks the five values, builds ReferralAddress and opens it in the browser; a missing
    // value shows its message over parent instead.
    void TellAFriend(Platform &platform, QWidget *parent);
};

} // namespace woundwell
