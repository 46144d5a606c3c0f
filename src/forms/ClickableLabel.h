#pragma once

#include <QLabel>

class QMouseEvent;

namespace woundwell {

// A label that reacts to a click anywhere in its rectangle: the left button pressed and
// released again inside the label emits clicked(). The second click of a double click is not a
// click of its own. Used for the link labels of the windows.
// Assistive technology sees it as a link with a press action that does the same.
class ClickableLabel final : public QLabel {
    Q_OBJECT

public:
    explicit ClickableLabel(QWidget *parent = nullptr);
    ~ClickableLabel() override;

    // Acts as a click does.
    void click();

    // Makes a button, too, take a double click as one click.
    static void ignoreDoubleClicks(QWidget *button);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;

private:
    bool m_pressed = false;
};

} // namespace woundwell
