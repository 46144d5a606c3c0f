#include "accessibility/AccessibleRole.h"

#include <QAccessibleWidget>
#include <QHash>
#include <QMetaObject>
#include <QWidget>

namespace woundwell {

namespace {

using Maker = std::function<QAccessibleInterface *(QWidget *)>;

QHash<QString, Maker> &makersByClass() {
    static QHash<QString, Maker> makers;
    return makers;
}

QAccessibleInterface *accessibleOfOurOwn(const QString &className, QObject *object) {
    const auto found = makersByClass().constFind(className);
    if (found == makersByClass().cend() || !object->isWidgetType())
        return nullptr;
    return (*found)(static_cast<QWidget *>(object));
}

} // namespace

void setAccessibleInterface(const QMetaObject &widgetClass, Maker make) {
    if (makersByClass().isEmpty())
        QAccessible::installFactory(accessibleOfOurOwn);
    makersByClass().insert(QString::fromLatin1(widgetClass.className()), std::move(make));
}

void setAccessibleRole(const QMetaObject &widgetClass, QAccessible::Role role) {
    setAccessibleInterface(widgetClass,
                           [role](QWidget *widget) { return new QAccessibleWidget(widget, role); });
}

} // namespace woundwell
