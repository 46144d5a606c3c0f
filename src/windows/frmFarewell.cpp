#include "windows/frmFarewell.h"
#include "ui_frmFarewell.h"

#include "accessibility/AccessibleRenewal.h"
#include "accessibility/AccessibleRole.h"
#include "core/Platform.h"
#include "core/SupportTexts.h"
#include "core/Version.h"
#include "core/modHelp.h"
#include "forms/ClickableLabel.h"
#include "forms/FormSetup.h"
#include "windows/ReferralForm.h"

#include <QCloseEvent>
#include <QShowEvent>

namespace woundwell {

frmFarewell::frmFarewell(Platform &platform, modTellAFriend &tellAFriend)
    // Above the program's other windows and the browser.
    : QWidget(nullptr, fixedWindowFlags(Qt::Window) | Qt::WindowStaysOnTopHint)
    , m_platform(platform)
    , ui(std::make_unique<Ui::frmFarewell>()) {
    // A plain top-level widget reaches assistive technology as a filler, not as a window; like
    // the program's other windows it is a dialog, named by its title.
    setAccessibleRole(staticMetaObject, QAccessible::Dialog);
    buildFromForm(*ui, this);
    ui->Label1->setText(WindowCaption);
    setUpWindow(this, WindowCaption, ui->clientArea, nullptr);
    // The form belongs to the window, which deletes it.
    new ReferralForm(platform, tellAFriend, this,
                     {ui->txtName, ui->txtEmail, ui->txtMessage, ui->txtFriendName,
                      ui->txtFriendEmail, ui->cmdSubmit});
    connect(ui->Check1, &QPushButton::clicked, this, &frmFarewell::visitForum);
    ClickableLabel::ignoreDoubleClicks(ui->Check1);
    connect(ui->lblGoToHome, &ClickableLabel::clicked, this,
            [&platform] { modHelp::OpenCatalogue(platform); });
    connect(ui->cmdClose, &QPushButton::clicked, this, &frmFarewell::exitRequested);
    load();
}

frmFarewell::~frmFarewell() = default;

void frmFarewell::load() {
    m_platform.seedRandomFromClock();
    ui->Label2->setText(
        SupportTexts()[static_cast<std::size_t>(supportTextNumber(m_platform.nextRandom()))]);
    // It does not take the focus when it is shown.
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void frmFarewell::visitForum() {
    // The box never stays ticked: each click opens the forum once.
    if (!ui->Check1->isChecked())
        return;
    ui->Check1->setChecked(false);
    modHelp::OpenHome(m_platform);
}

void frmFarewell::showEvent(QShowEvent *event) {
    if (!event->spontaneous()) {
        // Hidden with the focus on a control, a window hands the focus on to the next one; this
        // one opens on Exit every time, however often it was shown and hidden on the way.
        ui->cmdClose->setFocus(Qt::OtherFocusReason);
        // It is built hidden at the first search, long before it is shown.
        renewAccessibleObjects(this);
    }
    QWidget::showEvent(event);
}

void frmFarewell::closeEvent(QCloseEvent *event) {
    event->accept();
    emit closing();
}

} // namespace woundwell
