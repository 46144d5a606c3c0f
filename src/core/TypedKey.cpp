#include "core/TypedKey.h"

#include <QKeyEvent>

namespace woundwell {

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

} // namespace woundwell
