#include "printing/frmTicketPreview.h"

#include <QGuiApplication>
#include <QPainter>
#include <QScreen>

#include <algorithm>

frmTicketPreview::frmTicketPreview(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("frmTicketPreview"));
    setWindowTitle(QStringLiteral("Anteprima ricevuta"));
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void frmTicketPreview::Prepare(const TicketGeometry& geometry)
{
    m_ops.clear();
    // A ticket of no size has nothing to scale: a millimetre stands for it.
    const double totalHeight = std::max(1.0, double(geometry.top) + double(geometry.height));
    const double totalWidth = std::max(1.0, double(std::max<qint16>(geometry.columns, 1)) * double(geometry.width)
                                                + double(geometry.left));
    const QScreen* screen = this->screen() ? this->screen() : QGuiApplication::primaryScreen();
    const QSize available = screen ? screen->availableGeometry().size() : QSize(1024, 768);
    QSize size;
    if (totalHeight < totalWidth) {
        const int width = int(0.85 * available.width());
        size = QSize(width, int(width * totalHeight / totalWidth));
    } else {
        const int height = int(0.9 * available.height());
        size = QSize(int(height * totalWidth / totalHeight), height);
    }
    resize(size.expandedTo(QSize(40, 40)));
    m_areaMm = QSizeF(totalWidth + 1.0, totalHeight + 1.0);
    update();
}

void frmTicketPreview::Add(const TicketOp& op)
{
    m_ops.push_back(op);
    update();
}

double frmTicketPreview::Scale() const
{
    return std::min(width() / m_areaMm.width(), height() / m_areaMm.height());
}

void frmTicketPreview::paintEvent(QPaintEvent*)
{
    QPainter painter(this);
    painter.fillRect(rect(), Qt::white);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    TicketPainting::PaintAll(painter, m_ops, Scale());
}

PreviewTarget::PreviewTarget(frmTicketPreview* window, QSizeF printable) : m_window(window), m_printable(printable) {}

void PreviewTarget::Prepare(const TicketGeometry& geometry)
{
    if (m_window)
        m_window->Prepare(geometry);
}

void PreviewTarget::SetFont(const TicketFont& font)
{
    TicketOp op;
    op.kind = TicketOp::Kind::Font;
    op.font = font;
    if (m_window)
        m_window->Add(op);
}

void PreviewTarget::Text(QPointF topLeft, const QString& text)
{
    TicketOp op;
    op.kind = TicketOp::Kind::Text;
    op.rect = QRectF(topLeft, QSizeF());
    op.text = text;
    if (m_window)
        m_window->Add(op);
}

void PreviewTarget::Box(const QRectF& box, const QColor& colour)
{
    TicketOp op;
    op.kind = TicketOp::Kind::Box;
    op.rect = box;
    op.colour = colour;
    if (m_window)
        m_window->Add(op);
}
