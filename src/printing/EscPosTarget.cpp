#include "printing/EscPosTarget.h"

#include <QDir>
#include <QFile>
#include <QPainter>
#include <QRegularExpression>
#include <QTcpSocket>

#include <algorithm>
#include <cmath>

namespace {

constexpr int BandRows = 256;       // rows of one raster command
constexpr double BottomMarginMm = 4.0;
constexpr int NetworkTimeoutMs = 5000;

bool SendToFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(bytes) != bytes.size() || !file.flush()) {
        if (error)
            *error = QStringLiteral("Impossibile inviare la ricevuta a \"%1\": %2").arg(QDir::toNativeSeparators(path), file.errorString());
        return false;
    }
    return true;
}

bool SendToNetwork(const QString& host, quint16 port, const QByteArray& bytes, QString* error)
{
    QTcpSocket socket;
    socket.connectToHost(host, port);
    bool ok = socket.waitForConnected(NetworkTimeoutMs);
    if (ok) {
        socket.write(bytes);
        while (ok && socket.bytesToWrite() > 0)
            ok = socket.waitForBytesWritten(NetworkTimeoutMs);
        socket.disconnectFromHost();
        if (socket.state() != QAbstractSocket::UnconnectedState)
            socket.waitForDisconnected(NetworkTimeoutMs);
    }
    if (!ok && error)
        *error = QStringLiteral("Impossibile inviare la ricevuta alla stampante %1:%2: %3").arg(host).arg(port).arg(socket.errorString());
    return ok;
}

bool IsBlack(const QImage& image, int x, int y)
{
    return qGray(image.pixel(x, y)) < 128;
}

} // namespace

EscPosTarget::EscPosTarget(int dots, Sink sink) : m_dots(dots), m_sink(std::move(sink)) {}

std::unique_ptr<EscPosTarget> EscPosTarget::ForDestination(const QString& destination, int dots)
{
    static const QRegularExpression hostPort(QStringLiteral("^([^/\\\\:]+):(\\d{1,5})$"));
    const QRegularExpressionMatch match = hostPort.match(destination.trimmed());
    if (match.hasMatch()) {
        const QString host = match.captured(1);
        const quint16 port = quint16(match.captured(2).toUInt());
        return std::make_unique<EscPosTarget>(dots, [host, port](const QByteArray& bytes, QString* error) {
            return SendToNetwork(host, port, bytes, error);
        });
    }
    const QString path = destination.trimmed();
    return std::make_unique<EscPosTarget>(dots, [path](const QByteArray& bytes, QString* error) {
        if (path.isEmpty()) {
            if (error)
                *error = QStringLiteral("Nessuna porta indicata per la stampante termica.");
            return false;
        }
        return SendToFile(path, bytes, error);
    });
}

QSizeF EscPosTarget::PrintableSize() const
{
    return QSizeF(m_dots / DotsPerMm, RollMm);
}

void EscPosTarget::Prepare(const TicketGeometry& geometry)
{
    m_left = geometry.left;
    m_ops.clear();
    SetFont(m_font);
}

void EscPosTarget::SetFont(const TicketFont& font)
{
    m_font = font;
    TicketOp op;
    op.kind = TicketOp::Kind::Font;
    op.font = font;
    m_ops.push_back(op);
}

void EscPosTarget::Text(QPointF topLeft, const QString& text)
{
    TicketOp op;
    op.kind = TicketOp::Kind::Text;
    op.rect = QRectF(topLeft, QSizeF());
    op.text = text;
    m_ops.push_back(op);
}

void EscPosTarget::Box(const QRectF& box, const QColor& colour)
{
    TicketOp op;
    op.kind = TicketOp::Kind::Box;
    op.rect = box;
    op.colour = colour;
    m_ops.push_back(op);
}

QImage EscPosTarget::Render(const std::vector<TicketOp>& ops, QPointF origin, double heightMm, int dots)
{
    const bool crop = heightMm <= 0.0;
    const double drawnMm = crop ? RollMm : heightMm;
    QImage canvas(dots, std::max(1, int(std::lround(drawnMm * DotsPerMm))), QImage::Format_Grayscale8);
    canvas.fill(Qt::white);
    const int dotsPerMetre = int(std::lround(DotsPerMm * 1000.0));
    canvas.setDotsPerMeterX(dotsPerMetre);
    canvas.setDotsPerMeterY(dotsPerMetre);
    {
        QPainter painter(&canvas);
        painter.setRenderHint(QPainter::TextAntialiasing);
        TicketPainting::PaintAll(painter, ops, DotsPerMm, origin);
    }
    int rows = canvas.height();
    if (crop) {
        int last = -1;
        for (int y = canvas.height() - 1; y >= 0 && last < 0; --y)
            for (int x = 0; x < dots; ++x)
                if (IsBlack(canvas, x, y)) {
                    last = y;
                    break;
                }
        rows = std::min(canvas.height(), last + 1 + int(std::lround(BottomMarginMm * DotsPerMm)));
    }
    // Thermal dots are black or white.
    QImage mono(dots, rows, QImage::Format_Mono);
    mono.setColor(0, qRgb(255, 255, 255));
    mono.setColor(1, qRgb(0, 0, 0));
    mono.fill(0);
    for (int y = 0; y < rows; ++y) {
        const uchar* line = canvas.constScanLine(y);
        for (int x = 0; x < dots; ++x)
            if (line[x] < 128)
                mono.setPixel(x, y, 1);
    }
    mono.setDotsPerMeterX(dotsPerMetre);
    mono.setDotsPerMeterY(dotsPerMetre);
    return mono;
}

QByteArray EscPosTarget::RasterCommands(const QImage& image)
{
    const int widthBytes = (image.width() + 7) / 8;
    QByteArray out;
    for (int top = 0; top < image.height(); top += BandRows) {
        const int rows = std::min(BandRows, image.height() - top);
        out += QByteArray("\x1D\x76\x30\x00", 4);
        out += char(widthBytes & 0xFF);
        out += char((widthBytes >> 8) & 0xFF);
        out += char(rows & 0xFF);
        out += char((rows >> 8) & 0xFF);
        for (int y = top; y < top + rows; ++y) {
            for (int b = 0; b < widthBytes; ++b) {
                uchar byte = 0;
                for (int bit = 0; bit < 8; ++bit) {
                    const int x = b * 8 + bit;
                    if (x < image.width() && IsBlack(image, x, y))
                        byte |= uchar(0x80 >> bit);
                }
                out += char(byte);
            }
        }
    }
    return out;
}

QByteArray EscPosTarget::FeedAndCut()
{
    // ESC d 4: feed four lines, so that the cut falls below the drawing;
    // GS V 1: partial cut.
    return QByteArray("\x1B\x64\x04\x1D\x56\x01", 6);
}

void EscPosTarget::Flush(QPointF origin, double heightMm)
{
    bool drawn = false;
    for (const TicketOp& op : m_ops)
        drawn = drawn || op.kind != TicketOp::Kind::Font;
    if (drawn) {
        m_document += RasterCommands(Render(m_ops, origin, heightMm, m_dots));
        m_document += FeedAndCut();
    }
    m_ops.clear();
    // The next ticket starts in the font in force.
    SetFont(m_font);
}

void EscPosTarget::TicketDone(const QRectF& ticket)
{
    // The paper's left edge is the page's: the left margin stays a margin.
    const QPointF origin(ticket.left() - double(m_left), ticket.top());
    Flush(origin, ticket.height() >= RollMm - 1.0 ? 0.0 : ticket.height());
}

bool EscPosTarget::End(QString* error)
{
    // Drawing after the last ticket was closed: from its top edge down.
    double top = RollMm;
    for (const TicketOp& op : m_ops)
        if (op.kind != TicketOp::Kind::Font)
            top = std::min(top, op.rect.top());
    if (top < RollMm)
        Flush(QPointF(0.0, top), 0.0);
    if (m_document.isEmpty())
        return true;
    const QByteArray bytes = QByteArray("\x1B\x40", 2) + m_document; // ESC @: initialise
    m_document.clear();
    return m_sink(bytes, error);
}

void EscPosTarget::Abort()
{
    m_ops.clear();
    m_document.clear();
    SetFont(m_font);
}
