#pragma once

#include <QObject>

#include <array>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QWidget;

namespace woundwell {

class Platform;
class modTellAFriend;

// The farewell window's refer-a-friend form: each box shows its prompt until the user enters
// it, the e-mail boxes refuse spaces, and the submit button checks the entries and opens the
// maker's refer-a-friend page with them.
class ReferralForm final : public QObject {
    Q_OBJECT

public:
    struct Boxes {
        QLineEdit *txtName;
        QLineEdit *txtEmail;
        QPlainTextEdit *txtMessage;
        QLineEdit *txtFriendName;
        QLineEdit *txtFriendEmail;
        QPushButton *cmdSubmit;
    };

    // What a submission sends is kept in values, which outlives the form.
    ReferralForm(Platform &platform, modTellAFriend &values, QWidget *window, const Boxes &boxes);

    void submit();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    enum Field { Name, Email, Message, FriendName, FriendEmail, FieldCount };

    [[nodiscard]] QString text(int field) const;
    void setText(int field, const QString &text);
    void refuse(const QString &message);
    // Empties the box that was entered last, if it still shows its prompt.
    void clearPrompt();

    Platform &m_platform;
    modTellAFriend &m_values;
    QWidget *m_window;
    Boxes m_boxes;
    std::array<QWidget *, FieldCount> m_fields;
    int m_promptToClear = -1;
};

} // namespace woundwell
