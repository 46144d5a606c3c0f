#pragma once

class QWidget;

namespace woundwell {

// Moves the window so that its frame, title bar included, is centred on the available area of
// its screen, and centres it again once it is first shown if the frame turns out other than
// estimated; each later time it is shown, it goes back to where it was when hidden.
// setUpWindow() does this for the forms; call it for any other window before it is shown.
void centreOnScreen(QWidget *window);

} // namespace woundwell
