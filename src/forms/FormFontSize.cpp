#include "forms/FormFontSize.h"

#include "forms/FormProperties.h"

#include <QChildEvent>
#include <QDynamicPropertyChangeEvent>
#include <QFont>
#include <QVariant>
#include <QWidget>

namespace woundwell {

FormFontSize::FormFontSize(QWidget *window)
    : m_window(window) {
    m_window->installEventFilter(this);
}

FormFontSize::~FormFontSize() {
    // The children it watches drop a filter that is gone by themselves.
    m_window->removeEventFilter(this);
}

bool FormFontSize::eventFilter(QObject *watched, QEvent *event) {
    if (event->type() == QEvent::ChildAdded && watched == m_window) {
        // Sent from the child's constructor, before the form gives it any property.
        QObject *child = static_cast<QChildEvent *>(event)->child();
        if (child->isWidgetType())
            child->installEventFilter(this);
    } else if (event->type() == QEvent::DynamicPropertyChange && watched != m_window &&
               static_cast<QDynamicPropertyChangeEvent *>(event)->propertyName() ==
                   form::PointSizeF) {
        auto *container = static_cast<QWidget *>(watched);
        const QVariant size = container->property(form::PointSizeF);
        if (size.isValid()) {
            QFont font = container->font();
            font.setPointSizeF(size.toDouble());
            container->setFont(font);
        }
    }
    return false;
}

} // namespace woundwell
