#include "forms/ReadableColours.h"

#include "forms/FormProperties.h"

#include <QAbstractButton>
#include <QApplication>
#include <QColor>
#include <QComboBox>
#include <QEvent>
#include <QFont>
#include <QGroupBox>
#include <QHash>
#include <QLabel>
#include <QLineEdit>
#include <QMetaEnum>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScopedValueRollback>
#include <QVariant>
#include <QWidget>

#include <cmath>
#include <utility>

namespace woundwell {

namespace {

constexpr const char *GaveWayProperty = "classicColours";
constexpr double ReadableContrast = 4.5;
constexpr double ReadableContrastLarge = 3.0;
constexpr double LargePointSize = 18.0;
constexpr double LargeBoldPointSize = 14.0;

constexpr QPalette::ColorGroup ColourGroups[] = {QPalette::Active, QPalette::Inactive,
                                                 QPalette::Disabled};

// The colour a role has on the classic light desktop: black text on white boxes and grey faces.
QColor classicColour(QPalette::ColorRole role) {
    switch (role) {
    case QPalette::Window:
    case QPalette::Button:
        return QColor(0xD4, 0xD0, 0xC8);
    case QPalette::Base:
        return QColor(Qt::white);
    default:
        return QColor(Qt::black);
    }
}

double relativeLuminance(const QColor &colour) {
    const auto linear = [](float channel) {
        return channel <= 0.04045f ? channel / 12.92 : std::pow((channel + 0.055) / 1.055, 2.4);
    };
    const QColor rgb = colour.toRgb();
    return 0.2126 * linear(rgb.redF()) + 0.7152 * linear(rgb.greenF()) +
           0.0722 * linear(rgb.blueF());
}

// One text of a control and what is painted behind it: the text in the control's textRole, on
// the backgroundRole of the widget that paints the background.
struct TextPair {
    QPalette::ColorRole textRole;
    QWidget *background;
    QPalette::ColorRole backgroundRole;
};

// The widget that paints what shows through a widget that paints no background of its own.
QWidget *paintedBehind(QWidget *widget) {
    QWidget *painter = widget;
    while (!painter->isWindow() && !painter->autoFillBackground())
        painter = painter->parentWidget();
    return painter;
}

// The texts a widget shows, as the windows' style draws them.
QList<TextPair> textPairs(QWidget *widget) {
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        if (label->text().isEmpty())
            return {};
        QWidget *behind = paintedBehind(label);
        return {{label->foregroundRole(), behind, behind->backgroundRole()}};
    }
    if (qobject_cast<QAbstractButton *>(widget) != nullptr)
        return {{QPalette::ButtonText, widget, QPalette::Button}};
    if (auto *group = qobject_cast<QGroupBox *>(widget)) {
        if (group->title().isEmpty())
            return {};
        return {{QPalette::WindowText, group, group->backgroundRole()}};
    }
    if (qobject_cast<QLineEdit *>(widget) != nullptr ||
        qobject_cast<QPlainTextEdit *>(widget) != nullptr)
        return {{QPalette::Text, widget, QPalette::Base}};
    // The chosen item on the face, and the items of the open list.
    if (qobject_cast<QComboBox *>(widget) != nullptr)
        return {{QPalette::Text, widget, QPalette::Button},
                {QPalette::Text, widget, QPalette::Base}};
    return {};
}

bool keepsDesktopColours(const QWidget *widget) {
    return widget->property(form::DesktopColours).toBool();
}

// Gives the widget the desktop's window background and text colours, the colours that the
// forms set on containers, in place of those it takes from its container.
void useDesktopColours(QWidget *widget) {
    const QPalette desktop = QApplication::palette(widget);
    QPalette palette = widget->palette();
    for (const QPalette::ColorGroup group : ColourGroups) {
        for (const QPalette::ColorRole role : {QPalette::Window, QPalette::WindowText})
            palette.setBrush(group, role, desktop.brush(group, role));
    }
    widget->setPalette(palette);
}

// Watches one window: applies the colours when made and again after each change of the
// desktop's colours, once the widgets have taken the new ones.
class ColourFollower final : public QObject {
public:
    explicit ColourFollower(QWidget *window)
        : QObject(window)
        , m_window(window) {
        window->installEventFilter(this);
    }

    void apply() {
        m_pending = false;
        const QScopedValueRollback applying(m_applying, true);
        restoreFormColours();
        const QList<QWidget *> widgets = m_window->findChildren<QWidget *>();
        for (QWidget *widget : widgets) {
            if (keepsDesktopColours(widget)) {
                remember(widget);
                useDesktopColours(widget);
            }
        }
        // Parents come before their children, so a container's colour is settled before the
        // labels on it are judged.
        for (QWidget *widget : widgets) {
            for (const TextPair &pair : textPairs(widget))
                makeReadable(widget, pair);
        }
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (watched == m_window && event->type() == QEvent::PaletteChange && !m_pending &&
            !m_applying) {
            // The window has the desktop's new colours and passes them on to its widgets once
            // this event is through; judge the colours after that.
            m_pending = true;
            QMetaObject::invokeMethod(this, &ColourFollower::apply, Qt::QueuedConnection);
        }
        return QObject::eventFilter(watched, event);
    }

private:
    // Whether the form fixes the role's colour for the widget, on the widget itself or on a
    // container it takes the colour from. Roles the form leaves alone follow the desktop.
    bool isFixed(const QWidget *widget, QPalette::ColorRole role) const {
        for (const QWidget *up = widget; up != nullptr;
             up = up->isWindow() ? nullptr : up->parentWidget()) {
            if (keepsDesktopColours(up) &&
                (role == QPalette::Window || role == QPalette::WindowText))
                return false;
            const QPalette own = m_formPalettes.value(up, up->palette());
            if (up->testAttribute(Qt::WA_SetPalette) && own.isBrushSet(QPalette::Active, role))
                return true;
        }
        return false;
    }

    void makeReadable(QWidget *widget, const TextPair &pair) {
        const bool textFixed = isFixed(widget, pair.textRole);
        if (textFixed == isFixed(pair.background, pair.backgroundRole))
            return;
        const QColor text = widget->palette().color(QPalette::Active, pair.textRole);
        const QColor background =
            pair.background->palette().color(QPalette::Active, pair.backgroundRole);
        if (contrastRatio(text, background) >= readableContrast(widget->font()))
            return;
        // The desktop's side of the pair gives way.
        QWidget *target = textFixed ? pair.background : widget;
        const QPalette::ColorRole role = textFixed ? pair.backgroundRole : pair.textRole;
        remember(target);
        QPalette palette = target->palette();
        for (const QPalette::ColorGroup group : ColourGroups)
            palette.setColor(group, role, classicColour(role));
        target->setPalette(palette);
        // Says which of its colours gave way, for whoever inspects the widget.
        QStringList gaveWay = target->property(GaveWayProperty).toStringList();
        gaveWay.append(
            QString::fromLatin1(QMetaEnum::fromType<QPalette::ColorRole>().valueToKey(role)));
        target->setProperty(GaveWayProperty, gaveWay);
    }

    // Keeps the colours the form gave the widget, before they are first changed here.
    void remember(QWidget *widget) {
        if (!m_formPalettes.contains(widget)) {
            m_formPalettes.insert(widget, widget->palette());
            m_changed.append(widget);
        }
    }

    // Back to the form's own colours; the roles the form leaves alone take the desktop's.
    void restoreFormColours() {
        for (const QPointer<QWidget> &widget : std::as_const(m_changed)) {
            if (widget) {
                widget->setPalette(m_formPalettes.value(widget));
                widget->setProperty(GaveWayProperty, QVariant());
            }
        }
    }

    QWidget *m_window;
    QHash<const QWidget *, QPalette> m_formPalettes;
    QList<QPointer<QWidget>> m_changed;
    bool m_pending = false;
    bool m_applying = false;
};

} // namespace

double contrastRatio(const QColor &one, const QColor &other) {
    const double a = relativeLuminance(one);
    const double b = relativeLuminance(other);
    return (std::max(a, b) + 0.05) / (std::min(a, b) + 0.05);
}

double readableContrast(const QFont &font) {
    const double size = font.pointSizeF();
    const bool large = size >= LargePointSize || (size >= LargeBoldPointSize && font.bold());
    return large ? ReadableContrastLarge : ReadableContrast;
}

void followDesktopColours(QWidget *window) {
    (new ColourFollower(window))->apply();
}

} // namespace woundwell
