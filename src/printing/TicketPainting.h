#pragma once
// Drawing the print object's calls with a painter: millimetres turned into
// device pixels, the text's top at the given point, font sizes in points of
// the device (scaled only where the whole ticket is scaled, as on the
// preview).

#include "printing/TicketTarget.h"

#include <QColor>
#include <QFont>
#include <vector>

class QPainter;

// One drawing call, positions absolute on the page in millimetres.
struct TicketOp
{
    enum class Kind { Font, Text, Box };
    Kind kind = Kind::Text;
    QRectF rect;       // Text: the top-left corner; Box: the rectangle
    QString text;
    TicketFont font;
    QColor colour = Qt::black;
};

namespace TicketPainting {

// The font for a device whose millimetre holds `pixelsPerMm` pixels: the
// point size is kept when that is the device's own resolution, and scaled
// with it otherwise.
QFont DeviceFont(const TicketFont& font, const QPainter& painter, double pixelsPerMm);

// Draws one call; `origin` (mm) is the page point drawn at the pixel (0, 0).
void Paint(QPainter& painter, const TicketOp& op, double pixelsPerMm, QPointF origin = {});

// Draws a sequence of calls from the default font on.
void PaintAll(QPainter& painter, const std::vector<TicketOp>& ops, double pixelsPerMm, QPointF origin = {});

} // namespace TicketPainting
