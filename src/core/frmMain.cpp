#include "core/frmMain.h"
#include "ui_frmMain.h"

#include "core/BirthData.h"
#include "core/ChironPlacement.h"
#include "core/TypedKey.h"
#include "core/frmDisplay.h"
#include "outreach/SharedCommands.h"
#include "outreach/frmFarewell.h"
#include "outreach/modHelp.h"
#include "platform/Platform.h"
#include "ui/ClickableLabel.h"
#include "ui/FormSetup.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace woundwell {

frmMain::frmMain(Program &program)
    : QDialog(nullptr, fixedWindowFlags(Qt::Dialog))
    , m_program(program)
    , ui(std::make_unique<Ui::frmMain>()) {
    ui->setupUi(this);
    setUpWindow(this, ui->clientArea, ui->menuBar);
    SharedCommands::nameSeparators(ui->menuBar,
                                   {QStringLiteral("mnuHelp1"), QStringLiteral("mnuHelp2")});
    load();

    connect(ui->cmdNext, &QPushButton::clicked, this, &frmMain::find);
    connect(ui->mnuFindHealingSign, &QAction::triggered, this, &frmMain::find);
    connect(ui->cmdExit, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->mnuExit, &QAction::triggered, this, &QWidget::close);
    ui->txtName->installEventFilter(this);

    SharedCommands::connectMainWindow(m_program, this, *ui);
    connect(ui->Label2, &ClickableLabel::clicked, this,
            [&program] { modHelp::OpenFullBrand(program.platform()); });
    ui->txtName->setFocus();
}

frmMain::~frmMain() = default;

void frmMain::load() {
    for (int day = 1; day <= 31; ++day)
        ui->cboDate->addItem(QString::number(day));
    for (int month = 1; month <= 12; ++month)
        ui->cboMonth->addItem(monthName(month).toString());
    for (int year = FirstYear; year <= LastYear; ++year)
        ui->cboYear->addItem(QString::number(year));
    ui->cboDate->setCurrentIndex(0);
    ui->cboMonth->setCurrentIndex(0);
    ui->cboYear->setCurrentIndex(0);
}

void frmMain::bringToFront(Program::Promotion promotion) {
    if (promotion == Program::Promotion::CoBrand)
        ui->lblCobrand->raise();
    else if (promotion == Program::Promotion::FullBrand)
        ui->lblFullBrand->raise();
}

bool frmMain::ValidateBirthData() {
    const BirthDataProblem problem =
        checkBirthData(ui->txtName->text(), ui->cboDate->currentIndex(),
                       ui->cboMonth->currentIndex(), ui->cboYear->currentIndex());
    if (problem == BirthDataProblem::None)
        return true;
    m_program.platform().showMessage(this, birthDataMessage(problem), MessageIcon::Information,
                                     MessageButtons::Ok);
    if (problem == BirthDataProblem::MissingName)
        ui->txtName->setFocus();
    return false;
}

void frmMain::find() {
    if (!ValidateBirthData())
        return;
    m_program.planetSign.FindChironSign(*ui->cboYear, *ui->cboMonth, *ui->cboDate);
    frmDisplay &display = m_program.displayForm();
    display.Fill(m_program.planetSign.ChironSign);
    hide();
    m_program.farewellForm().hide();
    display.show();
    display.activateWindow();
}

void frmMain::reject() {
    ui->cmdExit->click();
}

void frmMain::closeEvent(QCloseEvent *event) {
    event->accept();
    m_program.mainWindowClosed(this);
}

bool frmMain::eventFilter(QObject *watched, QEvent *event) {
    if (watched == ui->txtName && event->type() == QEvent::KeyPress)
        return filterNameKey(static_cast<QKeyEvent *>(event));
    return QDialog::eventFilter(watched, event);
}

bool frmMain::filterNameKey(QKeyEvent *key) {
    const std::optional<QString> typed = typedCharacters(*key);
    if (!typed)
        return false; // not a character: editing, moving and the window's own keys
    QString accepted;
    for (QChar c : *typed) {
        const std::optional<char16_t> kept = filterNameCharacter(c.unicode());
        if (!kept) {
            m_program.platform().showMessage(this, RefusedNameCharacterMessage,
                                             MessageIcon::Information, MessageButtons::Ok);
            return true;
        }
        accepted.append(QChar(*kept));
    }
    if (accepted == *typed)
        return false; // let the box insert it as typed
    ui->txtName->insert(accepted);
    return true;
}

} // namespace woundwell
