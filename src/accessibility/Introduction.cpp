#include "accessibility/Introduction.h"

#include "accessibility/AccessibleRenewal.h"
#include "accessibility/AccessibleRole.h"

#include <QAccessibleWidget>
#include <QEvent>
#include <QHash>
#include <QKeySequence>
#include <QPushButton>

namespace woundwell {

namespace {

// The text that introduces a button, as a label of its own that nothing shows: the one label a
// screen reader reads (Orca 43 reads the first labelled-by relation only), with no place on the
// screen for a review of the window to find.
class IntroductionLabel final : public QAccessibleInterface {
public:
    IntroductionLabel(QPushButton *button, const QString &text)
        : m_button(button)
        , m_text(text) {}

    bool isValid() const override { return true; }
    QObject *object() const override { return nullptr; }
    QAccessibleInterface *parent() const override {
        return QAccessible::queryAccessibleInterface(m_button);
    }
    QAccessibleInterface *child(int) const override { return nullptr; }
    int childCount() const override { return 0; }
    int indexOfChild(const QAccessibleInterface *) const override { return -1; }
    QAccessibleInterface *childAt(int, int) const override { return nullptr; }
    QString text(QAccessible::Text text) const override {
        return text == QAccessible::Name ? m_text : QString();
    }
    void setText(QAccessible::Text, const QString &) override {}
    QRect rect() const override { return {}; }
    QAccessible::Role role() const override { return QAccessible::StaticText; }
    QAccessible::State state() const override { return {}; }

private:
    QPushButton *m_button;
    QString m_text;
};

class Introduction;

// Each button still introduced.
QHash<const QObject *, Introduction *> &introduced() {
    static QHash<const QObject *, Introduction *> buttons;
    return buttons;
}

// A button's introduction, which ends as the button first loses the focus. A screen reader keeps
// what it once learnt of an object, its labels among it, and Qt builds a button's object as it
// first takes the focus, even with nobody listening: each change of label renews the object.
class Introduction final : public QObject {
public:
    Introduction(QPushButton *button, const QString &text)
        : QObject(button)
        , label(QAccessible::registerAccessibleInterface(new IntroductionLabel(button, text))) {
        delete introduced().value(button);
        introduced().insert(button, this);
        button->installEventFilter(this);
    }
    ~Introduction() override {
        if (introduced().value(parent()) == this)
            introduced().remove(parent());
        QAccessible::deleteAccessibleInterface(label);
    }

    const QAccessible::Id label;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() == QEvent::FocusOut) {
            auto *button = static_cast<QWidget *>(watched);
            button->removeEventFilter(this);
            introduced().remove(button);
            deleteLater();
            // Once Qt has told of the focus leaving, with the object that had it.
            const auto renewButton = [button] { renewAccessibleObject(button); };
            QMetaObject::invokeMethod(button, renewButton, Qt::QueuedConnection);
        }
        return false;
    }
};

QString withoutMnemonic(QString text) {
    for (qsizetype at = text.indexOf(u'&'); at >= 0; at = text.indexOf(u'&', at + 1))
        text.remove(at, 1);
    return text;
}

// What Qt shows of a push button, with the introduction as its label.
class IntroducedButton final : public QAccessibleWidget {
public:
    explicit IntroducedButton(QPushButton *button)
        : QAccessibleWidget(button, QAccessible::PushButton) {}

    QString text(QAccessible::Text text) const override {
        if (text == QAccessible::Name && button()->accessibleName().isEmpty())
            return withoutMnemonic(button()->text());
        if (text == QAccessible::Accelerator)
            return QKeySequence::mnemonic(button()->text()).toString(QKeySequence::NativeText);
        return QAccessibleWidget::text(text);
    }

    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.pressed = button()->isDown();
        state.defaultButton = button()->isDefault();
        return state;
    }

    QStringList actionNames() const override {
        return QStringList(pressAction()) + QAccessibleWidget::actionNames();
    }
    void doAction(const QString &action) override {
        if (action == pressAction())
            button()->click();
        else
            QAccessibleWidget::doAction(action);
    }

    QList<std::pair<QAccessibleInterface *, QAccessible::Relation>>
    relations(QAccessible::Relation match) const override {
        auto found = QAccessibleWidget::relations(match);
        const Introduction *introduction = introduced().value(widget());
        // Qt gives each other object with the relation it bears to this one.
        if (introduction && (match & QAccessible::Label)) {
            QAccessibleInterface *label = QAccessible::accessibleInterface(introduction->label);
            found.emplace_back(label, QAccessible::Label);
        }
        return found;
    }

private:
    QPushButton *button() const { return static_cast<QPushButton *>(widget()); }
};

} // namespace

void introduceWith(QPushButton *button, const QString &text) {
    // Every other push button stays as Qt shows it.
    setAccessibleInterface(QPushButton::staticMetaObject, [](QWidget *widget) {
        return introduced().contains(widget)
                   ? new IntroducedButton(static_cast<QPushButton *>(widget))
                   : nullptr;
    });
    new Introduction(button, text);
    renewAccessibleObject(button);
}

} // namespace woundwell
