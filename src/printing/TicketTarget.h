#pragma once
// What the print object draws on: a surface measured in millimetres from the
// top-left corner of its printable area. Printers, PDF files, the preview
// window, thermal receipt printers and the test recorder implement it.

#include <QColor>
#include <QPointF>
#include <QRectF>
#include <QSizeF>
#include <QString>

// A font as the layout scripts choose it: a name, a size in points and two
// styles.
struct TicketFont
{
    QString name = QStringLiteral("Arial");
    double size = 10.0;
    bool bold = false;
    bool italic = false;

    bool operator==(const TicketFont&) const = default;
};

// Where and how large the tickets are laid out, in millimetres; a height or
// width of 0 means the printable size.
struct TicketGeometry
{
    float height = 203.0f;
    float width = 121.0f;
    float top = 0.0f;
    float left = 0.0f;
    qint16 columns = 1;
    float rowsDim = 6.0f;
    float rowsTop = 85.0f;
    float rowsBottom = 165.0f;
};

class TicketTarget
{
public:
    // A page target breaks lines of tickets into pages; the preview shows one
    // line of tickets and lets the ones below grow off its area.
    enum class Kind { Page, Preview };

    virtual ~TicketTarget() = default;

    virtual Kind TargetKind() const { return Kind::Page; }
    // The printable area in millimetres.
    virtual QSizeF PrintableSize() const = 0;
    // The start of an emission, with the geometry in force (a height or width
    // of 0 already replaced by the printable size).
    virtual void Prepare(const TicketGeometry& geometry) { Q_UNUSED(geometry); }
    virtual void SetFont(const TicketFont& font) = 0;
    // Text whose top-left corner lies at `topLeft`.
    virtual void Text(QPointF topLeft, const QString& text) = 0;
    // A rectangle outline.
    virtual void Box(const QRectF& box, const QColor& colour) = 0;
    // The ticket in `ticket` is complete (the print object moves on).
    virtual void TicketDone(const QRectF& ticket) { Q_UNUSED(ticket); }
    virtual void NewPage() = 0;
    // Ends the document: what was drawn goes to the printer. False, with
    // `error` filled, when it could not be printed.
    virtual bool End(QString* error) = 0;
    // Drops what was drawn since the document began: nothing is printed.
    virtual void Abort() = 0;
    // A failure met while drawing (the document could not begin), else empty.
    virtual QString Failure() const { return {}; }
};
