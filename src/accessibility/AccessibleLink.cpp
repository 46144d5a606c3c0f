#include "accessibility/AccessibleLink.h"

#include "accessibility/AccessibleRole.h"

#include <QAccessibleWidget>
#include <QGroupBox>
#include <QLabel>

namespace woundwell {

namespace {

class AccessibleLink final : public QAccessibleWidget {
public:
    AccessibleLink(QLabel *label, void (*follow)(QLabel *))
        : QAccessibleWidget(label, QAccessible::Link)
        , m_follow(follow) {}

    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Name && label()->accessibleName().isEmpty())
            return label()->text();
        if (t == QAccessible::Description && label()->accessibleDescription().isEmpty()) {
            if (const auto *box = qobject_cast<const QGroupBox *>(label()->parentWidget()))
                return box->title();
        }
        return QAccessibleWidget::text(t);
    }

    QStringList actionNames() const override { return {pressAction()}; }

    void doAction(const QString &actionName) override {
        if (actionName == pressAction())
            m_follow(label());
    }

private:
    QLabel *label() const { return static_cast<QLabel *>(widget()); }

    void (*m_follow)(QLabel *);
};

} // namespace

void showAsLink(const QMetaObject &labelClass, void (*follow)(QLabel *label)) {
    setAccessibleInterface(labelClass, [follow](QWidget *widget) {
        return new AccessibleLink(static_cast<QLabel *>(widget), follow);
    });
}

} // namespace woundwell
