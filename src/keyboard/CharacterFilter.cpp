#include "keyboard/CharacterFilter.h"

#include <QCoreApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>

#include <algorithm>
#include <vector>

namespace woundwell {

namespace {

// The characters a key press types into a text box, or nothing for a key that types nothing:
// moving, deleting, Tab, Esc and Enter, and Alt combinations, which belong to the menus and
// access keys and type nothing at all (CommandKeys.h). Ctrl with a letter types its control
// character (Ctrl+C types character 3), as it does at a terminal, so the rule sees pasting and the
// like too.
std::optional<QString> typedCharacters(const QKeyEvent &key) {
    switch (key.key()) {
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Delete:
        return std::nullopt;
    default:
        break;
    }
    const Qt::KeyboardModifiers modifiers = key.modifiers();
    if (modifiers & (Qt::AltModifier | Qt::MetaModifier))
        return std::nullopt;
    if ((modifiers & Qt::ControlModifier) && key.key() >= Qt::Key_A && key.key() <= Qt::Key_Z)
        return QString(QChar(static_cast<char16_t>(key.key() - Qt::Key_A + 1)));
    if (key.text().isEmpty())
        return std::nullopt;
    return key.text();
}

struct Filtered {
    QString text;
    // For each character of the original text, where it lands in the filtered one (for a
    // refused character, where the next kept one lands), and one more entry for the end.
    std::vector<int> position;
    int refusals = 0;
};

Filtered applyRule(const QString &text, CharacterFilter::Rule rule) {
    Filtered out;
    out.position.reserve(static_cast<std::size_t>(text.size()) + 1);
    for (const QChar c : text) {
        out.position.push_back(static_cast<int>(out.text.size()));
        if (const std::optional<char16_t> kept = rule(c.unicode()))
            out.text.append(QChar(*kept));
        else
            ++out.refusals;
    }
    out.position.push_back(static_cast<int>(out.text.size()));
    return out;
}

// The attributes of a preedit text, moved to where their characters land once filtered. A
// cursor is a position (its length says whether it shows); a selection counts in the box's
// text, not the preedit's, and stays as it is.
QList<QInputMethodEvent::Attribute> moved(const QList<QInputMethodEvent::Attribute> &attributes,
                                          const Filtered &preedit) {
    const auto at = [&](int index) {
        const auto last = static_cast<int>(preedit.position.size()) - 1;
        return preedit.position[static_cast<std::size_t>(std::clamp(index, 0, last))];
    };
    QList<QInputMethodEvent::Attribute> result;
    for (QInputMethodEvent::Attribute a : attributes) {
        switch (a.type) {
        case QInputMethodEvent::Cursor:
            a.start = at(a.start);
            break;
        case QInputMethodEvent::TextFormat:
        case QInputMethodEvent::Language:
        case QInputMethodEvent::Ruby: {
            const int start = at(a.start);
            a.length = at(a.start + a.length) - start;
            a.start = start;
            break;
        }
        default:
            break;
        }
        result.append(a);
    }
    return result;
}

} // namespace

CharacterFilter::CharacterFilter(QLineEdit *box, Rule rule)
    : QObject(box)
    , m_box(box)
    , m_rule(rule) {
    box->installEventFilter(this);
}

bool CharacterFilter::eventFilter(QObject *watched, QEvent *event) {
    if (watched != m_box || m_forwarding)
        return false;
    if (event->type() == QEvent::KeyPress)
        return filterKey(*static_cast<QKeyEvent *>(event));
    if (event->type() == QEvent::InputMethod)
        return filterInputMethod(*static_cast<QInputMethodEvent *>(event));
    return false;
}

bool CharacterFilter::filterKey(const QKeyEvent &key) {
    const std::optional<QString> typed = typedCharacters(key);
    if (!typed)
        return false; // not a character: editing, moving and the window's own keys
    const Filtered filtered = applyRule(*typed, m_rule);
    if (filtered.refusals > 0) {
        emit refused();
        return true;
    }
    if (filtered.text == *typed)
        return false; // let the box insert it as typed
    m_box->insert(filtered.text);
    return true;
}

bool CharacterFilter::filterInputMethod(const QInputMethodEvent &event) {
    const Filtered commit = applyRule(event.commitString(), m_rule);
    const Filtered preedit = applyRule(event.preeditString(), m_rule);
    if (commit.text == event.commitString() && preedit.text == event.preeditString())
        return false;

    QInputMethodEvent filtered(preedit.text, moved(event.attributes(), preedit));
    filtered.setCommitString(commit.text, event.replacementStart(), event.replacementLength());
    m_forwarding = true;
    QCoreApplication::sendEvent(m_box, &filtered);
    m_forwarding = false;
    // Refused characters in the preedit text are only left out of sight: they are reported
    // when the input method commits them.
    for (int i = 0; i < commit.refusals; ++i)
        emit refused();
    return true;
}

} // namespace woundwell
