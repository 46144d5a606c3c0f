#include "forms/ClassicStyle.h"

#include "forms/FormProperties.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QStyleOption>
#include <QVariant>
#include <QWidget>

namespace woundwell {

void drawFocusRectangle(QPainter *painter, const QRect &rect, const QColor &colour) {
    // A dotted line one pixel wide along the edges of the rectangle, centred on the pixel
    // corners, so that it shades the pixels either side at half strength.
    painter->save();
    painter->setRenderHint(QPainter::Antialiasing, true);
    painter->setPen(QPen(colour, 1, Qt::DotLine, Qt::FlatCap));
    painter->setBrush(Qt::NoBrush);
    // Each edge starts its dots from its top or left end.
    const QRectF edges = QRectF(rect).adjusted(0, 0, -1, -1);
    painter->drawLine(edges.topLeft(), edges.topRight());
    painter->drawLine(edges.topLeft(), edges.bottomLeft());
    painter->drawLine(edges.bottomLeft(), edges.bottomRight());
    painter->drawLine(edges.topRight(), edges.bottomRight());
    painter->restore();
}

namespace {

constexpr int BevelWidth = 2;
constexpr int ButtonPadding = 1;
constexpr int OutlineWidth = 1;
constexpr int TextBoxPadding = 1;
constexpr int GroupFrameTop = 7;
constexpr int GroupTitleLeft = 6;
constexpr int GroupTitlePadding = 2;
constexpr int GroupTitleSpacing = 6;
constexpr int GrooveLighter = 150;

bool isPressed(const QStyleOption *option) {
    return (option->state & (QStyle::State_Sunken | QStyle::State_On)) != 0;
}

QColor halfway(const QColor &one, const QColor &other) {
    return QColor((one.red() + other.red() + 1) / 2, (one.green() + other.green() + 1) / 2,
                  (one.blue() + other.blue() + 1) / 2);
}

// A bevel of the given width along the edges of rect: topLeft along the top and left edges,
// bottomRight along the bottom and right ones. They meet on the diagonals of the top right
// and bottom left corners, whose pixels take the colour halfway between the two.
void drawBevel(QPainter *painter, const QRect &rect, int width, const QColor &topLeft,
               const QColor &bottomRight) {
    const int left = rect.left();
    const int top = rect.top();
    const int right = rect.right();
    const int bottom = rect.bottom();
    const QColor corner = halfway(topLeft, bottomRight);
    for (int i = 0; i < width; ++i) {
        // Row i from the top and column i from the left stop short of the corner diagonals;
        // row i from the bottom and column i from the right run from them.
        painter->fillRect(QRect(QPoint(left + i, top + i), QPoint(right - i - 1, top + i)),
                          topLeft);
        painter->fillRect(QRect(QPoint(left + i, top + i + 1), QPoint(left + i, bottom - i - 1)),
                          topLeft);
        painter->fillRect(QRect(QPoint(left + i + 1, bottom - i), QPoint(right - i, bottom - i)),
                          bottomRight);
        painter->fillRect(QRect(QPoint(right - i, top + i + 1), QPoint(right - i, bottom - i - 1)),
                          bottomRight);
        painter->fillRect(QRect(right - i, top + i, 1, 1), corner);
        painter->fillRect(QRect(left + i, bottom - i, 1, 1), corner);
    }
}

// Top, left, bottom and right edges of rect, one pixel wide, in two colours.
void drawShadeRect(QPainter *painter, const QRect &rect, const QColor &topLeft,
                   const QColor &bottomRight) {
    painter->fillRect(QRect(rect.topLeft(), QPoint(rect.right() - 1, rect.top())), topLeft);
    painter->fillRect(QRect(rect.topLeft(), QPoint(rect.left(), rect.bottom() - 1)), topLeft);
    painter->fillRect(QRect(QPoint(rect.left(), rect.bottom()), rect.bottomRight()), bottomRight);
    painter->fillRect(QRect(QPoint(rect.right(), rect.top()), rect.bottomRight()), bottomRight);
}

bool isEtched(const QWidget *widget) {
    return widget != nullptr && form::lookOf(widget) == form::Look::Etched;
}

int groupFrameWidth(const QWidget *widget) {
    return isEtched(widget) ? 2 : 1;
}

// The combo box that a menu item or empty list area is drawn for, or null: the items of a
// drop-down list are drawn for the box itself, the empty area for the list inside it.
const QComboBox *listOwner(const QWidget *widget) {
    for (const QWidget *up = widget; up != nullptr; up = up->parentWidget()) {
        if (const auto *combo = qobject_cast<const QComboBox *>(up))
            return combo;
    }
    return nullptr;
}

// The colours of a drop-down list: the text and background colours of its combo box, the
// current item marked only by the outline the base style draws around a highlight of the
// background colour.
QPalette listPalette(const QComboBox *combo, const QPalette &menu) {
    QPalette palette = menu;
    const QPalette &own = combo->palette();
    for (int group = 0; group < QPalette::NColorGroups; ++group) {
        const auto colourGroup = static_cast<QPalette::ColorGroup>(group);
        const QBrush background = own.brush(colourGroup, QPalette::Base);
        const QBrush text = own.brush(colourGroup, QPalette::Text);
        for (const QPalette::ColorRole role :
             {QPalette::Window, QPalette::Base, QPalette::Button, QPalette::Highlight})
            palette.setBrush(colourGroup, role, background);
        for (const QPalette::ColorRole role : {QPalette::WindowText, QPalette::Text,
                                               QPalette::ButtonText, QPalette::HighlightedText})
            palette.setBrush(colourGroup, role, text);
    }
    return palette;
}

} // namespace

ClassicStyle::ClassicStyle(QStyle *base)
    : QProxyStyle(base) {}

ClassicStyle::~ClassicStyle() = default;

void ClassicStyle::drawComplexControl(ComplexControl control, const QStyleOptionComplex *option,
                                      QPainter *painter, const QWidget *widget) const {
    if (const auto *combo = qstyleoption_cast<const QStyleOptionComboBox *>(option);
        control == CC_ComboBox && combo != nullptr) {
        // The box keeps the desktop's window colour for its drop-down list's frame; its own
        // outline follows its face instead.
        QStyleOptionComboBox box(*combo);
        for (int group = 0; group < QPalette::NColorGroups; ++group) {
            const auto colourGroup = static_cast<QPalette::ColorGroup>(group);
            box.palette.setBrush(colourGroup, QPalette::Window,
                                 box.palette.brush(colourGroup, QPalette::Button));
        }
        QProxyStyle::drawComplexControl(control, &box, painter, widget);
        return;
    }
    const auto *group = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
    if (control != CC_GroupBox || group == nullptr) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const QPalette &palette = group->palette;
    const QRect frame = subControlRect(control, option, SC_GroupBoxFrame, widget);
    if (isEtched(widget)) {
        const QColor dark = palette.color(QPalette::Dark);
        const QColor light = dark.lighter(GrooveLighter);
        drawShadeRect(painter, frame, dark, light);
        drawShadeRect(painter, frame.adjusted(1, 1, -1, -1), light, dark);
    } else {
        const QColor shadow = palette.color(QPalette::Shadow);
        drawShadeRect(painter, frame, shadow, shadow);
    }
    if ((group->subControls & SC_GroupBoxLabel) != 0 && !group->text.isEmpty()) {
        const QRect title = subControlRect(control, option, SC_GroupBoxLabel, widget);
        const QPalette::ColorRole background =
            widget != nullptr ? widget->backgroundRole() : QPalette::Window;
        painter->fillRect(title, palette.brush(background));
        proxy()->drawItemText(painter, title.adjusted(GroupTitlePadding, 0, -GroupTitlePadding, 0),
                              Qt::TextShowMnemonic | Qt::AlignHCenter | Qt::AlignTop, palette,
                              (group->state & State_Enabled) != 0, group->text,
                              QPalette::WindowText);
    }
}

QRect ClassicStyle::subControlRect(ComplexControl control, const QStyleOptionComplex *option,
                                   SubControl subControl, const QWidget *widget) const {
    const auto *group = qstyleoption_cast<const QStyleOptionGroupBox *>(option);
    if (control != CC_GroupBox || group == nullptr)
        return QProxyStyle::subControlRect(control, option, subControl, widget);
    const QRect frame = option->rect.adjusted(0, GroupFrameTop, 0, 0);
    switch (subControl) {
    case SC_GroupBoxFrame:
        return frame;
    case SC_GroupBoxContents: {
        const int width = groupFrameWidth(widget);
        return frame.adjusted(width, width, -width, -width);
    }
    case SC_GroupBoxLabel: {
        // The title is centred in its room, which is a little wider than the text.
        const int textWidth = option->fontMetrics.horizontalAdvance(group->text);
        return QRect(option->rect.left() + GroupTitleLeft, option->rect.top(),
                     textWidth + GroupTitleSpacing + 2 * GroupTitlePadding,
                     option->fontMetrics.height());
    }
    default:
        return QRect();
    }
}

void ClassicStyle::drawPrimitive(PrimitiveElement element, const QStyleOption *option,
                                 QPainter *painter, const QWidget *widget) const {
    const bool button = qobject_cast<const QPushButton *>(widget) != nullptr;
    const bool textBox = qobject_cast<const QLineEdit *>(widget) != nullptr;
    switch (element) {
    case PE_PanelButtonCommand: {
        if (!button)
            break;
        const QPalette &palette = option->palette;
        painter->fillRect(option->rect, palette.button());
        const bool pressed = isPressed(option);
        drawBevel(painter, option->rect, BevelWidth,
                  palette.color(pressed ? QPalette::Shadow : QPalette::Light),
                  palette.color(pressed ? QPalette::Light : QPalette::Shadow));
        return;
    }
    case PE_FrameDefaultButton:
        if (!button)
            break;
        return;
    case PE_FrameFocusRect: {
        if (!button)
            break;
        drawFocusRectangle(painter, option->rect, option->palette.color(QPalette::ButtonText));
        return;
    }
    case PE_PanelLineEdit: {
        if (!textBox)
            break;
        painter->fillRect(option->rect, option->palette.base());
        painter->save();
        painter->setPen(QPen(option->palette.color(QPalette::Shadow), 0));
        painter->setBrush(Qt::NoBrush);
        painter->drawRect(option->rect.adjusted(0, 0, -1, -1));
        painter->restore();
        return;
    }
    case PE_FrameLineEdit:
        if (!textBox)
            break;
        return;
    default:
        break;
    }
    QProxyStyle::drawPrimitive(element, option, painter, widget);
}

void ClassicStyle::drawControl(ControlElement element, const QStyleOption *option,
                               QPainter *painter, const QWidget *widget) const {
    if (element == CE_MenuItem || element == CE_MenuEmptyArea) {
        const QComboBox *combo = listOwner(widget);
        const auto *item = qstyleoption_cast<const QStyleOptionMenuItem *>(option);
        if (combo != nullptr && item != nullptr) {
            QStyleOptionMenuItem listItem(*item);
            listItem.palette = listPalette(combo, item->palette);
            painter->fillRect(listItem.rect, listItem.palette.base());
            if (element != CE_MenuItem)
                return;
            QProxyStyle::drawControl(element, &listItem, painter, widget);
            if ((item->state & State_Selected) != 0) {
                // Outlined in the list's own text colour, which reads on its background
                // whatever the desktop's colours are.
                painter->save();
                painter->setPen(QPen(listItem.palette.color(QPalette::Text), 0));
                painter->setBrush(Qt::NoBrush);
                painter->drawRect(listItem.rect.adjusted(0, 0, -1, -1));
                painter->restore();
            }
            return;
        }
    }
    const auto *button = qstyleoption_cast<const QStyleOptionButton *>(option);
    if (element != CE_PushButton || button == nullptr) {
        QProxyStyle::drawControl(element, option, painter, widget);
        return;
    }
    // The face, the caption in the contents rectangle (which moves while the button is
    // pressed), and the focus rectangle whenever the button has the focus, however it came.
    drawControl(CE_PushButtonBevel, button, painter, widget);
    QStyleOptionButton label(*button);
    label.rect = subElementRect(SE_PushButtonContents, button, widget);
    drawControl(CE_PushButtonLabel, &label, painter, widget);
    if ((button->state & State_HasFocus) != 0) {
        QStyleOptionFocusRect focus;
        focus.QStyleOption::operator=(*button);
        focus.rect = subElementRect(SE_PushButtonFocusRect, button, widget);
        drawPrimitive(PE_FrameFocusRect, &focus, painter, widget);
    }
}

int ClassicStyle::pixelMetric(PixelMetric metric, const QStyleOption *option,
                              const QWidget *widget) const {
    switch (metric) {
    case PM_ButtonDefaultIndicator:
    case PM_ButtonShiftHorizontal:
    case PM_ButtonShiftVertical:
        if (qobject_cast<const QPushButton *>(widget) == nullptr)
            break;
        return 0;
    case PM_DefaultFrameWidth:
        if (qobject_cast<const QLineEdit *>(widget) == nullptr)
            break;
        return OutlineWidth;
    default:
        break;
    }
    return QProxyStyle::pixelMetric(metric, option, widget);
}

QRect ClassicStyle::subElementRect(SubElement element, const QStyleOption *option,
                                   const QWidget *widget) const {
    switch (element) {
    case SE_PushButtonContents:
    case SE_PushButtonFocusRect: {
        const int inset = BevelWidth + ButtonPadding;
        QRect rect = option->rect.adjusted(inset, inset, -inset, -inset);
        if (isPressed(option))
            rect.translate(1, 1);
        return rect;
    }
    case SE_LineEditContents: {
        const int across = OutlineWidth + TextBoxPadding;
        return option->rect.adjusted(across, OutlineWidth, -across, -OutlineWidth);
    }
    default:
        return QProxyStyle::subElementRect(element, option, widget);
    }
}

} // namespace woundwell
