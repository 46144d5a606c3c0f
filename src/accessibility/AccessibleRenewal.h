#pragma once

class QWidget;

namespace woundwell {

// Shows a window to assistive technology as new, each of its controls under a fresh accessible
// object. A screen reader keeps what it once learnt of an object: met while its window was
// hidden, a control stays invisible to it after the window is shown, as Qt reports the window
// and its controls coming into view but not becoming visible, and its review of the window finds
// nothing. Call as the window is shown.
void renewAccessibleObjects(QWidget *window);

// The same for one widget, whether or not anybody listens yet: the next question about it builds
// its object anew, under a new path, from what the widget is then.
void renewAccessibleObject(QWidget *widget);

} // namespace woundwell
