#include "forms/WindowPlacement.h"

#include <QEvent>
#include <QGuiApplication>
#include <QLayout>
#include <QMargins>
#include <QScreen>
#include <QTimer>
#include <QWidget>
#include <QWindow>

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
// would otherwise move up by the title bar's height every time.
//
// While it frames a window, a window manager may report passing frames (Mutter first reports its
// invisible borders too) and hide and show the window again as it puts the frame round it, so
// the frame is taken as known once nothing has changed for a moment. Mutter may also drop a move
// asked for that soon, without a word, so a move is asked for once more when the window seems to
// be in place. A window that gets no frame soon after it is shown stays where it is, and a window
// the user has moved goes back to its new place.
class FramePlacement final : public QObject {
public:
    explicit FramePlacement(QWidget *window)
        : QObject(window)
        , m_window(window) {
        m_patience.setSingleShot(true);
        m_patience.setInterval(std::chrono::seconds(2));
        connect(&m_patience, &QTimer::timeout, this, &FramePlacement::stopSettling);
        m_quiet.setSingleShot(true);
        m_quiet.setInterval(std::chrono::milliseconds(80));
        connect(&m_quiet, &QTimer::timeout, this, &FramePlacement::settle);
        window->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *, QEvent *event) override {
        switch (event->type()) {
        case QEvent::Show:
            if (!m_patience.isActive()) {
                m_requests = 0;
                m_patience.start();
            }
            m_quiet.start();
            break;
        case QEvent::Hide:
            // The window manager's own hiding while it frames the window is no hiding.
            if (event->spontaneous())
                break;
            if (!m_patience.isActive() && isFramed())
                m_place = m_window->pos();
            stopSettling();
            break;
        case QEvent::Move:
        case QEvent::Resize:
        case QEvent::Paint:
            if (m_patience.isActive())
                m_quiet.start();
            break;
        default:
            break;
        }
        return false;
    }

private:
    // The frame is known once it differs from the window itself.
    bool isFramed() const { return m_window->frameGeometry().size() != m_window->size(); }

    void stopSettling() {
        m_patience.stop();
        m_quiet.stop();
    }

    // Asks for the framed window to be where it belongs, should it be elsewhere, and once more
    // after it seems to have got there; a window the window manager keeps elsewhere after three
    // requests stays there.
    void settle() {
        if (!m_window->isVisible() || !isFramed())
            return;
        if (!m_place) {
            lastFrameMargins() = frameMarginsOf(m_window);
            QScreen *screen = screenOf(m_window);
            m_place = screen != nullptr ? centredTopLeft(*screen, m_window->frameGeometry().size())
                                        : m_window->pos();
        }
        const bool inPlace = m_window->pos() == *m_place;
        if ((inPlace && m_requests != 1) || m_requests == 3) {
            stopSettling();
            return;
        }
        ++m_requests;
        if (inPlace)
            m_window->windowHandle()->setFramePosition(*m_place);
        else
            m_window->move(*m_place);
        m_quiet.start();
    }

    QWidget *const m_window;
    std::optional<QPoint> m_place;
    int m_requests = 0;
    QTimer m_patience;
    QTimer m_quiet;
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
