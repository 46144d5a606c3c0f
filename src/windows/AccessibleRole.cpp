#include "windows/AccessibleRole.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QMetaObject>
#include <QWidget>

namespace woundwell {

namespace {

QHash<QString, QAccessible::Role> &rolesByClass() {
    static QHash<QString, QAccessible::Role> roles;
    return roles;
}

QAccessibleInterface *accessibleWithRole(const QString &className, QObject *object) {
    const auto found = rolesByClass().constFind(className);
    if (found == rolesByClass().cend() || !object->isWidgetType())
        return nullptr;
    return new QAccessibleWidget(static_cast<QWidget *>(object), *found);
}

} // namespace

void setAccessibleRole(const QMetaObject &widgetClass, QAccessible::Role role) {
    if (rolesByClass().isEmpty())
        QAccessible::installFactory(accessibleWithRole);
    rolesByClass().insert(QString::fromLatin1(widgetClass.className()), role);
}

} // namespace woundwell
