#pragma once

#include <QString>
#include <QWidget>

#include <array>
#include <memory>

namespace Ui {
class frmFarewell;
}

namespace woundwell {

class Program;

// The four appeals for the maker's forum, one of which the farewell window shows.
[[nodiscard]] const std::array<QString, 4> &SupportTexts();

// The last window of a run: an appeal for the maker's forum, links to the forum and to the
// maker's other programs, and the refer-a-friend form. It stays above the other windows, and
// leaving it ends the program.
class frmFarewell final : public QWidget {
    Q_OBJECT

public:
    explicit frmFarewell(Program &program);
    ~frmFarewell() override;

    // Which appeal a random value 0 <= r < 1 picks.
    [[nodiscard]] static int supportTextNumber(float r);

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void load();
    void visitForum();

    Program &m_program;
    std::unique_ptr<Ui::frmFarewell> ui;
};

} // namespace woundwell
