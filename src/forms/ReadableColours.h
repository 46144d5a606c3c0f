#pragma once

class QColor;
class QFont;
class QWidget;

namespace woundwell {

// The forms fix some colours and leave the rest to the desktop's colour scheme. Where a
// control's text and what is painted behind it are one of each, a dark or high-contrast scheme
// can make the text unreadable: the desktop's light text on a fixed white, or fixed dark blue
// text on the desktop's dark button face. There the desktop's colour gives way to the colour
// that role has on the classic light desktop the forms were drawn for. Pairs the forms fix
// wholly stay as drawn, and pairs wholly the desktop's stay the desktop's.

// The WCAG 2 contrast ratio of two colours: 1 for the same colour, 21 for black and white.
[[nodiscard]] double contrastRatio(const QColor &one, const QColor &other);

// The least contrast at which text in this font reads: 3 for large text (18 pt, or 14 pt
// bold), 4.5 for the rest.
[[nodiscard]] double readableContrast(const QFont &font);

// Gives the widgets that the form marks with "desktopColours" the desktop's window colours, and
// makes every text of the window readable as described above. It does both again whenever the
// desktop's colours change while the window is open. A widget whose colours gave way names the
// roles in its "classicColours" property. Call once, after the window's roles and fonts are set.
void followDesktopColours(QWidget *window);

} // namespace woundwell
