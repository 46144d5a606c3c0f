#include "forms/ClickableLabel.h"

#include "forms/AccessibleRole.h"

#include <QAccessibleWidget>
#include <QGroupBox>
#include <QMouseEvent>

namespace woundwell {

namespace {

// What a screen reader sees: a link named by its caption, which its press action follows.
// Qt would name a widget in a group box after the box's title; a link's name has to hold the
// words a sighted user sees and may say aloud to speech control, so the title becomes its
// description instead.
class AccessibleLink final : public QAccessibleWidget {
public:
    explicit AccessibleLink(ClickableLabel *label)
        : QAccessibleWidget(label, QAccessible::Link) {}

    QString text(QAccessible::Text t) const override {
        const auto *label = static_cast<const ClickableLabel *>(widget());
        if (t == QAccessible::Name && label->accessibleName().isEmpty())
            return label->text();
        if (t == QAccessible::Description && label->accessibleDescription().isEmpty()) {
            if (const auto *box = qobject_cast<const QGroupBox *>(label->parentWidget()))
                return box->title();
        }
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString &actionName) override {
        if (actionName == pressAction())
            static_cast<ClickableLabel *>(widget())->click();
    }
};

// Swallows the double click that the desktop delivers in place of a second press.
class DoubleClickFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::MouseButtonDblClick)
            return true;
        return QObject::eventFilter(watched, event);
    }
};

} // namespace

ClickableLabel::ClickableLabel(QWidget *parent)
    : QLabel(parent) {
    setAccessibleInterface(staticMetaObject, [](QWidget *widget) {
        return new AccessibleLink(static_cast<ClickableLabel *>(widget));
    });
}

void ClickableLabel::click() {
    emit clicked();
}

ClickableLabel::~ClickableLabel() = default;

void ClickableLabel::mousePressEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton) {
        m_pressed = true;
        event->accept();
        return;
    }
    QLabel::mousePressEvent(event);
}

void ClickableLabel::mouseReleaseEvent(QMouseEvent *event) {
    if (event->button() == Qt::LeftButton && m_pressed) {
        m_pressed = false;
        event->accept();
        if (rect().contains(event->position().toPoint()))
            click();
        return;
    }
    QLabel::mouseReleaseEvent(event);
}

void ClickableLabel::mouseDoubleClickEvent(QMouseEvent *event) {
    // Not a press: its release then finds nothing pressed and clicks nothing.
    event->accept();
}

void ClickableLabel::ignoreDoubleClicks(QWidget *button) {
    button->installEventFilter(new DoubleClickFilter(button));
}

} // namespace woundwell
