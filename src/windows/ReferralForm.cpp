#include "windows/ReferralForm.h"

#include "core/Platform.h"
#include "core/modTellAFriend.h"
#include "keyboard/CharacterFilter.h"

#include <QFocusEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

#include <utility>

namespace woundwell {

namespace {

// Focus that moves because another window (a message box, the browser) comes and goes is not
// the user entering or leaving a box.
bool movedWithinWindow(const QFocusEvent &event) {
    return event.reason() != Qt::ActiveWindowFocusReason && event.reason() != Qt::PopupFocusReason;
}

} // namespace

ReferralForm::ReferralForm(Platform &platform, modTellAFriend &values, QWidget *window,
                           const Boxes &boxes)
    : QObject(window)
    , m_platform(platform)
    , m_values(values)
    , m_window(window)
    , m_boxes(boxes)
    , m_fields{boxes.txtName, boxes.txtEmail, boxes.txtMessage, boxes.txtFriendName,
               boxes.txtFriendEmail} {
    // Tab leaves the message box like every other box rather than typing a tab into it.
    boxes.txtMessage->setTabChangesFocus(true);
    for (QWidget *box : m_fields)
        box->installEventFilter(this);
    for (QLineEdit *email : {boxes.txtEmail, boxes.txtFriendEmail}) {
        connect(new CharacterFilter(email, filterEmailCharacter), &CharacterFilter::refused, this,
                [this, email] {
                    refuse(EmailSpaceMessage);
                    email->setFocus();
                });
    }
    connect(boxes.cmdSubmit, &QPushButton::clicked, this, &ReferralForm::submit);
}

QString ReferralForm::text(int field) const {
    if (field == Message) {
        // The message box is multi-line; its lines end in CR LF, as the page expects.
        QString message = m_boxes.txtMessage->toPlainText();
        message.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
        return message;
    }
    return static_cast<QLineEdit *>(m_fields[static_cast<std::size_t>(field)])->text();
}

void ReferralForm::setText(int field, const QString &text) {
    if (field == Message)
        m_boxes.txtMessage->setPlainText(text);
    else
        static_cast<QLineEdit *>(m_fields[static_cast<std::size_t>(field)])->setText(text);
}

bool ReferralForm::eventFilter(QObject *watched, QEvent *event) {
    const auto found = std::find(m_fields.begin(), m_fields.end(), watched);
    if (found == m_fields.end())
        return false;
    const auto field = static_cast<int>(found - m_fields.begin());
    const QString &placeholder = referralFields()[static_cast<std::size_t>(field)].placeholder;

    switch (event->type()) {
    case QEvent::FocusIn:
        // The prompt goes once Qt has told assistive technology of the new focus: emptied
        // first, the box would report its change of text as the focused box, and a screen
        // reader would take the focus as already announced and say nothing of the box.
        if (movedWithinWindow(*static_cast<QFocusEvent *>(event))) {
            m_promptToClear = field;
            QMetaObject::invokeMethod(this, &ReferralForm::clearPrompt, Qt::QueuedConnection);
        }
        break;
    case QEvent::KeyPress:
    case QEvent::InputMethod:
        // What is typed never joins the prompt, however soon it comes.
        clearPrompt();
        break;
    case QEvent::FocusOut:
        m_promptToClear = -1;
        if (movedWithinWindow(*static_cast<QFocusEvent *>(event)) &&
            trimSpaces(text(field)).isEmpty())
            setText(field, placeholder);
        break;
    default:
        break;
    }
    return false;
}

void ReferralForm::clearPrompt() {
    const int field = std::exchange(m_promptToClear, -1);
    if (field >= 0 &&
        trimSpaces(text(field)) == referralFields()[static_cast<std::size_t>(field)].placeholder)
        setText(field, QString());
}

void ReferralForm::refuse(const QString &message) {
    m_platform.showMessage(m_window, message, MessageIcon::Critical, MessageButtons::Ok);
}

void ReferralForm::submit() {
    m_values.ReferrerName = trimSpaces(text(Name));
    m_values.ReferrerEmail = trimSpaces(text(Email));
    m_values.ReferralMessage = trimSpaces(text(Message));
    m_values.FriendName = trimSpaces(text(FriendName));
    m_values.FriendEmail = trimSpaces(text(FriendEmail));

    const QString &email = m_values.ReferrerEmail;
    const QString &friendEmail = m_values.FriendEmail;
    if (email == friendEmail) {
        refuse(QStringLiteral("Please Enter Distinct Email Addresses"));
        return;
    }
    const auto bothContain = [&](QChar c) { return email.contains(c) && friendEmail.contains(c); };
    if (!bothContain(u'@') || !bothContain(u'.')) {
        refuse(QStringLiteral("Please Enter Proper Email Address"));
        return;
    }
    m_values.TellAFriend(m_platform, m_window);
}

} // namespace woundwell
