#pragma once

#include "core/Promotion.h"

#include <QDialog>

#include <memory>

namespace Ui {
class frmMain;
}

namespace woundwell {

class FocusMemory;
class Platform;
class modPlanetSign;

// The birth-data window: a name and a date of birth in, the healing sign out. The Exit button
// is both its default and its cancel button.
class frmMain final : public QDialog {
    Q_OBJECT

public:
    // The lookup leaves its answer in planetSign, which outlives the window.
    frmMain(Platform &platform, modPlanetSign &planetSign);
    ~frmMain() override;

    void bringToFront(Promotion promotion);

    // Esc presses the Exit button.
    void reject() override;
    // Shown again, the window has the focus where the user left it.
    void setVisible(bool visible) override;

signals:
    // The entries passed the checks and the lookup has run: the answer waits in ChironSign.
    void signFound();
    // The window is closing, whichever way; it is deleted once control returns to the loop.
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void load();
    [[nodiscard]] bool ValidateBirthData();
    void find();

    Platform &m_platform;
    modPlanetSign &m_planetSign;
    std::unique_ptr<Ui::frmMain> ui;
    FocusMemory *m_focusMemory;
};

} // namespace woundwell
