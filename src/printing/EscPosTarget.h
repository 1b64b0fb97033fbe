#pragma once
// A thermal receipt printer spoken to directly, with no driver: each ticket is
// drawn at the printer's dots (203 per inch) and sent as a raster image
// (GS v 0), then the paper is fed and partially cut. The bytes go to a device
// file (/dev/usb/lp0) or to a printer on the network (host:9100) when the
// document ends; nothing is sent when it is aborted.

#include "printing/TicketPainting.h"
#include "printing/TicketTarget.h"

#include <QByteArray>
#include <QImage>
#include <functional>
#include <memory>
#include <vector>

class EscPosTarget : public TicketTarget
{
public:
    // Receives the whole document; false (and the reason) when it could not
    // be delivered.
    using Sink = std::function<bool(const QByteArray& bytes, QString* error)>;

    static constexpr double DotsPerMm = 203.0 / 25.4;
    // The roll as a page: as long as a ticket may reasonably be.
    static constexpr double RollMm = 1000.0;

    EscPosTarget(int dots, Sink sink);
    // "host:port" for a network printer, else a device or file path.
    static std::unique_ptr<EscPosTarget> ForDestination(const QString& destination, int dots);

    QSizeF PrintableSize() const override;
    void Prepare(const TicketGeometry& geometry) override;
    void SetFont(const TicketFont& font) override;
    void Text(QPointF topLeft, const QString& text) override;
    void Box(const QRectF& box, const QColor& colour) override;
    void TicketDone(const QRectF& ticket) override;
    void NewPage() override {}
    bool End(QString* error) override;
    void Abort() override;

    int Dots() const { return m_dots; }

    // A ticket's drawing as the printer prints it: `dots` wide, white and
    // black only. `origin` is the page point (mm) at the image's top-left;
    // a `heightMm` of 0 ends the image a little below the lowest drawing.
    static QImage Render(const std::vector<TicketOp>& ops, QPointF origin, double heightMm, int dots);
    // GS v 0 commands for a black-and-white image, in bands of rows.
    static QByteArray RasterCommands(const QImage& image);
    static QByteArray FeedAndCut();

private:
    void Flush(QPointF origin, double heightMm);

    int m_dots;
    Sink m_sink;
    float m_left = 0.0f;
    TicketFont m_font;
    std::vector<TicketOp> m_ops;
    QByteArray m_document;
};
