#pragma once

class QWidget;

namespace woundwell {

// A key held with Alt or Meta is a command to the window, never a character: an access key, a
// menu key or a shortcut, which the window takes before the key reaches the focused control. A
// text box left to itself would type the character of any such key the window has no use for,
// past whatever rule the box keeps on what is typed (Alt+1 would put "1" into a box that takes
// only letters). This makes every text box of window type nothing for those keys; keys that
// type no character (moving, deleting, Tab, Enter) stay the box's own. AltGr, which types
// characters, comes without Alt on X11, so what it types still meets the box's rule.
void keepCommandKeysFromTyping(QWidget *window);

} // namespace woundwell
