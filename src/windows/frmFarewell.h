#pragma once

#include <QWidget>

#include <memory>

namespace Ui {
class frmFarewell;
}

namespace woundwell {

class Platform;
class modTellAFriend;

// The last window of a run: an appeal for the maker's forum, links to the forum and to the
// maker's other programs, and the refer-a-friend form. It stays above the other windows, and
// leaving it ends the program.
class frmFarewell final : public QWidget {
    Q_OBJECT

public:
    // The refer-a-friend form keeps what it sends in tellAFriend, which outlives the window.
    frmFarewell(Platform &platform, modTellAFriend &tellAFriend);
    ~frmFarewell() override;

signals:
    // Exit was pressed: the program is to end.
    void exitRequested();
    // The window is closing, whichever way; it is deleted once control returns to the loop.
    void closing();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void load();
    void visitForum();

    Platform &m_platform;
    std::unique_ptr<Ui::frmFarewell> ui;
};

} // namespace woundwell
