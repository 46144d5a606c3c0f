#pragma once

#include <QObject>
#include <QPointer>

class QLineEdit;
class QWidget;

namespace woundwell {

// Where the user left the focus in a window that is hidden and later shown again: the control
// the user last put the focus in, and for a text box its caret and selection. Showing a dialog
// again would otherwise hand the focus to whatever Qt picks, with a text box's whole text
// selected, so the next key typed would replace it.
//
// A button's access key presses the button; the focus it gives the button on the way is not
// the user's choice, so the control the user was in stays the one remembered.
class FocusMemory final : public QObject {
    Q_OBJECT

public:
    // Watches the controls of window that take the focus; belongs to the window.
    explicit FocusMemory(QWidget *window);
    ~FocusMemory() override;

    // Call just before the window hides.
    void remember();
    // Call once the window is shown again.
    void restore();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    struct TextPlace {
        int cursor = 0;
        int selectionStart = -1;
        int selectionLength = 0;
    };
    static TextPlace placeIn(const QLineEdit *box);

    QPointer<QWidget> m_focus;
    QPointer<QLineEdit> m_box;
    TextPlace m_place;
    bool m_remembered = false;
};

} // namespace woundwell
