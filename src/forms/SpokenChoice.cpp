#include "forms/SpokenChoice.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QComboBox>
#include <QEvent>

namespace woundwell {

namespace {

void reportChosenItem(QComboBox *list) {
    if (!list->hasFocus() || list->currentIndex() < 0)
        return;
    QAccessibleEvent event(list->view(), QAccessible::Focus);
    event.setChild(list->currentIndex());
    QAccessible::updateAccessibility(&event);
}

class ChosenItemReport final : public QObject {
public:
    explicit ChosenItemReport(QComboBox *list)
        : QObject(list) {
        list->installEventFilter(this);
        connect(list, &QComboBox::currentIndexChanged, this, [list] { reportChosenItem(list); });
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        // After Qt has reported the list itself as focused, which it does once the focus event
        // has been handled.
        if (watched == parent() && event->type() == QEvent::FocusIn)
            QMetaObject::invokeMethod(
                this, [list = static_cast<QComboBox *>(parent())] { reportChosenItem(list); },
                Qt::QueuedConnection);
        return false;
    }
};

} // namespace

void speakChosenItem(QComboBox *list) {
    new ChosenItemReport(list);
}

} // namespace woundwell
