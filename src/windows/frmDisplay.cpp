#include "windows/frmDisplay.h"
#include "ui_frmDisplay.h"

#include "accessibility/Introduction.h"
#include "core/SignReadings.h"
#include "core/Version.h"
#include "forms/FormSetup.h"
#include "forms/SelectableText.h"
#include "windows/SharedCommands.h"

#include <QCloseEvent>

namespace woundwell {

frmDisplay::frmDisplay(Platform &platform)
    : QDialog(nullptr, fixedWindowFlags(Qt::Dialog))
    , ui(std::make_unique<Ui::frmDisplay>()) {
    buildFromForm(*ui, this);
    setUpWindow(this, WindowCaption, ui->clientArea, ui->menuBar);
    SharedCommands::nameSeparators(ui->menuBar,
                                   {QStringLiteral("mnuFileSep1"), QStringLiteral("mnuFileSep2")});

    connect(ui->cmdBack, &QPushButton::clicked, this, &frmDisplay::back);
    connect(ui->mnuFileBack, &QAction::triggered, this, &frmDisplay::back);
    connect(ui->cmdExit, &QPushButton::clicked, this, &QWidget::close);
    connect(ui->mnuExit, &QAction::triggered, this, &QWidget::close);

    SharedCommands::connectMainWindow(platform, this, *ui);
    makeTextSelectable(ui->lblHealingSign);
    makeTextSelectable(ui->lblSignDesc);
    ui->cmdExit->setFocus();
}

frmDisplay::~frmDisplay() = default;

void frmDisplay::Fill(const QString &chironSign) {
    if (const std::optional<Sign> sign = signFromName(chironSign))
        ui->lblSignDesc->setText(signReading(*sign));
    ui->lblHealingSign->setText(chironSign);
    refitAutoSizeLabel(ui->lblHealingSign);

    // A screen reader says the result, and shows it on a braille display, once, before Exit as
    // the window opens.
    const QString result =
        QStringLiteral("%1 %2. %3").arg(ui->Label5->text(), chironSign, ui->lblSignDesc->text());
    introduceWith(ui->cmdExit, result);
}

void frmDisplay::back() {
    // The entries first, so that the window closes with the user still in the program.
    emit backRequested();
    close();
}

void frmDisplay::reject() {
    ui->cmdExit->click();
}

void frmDisplay::closeEvent(QCloseEvent *event) {
    event->accept();
    emit closing();
}

} // namespace woundwell
