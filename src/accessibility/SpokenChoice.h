#pragma once

class QComboBox;

namespace woundwell {

// Names every drop-down list that the user can only choose from by its caption (its accessible
// name, or the text of the label it is the buddy of), with the item it shows as its value. Qt on
// Linux names such a list after that item and leaves the caption to a labelled-by relation,
// which not every screen reader reads: Orca 48 then drops the name as a repeat of the item and
// announces a bare "combo box". Call before the first list is built.
void nameChoiceListsByCaption();

// Lets a screen reader say which item a closed drop-down list shows, as the list takes the
// focus and each time the arrow keys change it. Qt 6.4 reports a change of item only through
// the list's selection, which it cannot pass on over AT-SPI, and keeps the item out of what a
// screen reader speaks for the list itself; so the list reports its chosen item as the point of
// regard, as a screen reader makes it of a list's newly selected item.
void speakChosenItem(QComboBox *list);

} // namespace woundwell
