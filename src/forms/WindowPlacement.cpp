#include "forms/WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMargins>
#include <QScreen>
#include <QTimer>
#include <QWidget>

#include <algorithm>
#include <chrono>
#include <optional>

namespace woundwell {

namespace {

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
// soon after it is shown stays where it is, and a window the user has moved goes back to its new
// place.
class FramePlacement final : public QObject {
public:
    explicit FramePlacement(QWidget *window)
        : QObject(window) {
        m_patience.setSingleShot(true);
        m_patience.setInterval(std::chrono::seconds(2));
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
            if (m_waiting && window->isVisible() && isFramed(window))
                keepInPlace(window);
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

    // Moves the framed window, once, to where it belongs, should it be elsewhere: the window
    // manager may still move it a little after it is first drawn.
    void keepInPlace(QWidget *window) {
        if (!m_place) {
            lastFrameMargins() = frameMarginsOf(window);
            const QSize frameSize = window->frameGeometry().size();
            QScreen *screen = screenOf(window);
            m_place = screen != nullptr ? centredTopLeft(*screen, frameSize) : window->pos();
        }
        if (window->pos() == *m_place)
            return;
        m_waiting = false;
        // Not while Qt is still handling the event that told of the frame.
        QMetaObject::invokeMethod(
            window, [window, topLeft = *m_place] { window->move(topLeft); }, Qt::QueuedConnection);
    }

    std::optional<QPoint> m_place;
    bool m_waiting = false;
    QTimer m_patience;
};

} // namespace

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
        new FramePlacement(window);
    }
    window->move(centredTopLeft(*screen, frameSize));
}

} // namespace woundwell
