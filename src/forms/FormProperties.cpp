#include "forms/FormProperties.h"

#include <QMetaEnum>
#include <QMetaType>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <iterator>

namespace woundwell::form {

namespace {

struct Property {
    const char *name;
    QMetaType::Type type;
    // The class a widget must be or extend for the property to act on it; null: any widget.
    const char *widgetClass;
};

constexpr Property Properties[] = {
    {Pointer, QMetaType::QString, nullptr},        {AutoSize, QMetaType::Bool, "QLabel"},
    {PointSizeF, QMetaType::Double, nullptr},      {BackgroundRole, QMetaType::QString, nullptr},
    {ForegroundRole, QMetaType::QString, nullptr}, {DesktopColours, QMetaType::Bool, nullptr},
    {ClassicLook, QMetaType::QString, nullptr},
};

struct PointerName {
    PointerShape shape;
    QLatin1String name;
};

constexpr PointerName Pointers[] = {
    {PointerShape::Hand, QLatin1String("hand")},
    {PointerShape::PlainHand, QLatin1String("plainHand")},
};

struct LookName {
    Look look;
    QLatin1String name;
    const char *widgetClass;
};

// ClassicStyle draws each of these looks for its kind of widget alone.
constexpr LookName Looks[] = {
    {Look::Raised, QLatin1String("raised"), "QPushButton"},
    {Look::Plain, QLatin1String("plain"), "QLineEdit"},
    {Look::Plain, QLatin1String("plain"), "QComboBox"},
    {Look::Plain, QLatin1String("plain"), "QGroupBox"},
    {Look::Etched, QLatin1String("etched"), "QGroupBox"},
};

PointerShape pointerNamed(const QString &name) {
    const auto found =
        std::find_if(std::begin(Pointers), std::end(Pointers),
                     [&](const PointerName &pointer) { return name == pointer.name; });
    return found != std::end(Pointers) ? found->shape : PointerShape::Default;
}

QPalette::ColorRole roleNamed(const QString &name) {
    bool known = false;
    const int role =
        QMetaEnum::fromType<QPalette::ColorRole>().keyToValue(name.toLatin1().constData(), &known);
    if (!known || role < 0 || role >= QPalette::NColorRoles)
        return QPalette::NoRole;
    return static_cast<QPalette::ColorRole>(role);
}

template <typename IsA> Look lookNamed(const QString &name, IsA isA) {
    const auto found = std::find_if(std::begin(Looks), std::end(Looks), [&](const LookName &look) {
        return name == look.name && isA(look.widgetClass);
    });
    return found != std::end(Looks) ? found->look : Look::None;
}

QLatin1String typeName(QMetaType type) {
    return type.isValid() ? QLatin1String(type.name()) : QLatin1String("value of another kind");
}

} // namespace

PointerShape pointerOf(const QWidget *widget) {
    return pointerNamed(widget->property(Pointer).toString());
}

QPalette::ColorRole colourRoleOf(const QWidget *widget, const char *property) {
    const QVariant value = widget->property(property);
    return value.isValid() ? roleNamed(value.toString()) : QPalette::NoRole;
}

Look lookOf(const QWidget *widget) {
    const QVariant value = widget->property(ClassicLook);
    if (!value.isValid())
        return Look::None;
    return lookNamed(value.toString(),
                     [widget](const char *widgetClass) { return widget->inherits(widgetClass); });
}

QString propertyFault(const QStringList &widgetClasses, const QString &name,
                      const QVariant &value) {
    const auto isA = [&](const char *widgetClass) {
        return widgetClasses.contains(QLatin1String(widgetClass));
    };
    const auto property =
        std::find_if(std::begin(Properties), std::end(Properties),
                     [&](const Property &known) { return name == QLatin1String(known.name); });
    if (property == std::end(Properties))
        return QStringLiteral("no code reads a property named %1").arg(name);
    if (value.typeId() != property->type) {
        return QStringLiteral("%1 takes a %2, not a %3")
            .arg(name, typeName(QMetaType(property->type)), typeName(value.metaType()));
    }
    if (property->widgetClass != nullptr && !isA(property->widgetClass)) {
        return QStringLiteral("%1 acts on a %2 only")
            .arg(name, QLatin1String(property->widgetClass));
    }

    const QString text = value.toString();
    if (name == QLatin1String(Pointer) && pointerNamed(text) == PointerShape::Default)
        return QStringLiteral("%1 is not a pointer (hand, plainHand)").arg(text);
    if ((name == QLatin1String(BackgroundRole) || name == QLatin1String(ForegroundRole)) &&
        roleNamed(text) == QPalette::NoRole)
        return QStringLiteral("%1 is not a palette colour role").arg(text);
    if (name == QLatin1String(ClassicLook) && lookNamed(text, isA) == Look::None) {
        return QStringLiteral("%1 is not a look for a %2 (raised: push button; plain: text box, "
                              "combo box, group box; etched: group box)")
            .arg(text, widgetClasses.value(0));
    }
    if (name == QLatin1String(PointSizeF) && !(value.toDouble() > 0))
        return QStringLiteral("%1 is not a point size").arg(text);
    return {};
}

} // namespace woundwell::form
