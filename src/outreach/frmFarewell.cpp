#include "outreach/frmFarewell.h"
#include "ui_frmFarewell.h"

#include "core/Program.h"
#include "outreach/ReferralForm.h"
#include "outreach/modHelp.h"
#include "platform/Platform.h"
#include "ui/FormSetup.h"

#include <QCloseEvent>

#include <algorithm>

namespace woundwell {

const std::array<QString, 4> &SupportTexts() {
    static const std::array<QString, 4> texts{
        QStringLiteral("Quorvane Softwares, such as this can be created and maintained only with "
                       "your support. The best way to support Quorvane is to visit Quorvane "
                       "regularly and take part in the discussions and other activities on the "
                       "board."),
        QStringLiteral("Visit Quorvane regularly. Support Quorvane by taking part in the "
                       "discussions and other activities. These softwares cannot be supported "
                       "and maintained, without you regularly visiting Quorvane"),
        QStringLiteral("Quorvane is a FREE online discussion forum for all things mystic. To help "
                       "Quorvane develop and maintain this software visit Quorvane regularly."),
        QStringLiteral("Quorvane needs your help. All you need to do is visit Quorvane regularly "
                       "and take part in the various discussions and activites to help us "
                       "maintain and develop more Quorvane Softwares."),
    };
    return texts;
}

frmFarewell::frmFarewell(Program &program)
    // Above the program's other windows and the browser.
    : QWidget(nullptr, fixedWindowFlags(Qt::Window) | Qt::WindowStaysOnTopHint)
    , m_program(program)
    , ui(std::make_unique<Ui::frmFarewell>()) {
    ui->setupUi(this);
    setUpWindow(this, ui->clientArea, nullptr);
    // The form belongs to the window, which deletes it.
    new ReferralForm(program, this,
                     {ui->txtName, ui->txtEmail, ui->txtMessage, ui->txtFriendName,
                      ui->txtFriendEmail, ui->cmdSubmit});
    connect(ui->Check1, &QPushButton::clicked, this, &frmFarewell::visitForum);
    connect(ui->lblGoToHome, &ClickableLabel::clicked, this,
            [&program] { modHelp::OpenCatalogue(program.platform()); });
    connect(ui->cmdClose, &QPushButton::clicked, this, [&program] { program.UnloadAllForms(); });
    load();
    ui->cmdClose->setFocus();
}

frmFarewell::~frmFarewell() = default;

int frmFarewell::supportTextNumber(float r) {
    return std::clamp(static_cast<int>(r * 4.0f), 0, 3);
}

void frmFarewell::load() {
    Platform &platform = m_program.platform();
    platform.seedRandomFromClock();
    ui->Label2->setText(
        SupportTexts()[static_cast<std::size_t>(supportTextNumber(platform.nextRandom()))]);
    // It does not take the focus when it is shown.
    setAttribute(Qt::WA_ShowWithoutActivating);
}

void frmFarewell::visitForum() {
    // The box never stays ticked: each click opens the forum once.
    if (!ui->Check1->isChecked())
        return;
    ui->Check1->setChecked(false);
    modHelp::OpenHome(m_program.platform());
}

void frmFarewell::closeEvent(QCloseEvent *event) {
    m_program.UnloadAllForms();
    event->accept();
    m_program.formUnloaded(this);
}

} // namespace woundwell
