#include "keyboard/FocusMemory.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QLineEdit>
#include <QWidget>

namespace woundwell {

FocusMemory::FocusMemory(QWidget *window)
    : QObject(window) {
    for (QWidget *control : window->findChildren<QWidget *>()) {
        if (control->focusPolicy() != Qt::NoFocus)
            control->installEventFilter(this);
    }
}

FocusMemory::~FocusMemory() = default;

FocusMemory::TextPlace FocusMemory::placeIn(const QLineEdit *box) {
    return {box->cursorPosition(), box->selectionStart(),
            static_cast<int>(box->selectedText().size())};
}

bool FocusMemory::eventFilter(QObject *watched, QEvent *event) {
    // While the window is away, the focus Qt moves about in it is none of the user's doing.
    if (m_remembered)
        return QObject::eventFilter(watched, event);
    auto *control = static_cast<QWidget *>(watched);
    if (event->type() == QEvent::FocusIn) {
        const auto *focus = static_cast<QFocusEvent *>(event);
        const bool pressedByKey = focus->reason() == Qt::ShortcutFocusReason &&
                                  qobject_cast<QAbstractButton *>(control) != nullptr;
        if (!pressedByKey)
            m_focus = control;
    } else if (event->type() == QEvent::FocusOut) {
        // Before the box itself drops its selection on losing the focus.
        if (auto *box = qobject_cast<QLineEdit *>(control)) {
            m_box = box;
            m_place = placeIn(box);
        }
    }
    return QObject::eventFilter(watched, event);
}

void FocusMemory::remember() {
    m_remembered = !m_focus.isNull();
    if (auto *box = qobject_cast<QLineEdit *>(m_focus.data()); box != nullptr && box->hasFocus()) {
        m_box = box;
        m_place = placeIn(box);
    }
}

void FocusMemory::restore() {
    if (!m_remembered || m_focus.isNull())
        return;
    m_remembered = false;
    m_focus->setFocus(Qt::OtherFocusReason);
    if (m_box.isNull() || m_box != m_focus)
        return;
    if (m_place.selectionLength == 0) {
        m_box->setCursorPosition(m_place.cursor);
    } else if (m_place.cursor == m_place.selectionStart) {
        // Selected leftwards: the caret stays at the start.
        m_box->setSelection(m_place.selectionStart + m_place.selectionLength,
                            -m_place.selectionLength);
    } else {
        m_box->setSelection(m_place.selectionStart, m_place.selectionLength);
    }
}

} // namespace woundwell
