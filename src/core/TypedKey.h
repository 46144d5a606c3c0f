#pragma once

#include <QString>

#include <optional>

class QKeyEvent;

namespace woundwell {

// The characters a key press types into a text box, as a key filter sees them, or nothing for a
// key that types nothing: moving, deleting, Tab, Esc and Enter, and Alt combinations, which
// belong to the menus and access keys. Ctrl with a letter types its control character (Ctrl+C
// types character 3), as it does at a terminal.
[[nodiscard]] std::optional<QString> typedCharacters(const QKeyEvent &key);

} // namespace woundwell
