#pragma once

#include <QStringList>

class QAction;
class QMenuBar;
class QWidget;

namespace woundwell {

class ClickableLabel;
class Platform;

// The menu commands and promotion labels that the birth-data and result windows share.
namespace SharedCommands {

struct Controls {
    QAction *mnuOnline;
    QAction *mnuVisit;
    QAction *mnuUpdate;
    QAction *mnuAbout;
    QAction *mnuDonate;
    QAction *mnuMakeMoneyOnline;
    ClickableLabel *Label61;
    ClickableLabel *lblCobrand;
    ClickableLabel *lblFullBrand;
};

// Connects the controls, and shows only the promotion label in front (see below).
void connect(Platform &platform, QWidget *window, const Controls &controls);

// Both main window forms name their shared controls alike.
template <typename Form>
void connectMainWindow(Platform &platform, QWidget *window, const Form &ui) {
    connect(platform, window,
            {ui.mnuOnline, ui.mnuVisit, ui.mnuUpdate, ui.mnuAbout, ui.mnuDonate,
             ui.mnuMakeMoneyOnline, ui.Label61, ui.lblCobrand, ui.lblFullBrand});
}

// The two promotion labels lie exactly on top of each other. Only the one in front is shown,
// so that a screen reader does not announce a link that nobody can see. Call again after
// raising one of them.
void showFrontPromotion(ClickableLabel *cobrand, ClickableLabel *fullBrand);

// Gives the menu bar's separators their names, in the order they appear.
void nameSeparators(QMenuBar *menuBar, const QStringList &names);

} // namespace SharedCommands
} // namespace woundwell
