#pragma once

#include "forms/FormFontSize.h"

#include <Qt>

class QLabel;
class QMenuBar;
class QString;
class QWidget;

namespace woundwell {

// Helpers that turn a window built from its Designer form into a fixed-size window.
//
// Every form has a client area widget named "clientArea" holding all controls at absolute
// positions, and the two main windows have a menu bar named "menuBar" beside it. The forms
// mark some widgets with dynamic properties that these helpers act on; FormProperties.h lists
// them.

// Makes the desktop's fonts stand in for the fonts the forms name (Verdana, MS Sans Serif)
// where those are not installed. Call before any window is built.
void installFontSubstitutions();

// The window flags of every window: its kind (dialog or window), a fixed border, and only the
// close box in the title bar. Give them to the base class constructor, before setupUi(), so
// the window's controls are not styled twice.
[[nodiscard]] Qt::WindowFlags fixedWindowFlags(Qt::WindowType type);

// Builds the window's controls from its Designer form, each in the type size it shows (see
// FormFontSize.h).
template <typename Form, typename Window> void buildFromForm(Form &form, Window *window) {
    const FormFontSize builtInItsOwnSize(window);
    form.setupUi(window);
}

// Gives the window the caption, puts the menu bar (may be null) and the client area into a
// zero-margin layout of fixed size, applies the fonts, colours, looks and pointers the widgets'
// properties ask for, marks the focus on the buttons the desktop draws as on the program's own
// ones, keeps keys held with Alt or Meta from typing into its text boxes (see
// CommandKeys.h), sizes the auto-size labels to their captions, and centres the window on its
// screen. Call right after setupUi().
void setUpWindow(QWidget *window, const QString &caption, QWidget *clientArea, QMenuBar *menuBar);

// Resizes an auto-size label to its caption on one line, its left and top edges fixed. Call
// after changing the caption of such a label.
void refitAutoSizeLabel(QLabel *label);

} // namespace woundwell
