#pragma once

#include <QObject>

class QWidget;

namespace woundwell {

// Wrap a form's setupUi() in one of these. While it lives, a container the form puts straight
// into the window (its client area) takes the size its `pointSizeF` property names (see
// FormProperties.h) the moment the form sets it, before the form builds the controls inside it.
//
// Designer stores whole points only, so the forms' 8 1/4-point type is a property that
// setUpWindow() applies after the build. Without this, the controls start out in the inherited
// size, and the text boxes, which lay out their text as soon as they exist and again on every
// change of font, load the fonts of a size never shown: two font loads more at every start.
class FormFontSize final : public QObject {
public:
    explicit FormFontSize(QWidget *window);
    ~FormFontSize() override;

    FormFontSize(const FormFontSize &) = delete;
    FormFontSize &operator=(const FormFontSize &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *m_window;
};

} // namespace woundwell
