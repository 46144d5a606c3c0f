#pragma once

#include <QAccessible>

#include <functional>

class QAccessibleInterface;
class QWidget;
struct QMetaObject;

namespace woundwell {

// What assistive technology sees of every widget of exactly one class, where Qt would show it
// as its base class: an interface written for that class, or Qt's with another role. One factory
// serves them all. Call before such a widget is first built.
void setAccessibleInterface(const QMetaObject &widgetClass,
                            std::function<QAccessibleInterface *(QWidget *)> make);
void setAccessibleRole(const QMetaObject &widgetClass, QAccessible::Role role);

} // namespace woundwell
