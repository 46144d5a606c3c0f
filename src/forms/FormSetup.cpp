#include "forms/FormSetup.h"

#include "forms/ClassicStyle.h"
#include "forms/CommandKeys.h"
#include "forms/FormProperties.h"
#include "forms/ReadableColours.h"

#include <QApplication>
#include <QCursor>
#include <QFont>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMargins>
#include <QMenuBar>
#include <QPalette>
#include <QPixmap>
#include <QPointer>
#include <QScreen>
#include <QStyleFactory>
#include <QTimer>
#include <QVBoxLayout>
#include <QVariant>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <limits>
#include <optional>

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
}

// The frame the window manager last put around one of the windows: the best estimate of the
// next window's before it is shown, when its own is not known yet.
QMargins &lastFrameMargins() {
    static QMargins margins;
    return margins;
}

QMargins frameMarginsOf(const QWidget *window) {
    const QRect frame = window->frameGeometry();
    const QRect client = window->geometry();
    return {client.left() - frame.left(), client.top() - frame.top(),
            frame.right() - client.right(), frame.bottom() - client.bottom()};
}

QScreen *screenOf(const QWidget *window) {
    QScreen *screen = window->screen();
    return screen != nullptr ? screen : QGuiApplication::primaryScreen();
}

// Where a frame of that size goes to be centred on the available area of the screen. A window
// larger than that area (a large type size on a small screen) keeps its top-left corner, with
// the icon, the first words and the start of its controls, in view: it goes to the area's left
// or top edge instead.
QPoint centredTopLeft(const QScreen &screen, QSize frameSize) {
    const QRect available = screen.availableGeometry();
    return {available.x() + std::max(0, (available.width() - frameSize.width()) / 2),
            available.y() + std::max(0, (available.height() - frameSize.height()) / 2)};
}

// A window is placed by its frame's top-left corner, and the frame is the window manager's to
// draw: before the window is first shown only an estimate of it is known. Once the window manager
// has framed the shown window, this centres it again where the estimate was wrong; otherwise a
// title bar the estimate left out would hang the window half its height below the centre. Each
// later time the window is shown, it goes back to where its frame was when it was hidden, which
// a window manager that takes the frame's place for the window's own (Mutter through XWayland)
// would otherwise move up by the title bar's height every time. A window that gets no frame
// soon after it is shown stays where it is.
class FramePlacement final : public QObject {
public:
    FramePlacement(QWidget *window, QSize estimate)
        : QObject(window)
        , m_estimate(estimate) {
        m_patience.setSingleShot(true);
        m_patience.setInterval(std::chrono::seconds(3));
        connect(&m_patience, &QTimer::timeout, this, [this] { m_waiting = false; });
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override {
        auto *window = static_cast<QWidget *>(watched);
        switch (event->type()) {
        case QEvent::Show:
            m_waiting = true;
            m_patience.start();
            break;
        case QEvent::Hide:
            m_waiting = false;
            if (isFramed(window))
                m_place = window->pos();
            break;
        case QEvent::Move:
        case QEvent::Paint:
            if (m_waiting && window->isVisible() && isFramed(window)) {
                m_waiting = false;
                placeInFrame(window);
            }
            break;
        default:
            break;
        }
        return false;
    }

private:
    // The frame is known once it differs from the window itself.
    static bool isFramed(const QWidget *window) {
        return window->frameGeometry().size() != window->size();
    }

    void placeInFrame(QWidget *window) {
        QPoint topLeft = window->pos();
        if (m_place) {
            topLeft = *m_place;
        } else {
            lastFrameMargins() = frameMarginsOf(window);
            const QSize frameSize = window->frameGeometry().size();
            if (QScreen *screen = screenOf(window); screen != nullptr && frameSize != m_estimate)
                topLeft = centredTopLeft(*screen, frameSize);
        }
        if (topLeft == window->pos())
            return;
        // Not while Qt is still handling the event that told of the frame.
        QMetaObject::invokeMethod(
            window, [window, topLeft] { window->move(topLeft); }, Qt::QueuedConnection);
    }

    QSize m_estimate;
    std::optional<QPoint> m_place;
    bool m_waiting = false;
    QTimer m_patience;
};

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

void centreOnScreen(QWidget *window) {
    QScreen *screen = screenOf(window);
    if (screen == nullptr)
        return;
    if (QLayout *layout = window->layout())
        layout->activate();
    QSize frameSize = window->frameGeometry().size();
    if (frameSize == window->size() && !window->isVisible()) {
        // Not framed yet: estimated from the last window's frame, and put right once shown.
        frameSize = window->size().grownBy(lastFrameMargins());
        new FramePlacement(window, frameSize);
    }
    window->move(centredTopLeft(*screen, frameSize));
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
