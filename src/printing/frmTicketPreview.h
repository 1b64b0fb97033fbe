#pragma once
// The tickets of a receipt on screen: one line of tickets scaled to fill the
// window, each with its red ticket frame and green row area. Escape closes it.

#include "printing/TicketPainting.h"
#include "printing/TicketTarget.h"

#include <QDialog>
#include <QPointer>
#include <vector>

class frmTicketPreview : public QDialog
{
    Q_OBJECT

public:
    explicit frmTicketPreview(QWidget* parent = nullptr);

    // Sizes the window for one line of tickets of this geometry and clears
    // the drawing.
    void Prepare(const TicketGeometry& geometry);
    void Add(const TicketOp& op);

    const std::vector<TicketOp>& Ops() const { return m_ops; }
    // The drawing area in millimetres: one line of tickets and a millimetre.
    QSizeF AreaMm() const { return m_areaMm; }
    // Pixels per millimetre at the window's present size.
    double Scale() const;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    std::vector<TicketOp> m_ops;
    QSizeF m_areaMm{211.0, 298.0};
};

// The preview window as the print object's target. `printable` stands for a
// ticket height or width of 0.
class PreviewTarget : public TicketTarget
{
public:
    explicit PreviewTarget(frmTicketPreview* window, QSizeF printable = QSizeF(210.0, 297.0));

    Kind TargetKind() const override { return Kind::Preview; }
    QSizeF PrintableSize() const override { return m_printable; }
    void Prepare(const TicketGeometry& geometry) override;
    void SetFont(const TicketFont& font) override;
    void Text(QPointF topLeft, const QString& text) override;
    void Box(const QRectF& box, const QColor& colour) override;
    void NewPage() override {}
    bool End(QString*) override { return true; }
    // The preview keeps what it shows.
    void Abort() override {}

private:
    QPointer<frmTicketPreview> m_window;
    QSizeF m_printable;
};
