#pragma once

#include <QObject>

#include <optional>

class QInputMethodEvent;
class QKeyEvent;
class QLineEdit;

namespace woundwell {

// Holds a text box to a rule for every character that reaches it: typed on the keyboard, or
// committed by an input method (a dead key, a compose sequence, IBus and the like), each such
// character as if it had been typed in turn. The rule gives the character to insert, or
// nothing to refuse it; a refused character is dropped and reported through refused(). Text
// still being composed is shown as the rule would insert it.
class CharacterFilter final : public QObject {
    Q_OBJECT

public:
    using Rule = std::optional<char16_t> (*)(char16_t);

    // Filters box for as long as it lives, which also owns the filter.
    CharacterFilter(QLineEdit *box, Rule rule);

signals:
    // Once for each refused character, after the box has taken the others.
    void refused();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    bool filterKey(const QKeyEvent &key);
    bool filterInputMethod(const QInputMethodEvent &event);

    QLineEdit *m_box;
    Rule m_rule;
    bool m_forwarding = false;
};

} // namespace woundwell
