#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class frmAbout;
}

namespace woundwell {

class Platform;

// Names the program, says what it does and links to the maker's site. Built afresh for each
// opening; OK is its default and cancel button.
class frmAbout final : public QDialog {
    Q_OBJECT

public:
    frmAbout(Platform &platform, QWidget *parent);
    ~frmAbout() override;

    // Shows the window modally over parent and returns when it has been closed.
    static void showModal(Platform &platform, QWidget *parent);

private:
    std::unique_ptr<Ui::frmAbout> ui;
};

} // namespace woundwell
