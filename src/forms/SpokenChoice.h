#pragma once

class QComboBox;

namespace woundwell {

// Lets a screen reader say which item a closed drop-down list shows, as the list takes the
// focus and each time the arrow keys change it. Qt 6.4 reports a change of item only through
// the list's selection, which it cannot pass on over AT-SPI, and keeps the item out of what a
// screen reader speaks for the list itself; so the list reports its chosen item as the point of
// regard, as a screen reader makes it of a list's newly selected item.
void speakChosenItem(QComboBox *list);

} // namespace woundwell
