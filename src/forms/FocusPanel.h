#pragma once

#include <QFrame>

namespace woundwell {

// A framed panel that the Tab key stops at. While it has the focus, a dotted focus rectangle
// runs just inside its border, in black or white, whichever reads better against the panel.
// Assistive technology sees it as a grouping of controls, named by its accessible name.
class FocusPanel final : public QFrame {
    Q_OBJECT

public:
    explicit FocusPanel(QWidget *parent = nullptr);
    ~FocusPanel() override;

protected:
    void paintEvent(QPaintEvent *event) override;
};

} // namespace woundwell
