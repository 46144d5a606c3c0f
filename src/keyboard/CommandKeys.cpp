#include "keyboard/CommandKeys.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

namespace woundwell {

namespace {

bool typesWithCommandModifier(const QKeyEvent &key) {
    if (!(key.modifiers() & (Qt::AltModifier | Qt::MetaModifier)))
        return false;
    const QString text = key.text();
    return !text.isEmpty() && text.front().category() != QChar::Other_Control;
}

class CommandKeyFilter final : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        return event->type() == QEvent::KeyPress &&
               typesWithCommandModifier(*static_cast<QKeyEvent *>(event));
    }
};

} // namespace

void keepCommandKeysFromTyping(QWidget *window) {
    auto *filter = new CommandKeyFilter(window);
    for (QWidget *widget : window->findChildren<QWidget *>()) {
        if (qobject_cast<QLineEdit *>(widget) != nullptr ||
            qobject_cast<QPlainTextEdit *>(widget) != nullptr)
            widget->installEventFilter(filter);
    }
}

} // namespace woundwell
