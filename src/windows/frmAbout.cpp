#include "windows/frmAbout.h"
#include "ui_frmAbout.h"

#include "core/Version.h"
#include "core/modHelp.h"
#include "forms/FormSetup.h"

namespace woundwell {

frmAbout::frmAbout(Platform &platform, QWidget *parent)
    : QDialog(parent, fixedWindowFlags(Qt::Dialog))
    , ui(std::make_unique<Ui::frmAbout>()) {
    buildFromForm(*ui, this);
    ui->Label2->setText(WindowCaption);
    setUpWindow(this, WindowCaption, ui->clientArea, nullptr);
    connect(ui->cmdOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ui->lblHomePage, &ClickableLabel::clicked, this,
            [&platform] { modHelp::OpenHome(platform); });
    connect(ui->Label5, &ClickableLabel::clicked, this,
            [&platform] { modHelp::OpenFullBrand(platform); });
    ui->cmdOK->setFocus();
}

frmAbout::~frmAbout() = default;

void frmAbout::showModal(Platform &platform, QWidget *parent) {
    frmAbout about(platform, parent);
    about.exec();
}

} // namespace woundwell
