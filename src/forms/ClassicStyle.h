#pragma once

#include <QProxyStyle>

namespace woundwell {

// The classic focus mark: a dotted rectangle one pixel wide along the inside of rect.
void drawFocusRectangle(QPainter *painter, const QRect &rect, const QColor &colour);

// The looks of the widgets the forms mark with the "classicLook" property (FormProperties.h),
// drawn over the application's own style. Each kind of widget has one look, named after it in
// brackets, but the group box, which has two:
//   group boxes   the title in the WindowText colour on the background colour, six pixels in
//                 from the left edge and at the top, over a frame that runs seven pixels
//                 below the top: one pixel in the Shadow colour ("plain"), or an etched
//                 groove in the Dark colour ("etched");
//   push buttons  ("raised") a flat face in the palette's Button colour inside a two-pixel
//                 bevel (Light above and left, Shadow below and right, the other way round
//                 while pressed, the caption then one pixel down and right), a dotted focus
//                 rectangle in the ButtonText colour, and no separate look for the default
//                 button;
//   combo boxes   ("plain") an outline that follows the face (the Button colour), not the
//                 Window colour, which the drop-down list's frame keeps; the list in the box's
//                 Base and Text colours, the current item marked only by an outline in the
//                 Text colour;
//   text boxes    ("plain") the Base colour inside a one-pixel outline in the Shadow colour,
//                 with one pixel of room either side of the text and no focus frame.
class ClassicStyle final : public QProxyStyle {
    Q_OBJECT

public:
    // Takes ownership of base, the style that draws everything else.
    explicit ClassicStyle(QStyle *base);
    ~ClassicStyle() override;

    void drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                            QPainter *painter, const QWidget *widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                         SubControl subControl, const QWidget *widget) const override;
    void drawPrimitive(PrimitiveElement element, const QStyleOption *option, QPainter *painter,
                       const QWidget *widget) const override;
    void drawControl(ControlElement element, const QStyleOption *option, QPainter *painter,
                     const QWidget *widget) const override;
    int pixelMetric(PixelMetric metric, const QStyleOption *option,
                    const QWidget *widget) const override;
    QRect subElementRect(SubElement element, const QStyleOption *option,
                         const QWidget *widget) const override;
};

} // namespace woundwell
