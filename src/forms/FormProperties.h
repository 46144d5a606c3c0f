#pragma once

#include <QPalette>
#include <QString>
#include <QStringList>

class QVariant;
class QWidget;

namespace woundwell::form {

// The dynamic properties the Designer forms set on widgets (stdset="0"), which setUpWindow()
// and ClassicStyle act on. This is the one list of their names and of the values the code
// tells apart; a property or value missing from it changes nothing on screen, so the forms'
// test holds every form to it.
//   pointer  (string)  "hand" or "plainHand": the mouse pointer shown over the widget;
//   autoSize (bool, labels)  true: the label takes the size of its one-line caption, keeping
//                            its left and top edges (see refitAutoSizeLabel);
//   pointSizeF (double)      the size of the widget's font in points, for the sizes that
//                            are not whole points (a form gives font sizes in whole points);
//   backgroundRole, foregroundRole (string)  the palette colour role (a QPalette::ColorRole
//                            name such as "Button" or "Shadow") the widget fills its
//                            background or draws its text and plain frame with;
//   desktopColours (bool)    true: the widget keeps the desktop's window background and
//                            text colours rather than taking those of its container, also
//                            when the desktop's colours change (see ReadableColours.h);
//   classicLook (string)     the widget is drawn by ClassicStyle, which describes the looks:
//                            "raised" for push buttons, "plain" for text boxes, combo boxes
//                            and group boxes, "etched" for group boxes. A look given to
//                            another kind of widget is not drawn.
inline constexpr char Pointer[] = "pointer";
inline constexpr char AutoSize[] = "autoSize";
inline constexpr char PointSizeF[] = "pointSizeF";
inline constexpr char BackgroundRole[] = "backgroundRole";
inline constexpr char ForegroundRole[] = "foregroundRole";
inline constexpr char DesktopColours[] = "desktopColours";
inline constexpr char ClassicLook[] = "classicLook";

enum class PointerShape { Default, Hand, PlainHand };
enum class Look { None, Raised, Plain, Etched };

// What the widget's properties ask for; the default where the property is missing or holds a
// value the code does not know.
[[nodiscard]] PointerShape pointerOf(const QWidget *widget);
[[nodiscard]] QPalette::ColorRole colourRoleOf(const QWidget *widget, const char *property);
// Look::None also where the look is not one for the widget's kind.
[[nodiscard]] Look lookOf(const QWidget *widget);

// What keeps a property that a form sets on a widget from taking effect: a name the code does
// not read, a value of the wrong type, a value it does not tell apart, or a widget it does not
// apply to. widgetClasses holds the widget's class and the classes it extends, as the form
// names them. An empty string when the property does what the form asks.
[[nodiscard]] QString propertyFault(const QStringList &widgetClasses, const QString &name,
                                    const QVariant &value);

} // namespace woundwell::form
