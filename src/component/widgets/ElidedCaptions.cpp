#include "component/widgets/ElidedCaptions.h"

#include <QProxyStyle>
#include <QStyleOption>
#include <QWidget>

namespace {

// The widget's own style, but with captions elided to the room the style
// gives them.
class ElidingStyle : public QProxyStyle
{
public:
    void drawControl(ControlElement element, const QStyleOption* option, QPainter* painter,
                     const QWidget* widget) const override
    {
        if (element == CE_HeaderLabel) {
            if (const auto* header = qstyleoption_cast<const QStyleOptionHeader*>(option)) {
                QStyleOptionHeader elided(*header);
                int room = header->rect.width();
                if (!header->icon.isNull())
                    room -= pixelMetric(PM_SmallIconSize, option, widget) + pixelMetric(PM_HeaderMargin, option, widget);
                elided.text = header->fontMetrics.elidedText(header->text, Qt::ElideRight, room);
                QProxyStyle::drawControl(element, &elided, painter, widget);
                return;
            }
        }
        if (element == CE_ToolButtonLabel) {
            if (const auto* button = qstyleoption_cast<const QStyleOptionToolButton*>(option);
                button && button->toolButtonStyle == Qt::ToolButtonTextOnly) {
                QStyleOptionToolButton elided(*button);
                // The frame's margins are the button's, already taken off.
                elided.text = button->fontMetrics.elidedText(button->text, Qt::ElideRight,
                                                             button->rect.width() - 2 * pixelMetric(PM_ButtonMargin, option, widget) / 2);
                QProxyStyle::drawControl(element, &elided, painter, widget);
                return;
            }
        }
        if (element == CE_PushButtonLabel) {
            if (const auto* button = qstyleoption_cast<const QStyleOptionButton*>(option)) {
                QStyleOptionButton elided(*button);
                int room = button->rect.width();
                if (!button->icon.isNull())
                    room -= button->iconSize.width() + 4;
                elided.text = button->fontMetrics.elidedText(button->text, Qt::ElideRight, room);
                QProxyStyle::drawControl(element, &elided, painter, widget);
                return;
            }
        }
        QProxyStyle::drawControl(element, option, painter, widget);
    }
};

} // namespace

void ElideCaptions(QWidget& widget)
{
    auto* style = new ElidingStyle;
    style->setParent(&widget);
    widget.setStyle(style);
}
