#include "core/frmDisplay.h"
#include "ui_frmDisplay.h"

#include "core/Program.h"
#include "core/SignReadings.h"
#include "core/frmMain.h"
#include "outreach/SharedCommands.h"
#include "outreach/frmFarewell.h"
#include "ui/FormSetup.h"

#include <QCloseEvent>

namespace woundwell {

frmDisplay::frmDisplay(Program &program)
    : QDialog(nullptr, fixedWindowFlags(Qt::Dialog))
    , m_program(program)
    , ui(std::make_unique<Ui::frmDisplay>()) {
    ui->setupUi(this);
    setUpWindow(this, ui->clientArea, ui->menuBar);
    SharedCommands::nameSeparators(ui->menuBar,
                                   {QStringLiteral("mnuFileSep1"), QStringLiteral("mnuFileSep2")});

    connect(ui->cmdBack, &QPushButton::clicked, this, &frmDisplay::back);
    connect(ui->mnuFileBack, &QAction::triggered, this, &frmDisplay::back);
    connect(ui->cmdExit, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->mnuExit, &QAction::triggered, this, &QWidget::close);

    SharedCommands::connectMainWindow(m_program, this, *ui);
    ui->cmdExit->setFocus();
}

frmDisplay::~frmDisplay() = default;

void frmDisplay::Fill(const QString &chironSign) {
    if (const std::optional<Sign> sign = signFromName(chironSign))
        ui->lblSignDesc->setText(signReading(*sign));
    ui->lblHealingSign->setText(chironSign);
    refitAutoSizeLabel(ui->lblHealingSign);
}

void frmDisplay::back() {
    Program &program = m_program; // this window is gone once it has closed
    close();
    program.mainForm().show();
    program.mainForm().activateWindow();
    program.farewellForm().hide();
}

void frmDisplay::reject() {
    ui->cmdExit->click();
}

void frmDisplay::closeEvent(QCloseEvent *event) {
    event->accept();
    m_program.mainWindowClosed(this);
}

} // namespace woundwell
