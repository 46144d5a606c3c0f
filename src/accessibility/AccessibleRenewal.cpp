#include "accessibility/AccessibleRenewal.h"

#include <QAccessible>
#include <QWidget>

namespace woundwell {

void renewAccessibleObjects(QWidget *window) {
    // Nobody has asked for an object yet: there is nothing to renew, and asking would build them.
    if (!QAccessible::isActive())
        return;
    QList<QWidget *> widgets = window->findChildren<QWidget *>();
    widgets.prepend(window);
    for (QWidget *widget : widgets)
        renewAccessibleObject(widget);
}

void renewAccessibleObject(QWidget *widget) {
    QAccessible::deleteAccessibleInterface(
        QAccessible::uniqueId(QAccessible::queryAccessibleInterface(widget)));
}

} // namespace woundwell
