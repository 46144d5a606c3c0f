#include "windows/frmMain.h"
#include "ui_frmMain.h"

#include "accessibility/SpokenChoice.h"
#include "core/BirthData.h"
#include "core/ChironPlacement.h"
#include "core/Platform.h"
#include "core/Version.h"
#include "core/modHelp.h"
#include "core/modPlanetSign.h"
#include "forms/ClickableLabel.h"
#include "forms/FormSetup.h"
#include "keyboard/CharacterFilter.h"
#include "keyboard/FocusMemory.h"
#include "windows/SharedCommands.h"

#include <QCloseEvent>

namespace woundwell {

frmMain::frmMain(Platform &platform, modPlanetSign &planetSign)
    : QDialog(nullptr, fixedWindowFlags(Qt::Dialog))
    , m_platform(platform)
    , m_planetSign(planetSign)
    , ui(std::make_unique<Ui::frmMain>()) {
    nameChoiceListsByCaption();
    buildFromForm(*ui, this);
    setUpWindow(this, WindowCaption, ui->clientArea, ui->menuBar);
    SharedCommands::nameSeparators(ui->menuBar,
                                   {QStringLiteral("mnuHelp1"), QStringLiteral("mnuHelp2")});
    load();

    connect(ui->cmdNext, &QPushButton::clicked, this, &frmMain::find);
    connect(ui->mnuFindHealingSign, &QAction::triggered, this, &frmMain::find);
    connect(ui->cmdExit, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->mnuExit, &QAction::triggered, this, &QWidget::close);
    connect(new CharacterFilter(ui->txtName, filterNameCharacter), &CharacterFilter::refused, this,
            [this] {
                m_platform.showMessage(this, RefusedNameCharacterMessage, MessageIcon::Information,
                                       MessageButtons::Ok);
            });

    SharedCommands::connectMainWindow(platform, this, *ui);
    connect(ui->Label2, &ClickableLabel::clicked, this,
            [&platform] { modHelp::OpenFullBrand(platform); });
    ui->txtName->setFocus();
    m_focusMemory = new FocusMemory(this);
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
    for (QComboBox *list : {ui->cboDate, ui->cboMonth, ui->cboYear})
        speakChosenItem(list);
}

void frmMain::bringToFront(Promotion promotion) {
    if (promotion == Promotion::CoBrand)
        ui->lblCobrand->raise();
    else if (promotion == Promotion::FullBrand)
        ui->lblFullBrand->raise();
    SharedCommands::showFrontPromotion(ui->lblCobrand, ui->lblFullBrand);
}

bool frmMain::ValidateBirthData() {
    const BirthDataProblem problem =
        checkBirthData(ui->txtName->text(), ui->cboDate->currentIndex(),
                       ui->cboMonth->currentIndex(), ui->cboYear->currentIndex());
    if (problem == BirthDataProblem::None)
        return true;
    m_platform.showMessage(this, birthDataMessage(problem), MessageIcon::Information,
                           MessageButtons::Ok);
    if (problem == BirthDataProblem::MissingName)
        ui->txtName->setFocus();
    return false;
}

void frmMain::find() {
    if (!ValidateBirthData())
        return;
    m_planetSign.FindChironSign(ui->cboYear->currentText(), ui->cboMonth->currentText(),
                                ui->cboDate->currentText());
    emit signFound();
}

void frmMain::reject() {
    ui->cmdExit->click();
}

void frmMain::setVisible(bool visible) {
    if (!visible && isVisible())
        m_focusMemory->remember();
    QDialog::setVisible(visible);
    if (visible)
        m_focusMemory->restore();
}

void frmMain::closeEvent(QCloseEvent *event) {
    event->accept();
    emit closing();
}

} // namespace woundwell
