#include "forms/FocusPanel.h"

#include "accessibility/AccessibleRole.h"
#include "forms/ClassicStyle.h"
#include "forms/ReadableColours.h"

#include <QPainter>

namespace woundwell {

FocusPanel::FocusPanel(QWidget *parent)
    : QFrame(parent) {
    // A plain frame reaches a screen reader as a "frame", the word it uses for a window.
    setAccessibleRole(staticMetaObject, QAccessible::Grouping);
}

FocusPanel::~FocusPanel() = default;

void FocusPanel::paintEvent(QPaintEvent *event) {
    QFrame::paintEvent(event);
    if (!hasFocus())
        return;
    const QColor background = palette().color(backgroundRole());
    const QColor black(Qt::black);
    const QColor white(Qt::white);
    const QColor mark =
        contrastRatio(black, background) >= contrastRatio(white, background) ? black : white;
    QPainter painter(this);
    drawFocusRectangle(&painter, contentsRect().adjusted(1, 1, -1, -1), mark);
}

} // namespace woundwell
