#pragma once

#include <QDialog>

#include <memory>

namespace Ui {
class frmDisplay;
}

namespace woundwell {

class Platform;

// The result window: the healing sign and its reading. Exit is its default and cancel button.
class frmDisplay final : public QDialog {
    Q_OBJECT

public:
    explicit frmDisplay(Platform &platform);
    ~frmDisplay() override;

    // Shows the reading of the sign named by chironSign (leaving the reading alone when the
    // text names no sign) and the text itself as the healing sign.
    void Fill(const QString &chironSign);

    // Esc presses the Exit button.
    void reject() override;

signals:
    // Back was chosen: the birth-data window is wanted again; the window closes right after
    // (closing() follows).
    void backRequested();
    // The window is closing, whichever way; it is deleted once control returns to the loop.
    void closing();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void back();

    std::unique_ptr<Ui::frmDisplay> ui;
};

} // namespace woundwell
