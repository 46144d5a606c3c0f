#pragma once

class QLabel;

namespace woundwell {

// Lets the user select a label's text with the mouse and copy it, with Ctrl+C or with the
// context menu's Copy, for texts a person may want to keep or share. The label takes the focus
// only when clicked, so the Tab order stays as it was.
void makeTextSelectable(QLabel *label);

} // namespace woundwell
