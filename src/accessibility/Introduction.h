#pragma once

class QPushButton;
class QString;

namespace woundwell {

// Lets a screen reader read what a window says before the button that has the focus as the window
// opens: the button is labelled by the text until it first loses the focus. Orca reads a focused
// control's label before its name and role, in speech and on the braille line, which Orca 48
// fills with the focused control alone, so that a window's own description never reaches it. From
// its first move on, the button is named by itself again, and moving between the buttons says only
// their names. Call before the window is shown.
void introduceWith(QPushButton *button, const QString &text);

} // namespace woundwell
