#include "accessibility/SpokenChoice.h"

#include "accessibility/AccessibleRole.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QEvent>
#include <QStyle>
#include <QStyleOptionComboBox>

namespace woundwell {

namespace {

// What Qt shows of such a list, but for its name: the list of items as its one child, opened and
// closed by its action, with the state to match. The item shown is its value and its text, which
// a screen reader's review of the window reads where Qt's list gave its name.
class CaptionedList final : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit CaptionedList(QComboBox *list)
        : QAccessibleWidget(list, QAccessible::ComboBox) {}

    void *interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface)
            return static_cast<QAccessibleTextInterface *>(this);
        return QAccessibleWidget::interface_cast(type);
    }

    QString text(QAccessible::Text text) const override {
        if (text == QAccessible::Value)
            return shown();
        return QAccessibleWidget::text(text);
    }

    int childCount() const override { return 1; }
    QAccessibleInterface *child(int index) const override {
        return index == 0 ? QAccessible::queryAccessibleInterface(list()->view()) : nullptr;
    }
    int indexOfChild(const QAccessibleInterface *child) const override {
        return child && child->object() == list()->view() ? 0 : -1;
    }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = list()->view()->isVisible();
        return state;
    }

    QStringList actionNames() const override { return {showMenuAction(), pressAction()}; }
    void doAction(const QString &action) override {
        if (action != showMenuAction() && action != pressAction())
            return;
        if (list()->view()->isVisible())
            list()->hidePopup();
        else
            list()->showPopup();
    }

    // The item shown, as read-only text with no caret and no selection.
    QString text(int start, int end) const override {
        return shown().mid(start, end < 0 ? -1 : end - start);
    }
    int characterCount() const override { return int(shown().size()); }
    QRect characterRect(int offset) const override {
        if (offset < 0 || offset >= characterCount())
            return {};
        const QFontMetrics metrics = list()->fontMetrics();
        const QRect field = shownItemField();
        return {field.left() + metrics.horizontalAdvance(shown().left(offset)), field.top(),
                metrics.horizontalAdvance(shown().at(offset)), field.height()};
    }
    int offsetAtPoint(const QPoint &point) const override {
        for (int offset = 0; offset < characterCount(); ++offset) {
            if (characterRect(offset).contains(point))
                return offset;
        }
        return -1;
    }
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    int selectionCount() const override { return 0; }
    void selection(int, int *start, int *end) const override { *start = *end = 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    void scrollToSubstring(int, int) override {}
    QString attributes(int, int *start, int *end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    QComboBox *list() const { return static_cast<QComboBox *>(widget()); }
    QString shown() const { return list()->currentText(); }

    // Where the list draws the item it shows, on the screen.
    QRect shownItemField() const {
        QStyleOptionComboBox option;
        option.initFrom(list());
        option.frame = list()->hasFrame();
        const QRect field = list()->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                            QStyle::SC_ComboBoxEditField, list());
        return {list()->mapToGlobal(field.topLeft()), field.size()};
    }
};

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

void nameChoiceListsByCaption() {
    setAccessibleInterface(QComboBox::staticMetaObject, [](QWidget *widget) {
        auto *list = static_cast<QComboBox *>(widget);
        // One that can be typed in stays as Qt shows it.
        return list->isEditable() ? nullptr : new CaptionedList(list);
    });
}

void speakChosenItem(QComboBox *list) {
    new ChosenItemReport(list);
}

} // namespace woundwell
