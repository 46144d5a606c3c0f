#include "forms/SelectableText.h"

#include <QClipboard>
#include <QGuiApplication>
#include <QKeySequence>
#include <QLabel>
#include <QMenu>

namespace woundwell {

void makeTextSelectable(QLabel *label) {
    label->setTextInteractionFlags(Qt::TextSelectableByMouse);
    // Qt's own menu for a plain-text label does not appear on every platform; this one does,
    // with the two commands a read-only text has.
    label->setContextMenuPolicy(Qt::CustomContextMenu);
    QObject::connect(label, &QWidget::customContextMenuRequested, label, [label](QPoint at) {
        auto *menu = new QMenu(label);
        menu->setAttribute(Qt::WA_DeleteOnClose);
        QAction *copy = menu->addAction(QLabel::tr("&Copy"), label, [label] {
            QGuiApplication::clipboard()->setText(label->selectedText());
        });
        copy->setShortcut(QKeySequence::Copy);
        copy->setEnabled(label->hasSelectedText());
        menu->addAction(QLabel::tr("Select &All"), label,
                        [label] { label->setSelection(0, int(label->text().size())); });
        menu->popup(label->mapToGlobal(at));
    });
}

} // namespace woundwell
