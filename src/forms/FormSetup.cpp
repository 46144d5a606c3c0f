#include "forms/FormSetup.h"

#include "forms/ClassicStyle.h"
#include "forms/FormProperties.h"
#include "forms/ReadableColours.h"
#include "forms/WindowPlacement.h"
#include "keyboard/CommandKeys.h"

#include <QApplication>
#include <QCoreApplication>
#include <QCursor>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QPushButton>
#include <QScopedValueRollback>
#include <QScreen>
#include <QStyleFactory>
#include <QVBoxLayout>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <limits>

// Q_INIT_RESOURCE must be used outside any namespace.
static void initFormsResources() {
    Q_INIT_RESOURCE(forms);
}

namespace woundwell {

namespace {

// Both hand pointers point with the tip of the index finger at this pixel of their 32 x 32
// image.
constexpr int HandHotSpotX = 12;
constexpr int HandHotSpotY = 0;

QCursor handPointer(const QString &picture) {
    // The pictures live in this static library, so they are registered by hand, once.
    [[maybe_unused]] static const bool registered = (initFormsResources(), true);
    return QCursor(QPixmap(picture), HandHotSpotX, HandHotSpotY);
}

const QCursor &handCursor() {
    static const QCursor cursor = handPointer(QStringLiteral(":/pointers/hand.png"));
    return cursor;
}

const QCursor &plainHandCursor() {
    static const QCursor cursor = handPointer(QStringLiteral(":/pointers/plainhand.png"));
    return cursor;
}

bool isAutoSizeLabel(const QLabel *label) {
    return label->property(form::AutoSize).toBool();
}

void applyPointer(QWidget *widget) {
    switch (form::pointerOf(widget)) {
    case form::PointerShape::Hand:
        widget->setCursor(handCursor());
        break;
    case form::PointerShape::PlainHand:
        widget->setCursor(plainHandCursor());
        break;
    case form::PointerShape::Default:
        break;
    }
}

QStyle *classicStyle() {
    // Made once, for the lifetime of the application, over a fresh copy of its style.
    static QPointer<ClassicStyle> style;
    if (style.isNull()) {
        style = new ClassicStyle(QStyleFactory::create(QApplication::style()->name()));
        style->setParent(QCoreApplication::instance());
    }
    return style;
}

// The desktop's style marks the focus on the buttons it draws faintly, in its highlight colour,
// and, on Qt 6.11, only while the window's last focus change came from the keyboard: any other
// one, the window taking the focus back as the user returns from the forum's browser included,
// hides it. Over the desktop's face such a button shows the classic dotted focus rectangle in
// its caption colour, as the program's own buttons do, whenever it has the focus.
class ClassicFocusMark final : public QObject {
public:
    explicit ClassicFocusMark(QPushButton *button)
        : QObject(button) {
        button->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        if (event->type() != QEvent::Paint || m_painting)
            return QObject::eventFilter(watched, event);
        auto *button = static_cast<QPushButton *>(watched);
        {
            // The face as the style draws it, then the mark over it.
            const QScopedValueRollback painting(m_painting, true);
            QCoreApplication::sendEvent(button, event);
        }
        if (button->hasFocus()) {
            QPainter painter(button);
            drawFocusRectangle(&painter, button->rect().adjusted(Inset, Inset, -Inset, -Inset),
                               button->palette().color(QPalette::ButtonText));
        }
        return true;
    }

private:
    // Inside the desktop's frame, clear of the caption.
    static constexpr int Inset = 3;
    bool m_painting = false;
};

// Applies what the form's dynamic properties ask of the widget (see FormProperties.h).
void applyLook(QWidget *widget) {
    if (const QPalette::ColorRole role = form::colourRoleOf(widget, form::BackgroundRole);
        role != QPalette::NoRole)
        widget->setBackgroundRole(role);
    if (const QPalette::ColorRole role = form::colourRoleOf(widget, form::ForegroundRole);
        role != QPalette::NoRole)
        widget->setForegroundRole(role);
    if (const QVariant size = widget->property(form::PointSizeF); size.isValid()) {
        QFont font = widget->font();
        font.setPointSizeF(size.toDouble());
        widget->setFont(font);
    }
    if (form::lookOf(widget) != form::Look::None)
        widget->setStyle(classicStyle());
    else if (auto *button = qobject_cast<QPushButton *>(widget))
        new ClassicFocusMark(button);
}

} // namespace

void installFontSubstitutions() {
    // DejaVu Sans is a wide humanist face with a large x-height, close to Verdana in both
    // width and line height. Liberation Sans has Arial's widths, which MS Sans Serif shares.
    QFont::insertSubstitution(QStringLiteral("Verdana"), QStringLiteral("DejaVu Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Arial"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("DejaVu Sans"));
}

Qt::WindowFlags fixedWindowFlags(Qt::WindowType type) {
    // A fixed border with only the close box in the title bar.
    return type | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
           Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint;
}

void setUpWindow(QWidget *window, const QString &caption, QWidget *clientArea, QMenuBar *menuBar) {
    window->setWindowTitle(caption);
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    if (menuBar != nullptr) {
        menuBar->setNativeMenuBar(false);
        layout->setMenuBar(menuBar);
    }
    layout->addWidget(clientArea);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // Parents come before their children in the list, so a font size set on a container
    // reaches the children before they are measured.
    const QList<QWidget *> widgets = window->findChildren<QWidget *>();
    for (QWidget *widget : widgets) {
        applyLook(widget);
        applyPointer(widget);
    }
    followDesktopColours(window);
    // Polish first so that the auto-size labels measure their captions in their own fonts.
    window->ensurePolished();
    // No text box limits the length of what is typed into it.
    for (QLineEdit *box : window->findChildren<QLineEdit *>())
        box->setMaxLength(std::numeric_limits<int>::max());
    keepCommandKeysFromTyping(window);
    const QList<QLabel *> labels = window->findChildren<QLabel *>();
    for (QLabel *label : labels) {
        if (isAutoSizeLabel(label))
            refitAutoSizeLabel(label);
    }
    layout->activate();
    centreOnScreen(window);
}

void refitAutoSizeLabel(QLabel *label) {
    label->ensurePolished();
    const QPoint topLeft = label->pos();
    label->adjustSize();
    label->move(topLeft);

    // The stand-in fonts run a little wider than the fonts the forms were drawn for. Rather
    // than let its container cut the caption off, narrow the letters until it fits.
    const QWidget *container = label->parentWidget();
    if (container == nullptr)
        return;
    // Keep as much room on the right as the label has on its left, clear of the border.
    const int room = container->width() - 2 * topLeft.x();
    if (room <= 0 || label->width() <= room)
        return;
    QFont narrower = label->font();
    const int stretch = std::max<int>(QFont::ExtraCondensed, 100 * room / label->width());
    narrower.setStretch(stretch);
    label->setFont(narrower);
    label->adjustSize();
    label->move(topLeft);
}

} // namespace woundwell
