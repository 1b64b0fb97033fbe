#include "printing/TicketPainting.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>

#include <algorithm>
#include <cmath>

namespace TicketPainting {

namespace {

constexpr double MmPerInch = 25.4;
// Box lines: a quarter of a millimetre, never thinner than one pixel.
constexpr double LineMm = 0.25;

QPointF ToPixels(QPointF mm, double pixelsPerMm, QPointF origin)
{
    return (mm - origin) * pixelsPerMm;
}

} // namespace

QFont DeviceFont(const TicketFont& font, const QPainter& painter, double pixelsPerMm)
{
    QFont result(font.name);
    const int dpi = painter.device() ? painter.device()->logicalDpiY() : 96;
    const double scale = pixelsPerMm * MmPerInch / double(dpi > 0 ? dpi : 96);
    // A size of 0 or less cannot be drawn: the smallest size stands for it.
    result.setPointSizeF(std::max(font.size, 1.0) * scale);
    result.setBold(font.bold);
    result.setItalic(font.italic);
    return result;
}

void Paint(QPainter& painter, const TicketOp& op, double pixelsPerMm, QPointF origin)
{
    switch (op.kind) {
    case TicketOp::Kind::Font:
        painter.setFont(DeviceFont(op.font, painter, pixelsPerMm));
        break;
    case TicketOp::Kind::Text: {
        const QFontMetricsF metrics(painter.font(), painter.device());
        const QPointF top = ToPixels(op.rect.topLeft(), pixelsPerMm, origin);
        painter.setPen(op.colour);
        painter.drawText(QPointF(top.x(), top.y() + metrics.ascent()), op.text);
        break;
    }
    case TicketOp::Kind::Box: {
        QPen pen(op.colour);
        pen.setWidthF(std::max(1.0, std::round(LineMm * pixelsPerMm)));
        pen.setJoinStyle(Qt::MiterJoin);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        const QPointF a = ToPixels(op.rect.topLeft(), pixelsPerMm, origin);
        const QPointF b = ToPixels(op.rect.bottomRight(), pixelsPerMm, origin);
        painter.drawRect(QRectF(a, b).normalized());
        break;
    }
    }
}

void PaintAll(QPainter& painter, const std::vector<TicketOp>& ops, double pixelsPerMm, QPointF origin)
{
    painter.setFont(DeviceFont(TicketFont(), painter, pixelsPerMm));
    for (const TicketOp& op : ops)
        Paint(painter, op, pixelsPerMm, origin);
}

} // namespace TicketPainting
