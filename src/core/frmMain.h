#pragma once

#include "core/Program.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmMain;
}

namespace woundwell {

// The birth-data window: a name and a date of birth in, the find button out to the result.
// The Exit button is both its default and its cancel button.
class frmMain final : public QDialog {
    Q_OBJECT

public:
    explicit frmMain(Program &program);
    ~frmMain() override;

    void bringToFront(Program::Promotion promotion);

    // Esc presses the Exit button.
    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void load();
    [[nodiscard]] bool ValidateBirthData();
    void find();
    // Applies the name box's key filter; true when the key was dealt with here.
    bool filterNameKey(QKeyEvent *key);

    Program &m_program;
    std::unique_ptr<Ui::frmMain> ui;
};

} // namespace woundwell
