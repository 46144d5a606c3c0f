#pragma once

#include <QAccessible>

struct QMetaObject;

namespace woundwell {

// Makes assistive technology see every widget of exactly this class with the given role, where
// Qt would give it the role of its base class. Call before such a widget is first built.
void setAccessibleRole(const QMetaObject &widgetClass, QAccessible::Role role);

} // namespace woundwell
