#include "forms/ClickableLabel.h"

#include "accessibility/AccessibleLink.h"

#include <QMouseEvent>

namespace woundwell {

namespace {

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
    showAsLink(staticMetaObject,
               [](QLabel *label) { static_cast<ClickableLabel *>(label)->click(); });
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
