#include "windows/SharedCommands.h"

#include "core/modHelp.h"
#include "forms/ClickableLabel.h"
#include "windows/frmAbout.h"

#include <QAction>
#include <QMenu>
#include <QMenuBar>

namespace woundwell::SharedCommands {

void connect(Platform &platform, QWidget *window, const Controls &controls) {
    const auto opener = [&platform](void (*open)(Platform &)) {
        return [&platform, open] { open(platform); };
    };
    QObject::connect(controls.mnuOnline, &QAction::triggered, window,
                     opener(&modHelp::OpenOnlineHelp));
    QObject::connect(controls.mnuVisit, &QAction::triggered, window, opener(&modHelp::OpenHome));
    QObject::connect(controls.mnuUpdate, &QAction::triggered, window,
                     opener(&modHelp::OpenDownload));
    QObject::connect(controls.mnuDonate, &QAction::triggered, window, opener(&modHelp::OpenDonate));
    QObject::connect(controls.mnuMakeMoneyOnline, &QAction::triggered, window,
                     opener(&modHelp::OpenFullBrand));
    QObject::connect(controls.mnuAbout, &QAction::triggered, window,
                     [&platform, window] { frmAbout::showModal(platform, window); });
    QObject::connect(controls.Label61, &ClickableLabel::clicked, window,
                     opener(&modHelp::OpenHome));
    QObject::connect(controls.lblCobrand, &ClickableLabel::clicked, window,
                     opener(&modHelp::OpenCoBrand));
    QObject::connect(controls.lblFullBrand, &ClickableLabel::clicked, window,
                     opener(&modHelp::OpenFullBrand));
    showFrontPromotion(controls.lblCobrand, controls.lblFullBrand);
}

void showFrontPromotion(ClickableLabel *cobrand, ClickableLabel *fullBrand) {
    // Siblings are stacked in the order of their parent's list of children, the last on top.
    const QObjectList &stack = cobrand->parent()->children();
    const bool cobrandInFront = stack.indexOf(cobrand) > stack.indexOf(fullBrand);
    cobrand->setVisible(cobrandInFront);
    fullBrand->setVisible(!cobrandInFront);
}

void nameSeparators(QMenuBar *menuBar, const QStringList &names) {
    qsizetype next = 0;
    for (QMenu *menu : menuBar->findChildren<QMenu *>()) {
        for (QAction *action : menu->actions()) {
            if (action->isSeparator() && next < names.size())
                action->setObjectName(names.at(next++));
        }
    }
}

} // namespace woundwell::SharedCommands
