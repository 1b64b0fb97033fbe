#include "browser/BrowserIcons.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <QPixmap>

#include <functional>

namespace {

// Every picture is drawn on a 32 by 32 canvas.
using Drawing = std::function<void(QPainter&)>;

const QColor kOutline(0x3c, 0x3c, 0x3c);

class DrawnIconEngine : public QIconEngine
{
public:
    explicit DrawnIconEngine(Drawing drawing) : m_drawing(std::move(drawing)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State state) override
    {
        painter->drawPixmap(rect, pixmap(rect.size() * painter->device()->devicePixelRatio(), mode, state));
    }

    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State) override
    {
        QImage image(size, QImage::Format_ARGB32_Premultiplied);
        image.fill(Qt::transparent);
        {
            QPainter painter(&image);
            painter.setRenderHint(QPainter::Antialiasing);
            painter.scale(size.width() / 32.0, size.height() / 32.0);
            m_drawing(painter);
        }
        if (mode == QIcon::Disabled)
            Fade(image);
        return QPixmap::fromImage(image);
    }

    QIconEngine* clone() const override { return new DrawnIconEngine(m_drawing); }

private:
    // Grey and half transparent, as disabled pictures look.
    static void Fade(QImage& image)
    {
        for (int y = 0; y < image.height(); ++y) {
            auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
            for (int x = 0; x < image.width(); ++x) {
                const QColor color = QColor::fromRgba(qUnpremultiply(line[x]));
                const int gray = qGray(color.rgb()) / 2 + 100;
                line[x] = qPremultiply(qRgba(gray, gray, gray, color.alpha() / 2));
            }
        }
    }

    Drawing m_drawing;
};

QIcon Drawn(Drawing drawing)
{
    return QIcon(new DrawnIconEngine(std::move(drawing)));
}

QPen Outline(qreal width = 1.2)
{
    return QPen(kOutline, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
}

// A sheet of paper with a folded corner and a few lines of text.
void Page(QPainter& p, const QRectF& r, int lines, const QColor& header = QColor())
{
    QPainterPath sheet;
    const qreal fold = r.width() * 0.3;
    sheet.moveTo(r.topLeft());
    sheet.lineTo(r.right() - fold, r.top());
    sheet.lineTo(r.right(), r.top() + fold);
    sheet.lineTo(r.bottomRight());
    sheet.lineTo(r.bottomLeft());
    sheet.closeSubpath();
    p.setPen(Outline());
    p.setBrush(Qt::white);
    p.drawPath(sheet);
    p.setBrush(QColor(0xdd, 0xdd, 0xdd));
    p.drawPolygon(QPolygonF({QPointF(r.right() - fold, r.top()), QPointF(r.right() - fold, r.top() + fold),
                             QPointF(r.right(), r.top() + fold)}));
    qreal y = r.top() + fold + 2;
    if (header.isValid()) {
        p.setPen(Qt::NoPen);
        p.setBrush(header);
        p.drawRect(QRectF(r.left() + 3, r.top() + 3, r.width() - fold - 5, 3));
    }
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.2));
    for (int i = 0; i < lines && y < r.bottom() - 2; ++i, y += 3.5)
        p.drawLine(QPointF(r.left() + 3, y), QPointF(r.right() - 3 - (i % 2) * 4, y));
}

void PlusBadge(QPainter& p, const QPointF& centre)
{
    p.setPen(Outline(1.0));
    p.setBrush(QColor(0x3a, 0xa5, 0x3a));
    p.drawEllipse(centre, 6.5, 6.5);
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(centre + QPointF(-3.5, 0), centre + QPointF(3.5, 0));
    p.drawLine(centre + QPointF(0, -3.5), centre + QPointF(0, 3.5));
}

void Folder(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(QColor(0xd9, 0xa4, 0x41));
    QPainterPath back;
    back.moveTo(3, 8);
    back.lineTo(12, 8);
    back.lineTo(14, 11);
    back.lineTo(29, 11);
    back.lineTo(29, 27);
    back.lineTo(3, 27);
    back.closeSubpath();
    p.drawPath(back);
    p.setBrush(QColor(0xf4, 0xc8, 0x5e));
    p.drawPolygon(QPolygonF({QPointF(3, 27), QPointF(7, 15), QPointF(31, 15), QPointF(29, 27)}));
}

void Plate(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 16), 10, 10);
    p.setBrush(QColor(0xf0, 0xf0, 0xf0));
    p.drawEllipse(QPointF(16, 16), 6.5, 6.5);
    p.setPen(QPen(kOutline, 2.2, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(2.8, 6), QPointF(2.8, 28));
    p.setPen(QPen(kOutline, 1.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(1.2, 5), QPointF(1.2, 11));
    p.drawLine(QPointF(4.4, 5), QPointF(4.4, 11));
    p.setPen(QPen(kOutline, 3, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(29.3, 6), QPointF(29.3, 28));
}

void Person(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(QColor(0x3d, 0x7e, 0xc9));
    QPainterPath body;
    body.moveTo(5, 29);
    body.cubicTo(5, 19, 27, 19, 27, 29);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(0xf1, 0xc2, 0x9a));
    p.drawEllipse(QPointF(16, 11), 6, 6.5);
}

void Banknote(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(QColor(0x7c, 0xc0, 0x7a));
    p.drawRoundedRect(QRectF(2, 8, 26, 15), 2, 2);
    p.setBrush(QColor(0xb9, 0xe0, 0xb6));
    p.drawEllipse(QPointF(15, 15.5), 4.5, 4.5);
    p.setBrush(QColor(0xf0, 0xc0, 0x30));
    p.drawEllipse(QPointF(24, 23), 6.5, 6.5);
    p.setPen(QPen(QColor(0xa0, 0x78, 0x10), 1.2));
    p.drawEllipse(QPointF(24, 23), 4, 4);
}

void Receipt(QPainter& p)
{
    QPainterPath paper;
    paper.moveTo(7, 3);
    paper.lineTo(25, 3);
    paper.lineTo(25, 28);
    for (int i = 0; i < 6; ++i) {
        paper.lineTo(25 - 3 * i - 1.5, 26);
        paper.lineTo(25 - 3 * i - 3, 28);
    }
    paper.closeSubpath();
    p.setPen(Outline());
    p.setBrush(QColor(0xfd, 0xfd, 0xf2));
    p.drawPath(paper);
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.2));
    for (qreal y = 8; y < 20; y += 3.5) {
        p.drawLine(QPointF(10, y), QPointF(17, y));
        p.drawLine(QPointF(19.5, y), QPointF(22, y));
    }
    p.setPen(QPen(kOutline, 1.4));
    p.drawLine(QPointF(10, 22.5), QPointF(22, 22.5));
}

void Printer(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 3, 14, 9));
    p.setBrush(QColor(0x9a, 0xa3, 0xad));
    p.drawRoundedRect(QRectF(3, 11, 26, 12), 2, 2);
    p.setBrush(QColor(0x6b, 0x74, 0x7e));
    p.drawRect(QRectF(7, 19, 18, 4));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(9, 21, 14, 8));
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.0));
    p.drawLine(QPointF(11, 24.5), QPointF(21, 24.5));
    p.drawLine(QPointF(11, 27), QPointF(18, 27));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x3a, 0xc0, 0x3a));
    p.drawEllipse(QPointF(25.5, 14.5), 1.3, 1.3);
}

void Cabinet(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(QColor(0xb0, 0x86, 0x5a));
    p.drawRect(QRectF(6, 3, 20, 26));
    p.setBrush(QColor(0xd2, 0xa8, 0x78));
    p.drawRect(QRectF(8.5, 5.5, 15, 10));
    p.drawRect(QRectF(8.5, 16.5, 15, 10));
    p.setBrush(QColor(0x5a, 0x40, 0x28));
    p.drawRoundedRect(QRectF(13, 9.5, 6, 2), 1, 1);
    p.drawRoundedRect(QRectF(13, 20.5, 6, 2), 1, 1);
}

void Pencil(QPainter& p)
{
    p.save();
    p.translate(21, 21);
    p.rotate(45);
    p.setPen(Outline(1.0));
    p.setBrush(QColor(0xf2, 0xb1, 0x34));
    p.drawRect(QRectF(-2.5, -11, 5, 15));
    p.setBrush(QColor(0xf1, 0xd2, 0xa8));
    p.drawPolygon(QPolygonF({QPointF(-2.5, 4), QPointF(2.5, 4), QPointF(0, 9)}));
    p.setBrush(QColor(0xe0, 0x80, 0x80));
    p.drawRect(QRectF(-2.5, -13, 5, 2));
    p.restore();
}

void Cross(QPainter& p)
{
    p.setPen(QPen(QColor(0x8a, 0x1c, 0x1c), 7.5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(24, 24));
    p.drawLine(QPointF(24, 8), QPointF(8, 24));
    p.setPen(QPen(QColor(0xd9, 0x3b, 0x3b), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(8, 8), QPointF(24, 24));
    p.drawLine(QPointF(24, 8), QPointF(8, 24));
}

void Links(QPainter& p)
{
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(QColor(0x2f, 0x6d, 0xb5), 3.2));
    p.save();
    p.translate(16, 16);
    p.rotate(-40);
    p.drawRoundedRect(QRectF(-13, -4.5, 15, 9), 4.5, 4.5);
    p.setPen(QPen(QColor(0x4f, 0x9a, 0xe0), 3.2));
    p.drawRoundedRect(QRectF(-2, -4.5, 15, 9), 4.5, 4.5);
    p.restore();
}

void Disk(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(QColor(0x3d, 0x6f, 0xb6));
    QPainterPath body;
    body.moveTo(4, 4);
    body.lineTo(24, 4);
    body.lineTo(28, 8);
    body.lineTo(28, 28);
    body.lineTo(4, 28);
    body.closeSubpath();
    p.drawPath(body);
    p.setBrush(QColor(0xe8, 0xe8, 0xe8));
    p.drawRect(QRectF(9, 4, 13, 8));
    p.setBrush(QColor(0x3d, 0x6f, 0xb6));
    p.drawRect(QRectF(17, 5.5, 3, 5));
    p.setBrush(Qt::white);
    p.drawRect(QRectF(8, 16, 16, 12));
    p.setPen(QPen(QColor(0x90, 0x90, 0x90), 1.0));
    p.drawLine(QPointF(10, 20), QPointF(22, 20));
    p.drawLine(QPointF(10, 24), QPointF(22, 24));
}

void Funnel(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(QColor(0x4f, 0x9a, 0xe0));
    p.drawPolygon(QPolygonF({QPointF(3, 5), QPointF(29, 5), QPointF(19, 17), QPointF(19, 28), QPointF(13, 25),
                             QPointF(13, 17)}));
    p.setBrush(QColor(0xa9, 0xd0, 0xf5));
    p.drawEllipse(QRectF(3, 3, 26, 4));
}

void Magnifier(QPainter& p)
{
    p.setPen(QPen(QColor(0x5a, 0x40, 0x28), 5, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(20, 20), QPointF(28, 28));
    p.setPen(QPen(kOutline, 2.6));
    p.setBrush(QColor(0xcf, 0xe6, 0xfa));
    p.drawEllipse(QPointF(13, 13), 9, 9);
    p.setPen(QPen(Qt::white, 2, Qt::SolidLine, Qt::RoundCap));
    p.drawArc(QRectF(8, 8, 10, 10), 100 * 16, 70 * 16);
}

void Barcode(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(Qt::white);
    p.drawRect(QRectF(2, 6, 28, 20));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x20, 0x20, 0x20));
    const qreal widths[] = {1.5, 0.8, 2.2, 0.8, 0.8, 1.8, 0.8, 2.4, 0.8, 1.2, 2, 0.8, 1.4};
    qreal x = 5;
    for (std::size_t i = 0; i < std::size(widths); ++i) {
        if (i % 2 == 0)
            p.drawRect(QRectF(x, 9, widths[i], 14));
        x += widths[i] + 0.9;
    }
    p.setBrush(QColor(0xe0, 0x30, 0x30));
    p.drawRect(QRectF(0, 15.3, 32, 1.4));
}

void Register(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(QColor(0x33, 0x3b, 0x45));
    p.drawRect(QRectF(10, 3, 14, 6));
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x6c, 0xe0, 0x7a));
    p.drawRect(QRectF(12, 4.5, 10, 3));
    p.setPen(Outline());
    p.setBrush(QColor(0x9a, 0xa3, 0xad));
    p.drawPolygon(QPolygonF({QPointF(6, 10), QPointF(26, 10), QPointF(29, 22), QPointF(3, 22)}));
    p.setBrush(QColor(0x6b, 0x74, 0x7e));
    p.drawRect(QRectF(2, 22, 28, 7));
    p.setBrush(QColor(0xe8, 0xe8, 0xe8));
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 4; ++col)
            p.drawRect(QRectF(8 + col * 4.5 + row * 0.8, 12.5 + row * 4, 3, 2.5));
    p.setBrush(QColor(0xd0, 0xd0, 0xd0));
    p.drawRect(QRectF(12, 24.5, 8, 2));
}

void GridTable(QPainter& p)
{
    p.setPen(Outline());
    p.setBrush(Qt::white);
    p.drawRect(QRectF(3, 5, 26, 22));
    p.setBrush(QColor(0x3d, 0x7e, 0xc9));
    p.drawRect(QRectF(3, 5, 26, 6));
    p.setPen(QPen(QColor(0x80, 0x80, 0x80), 1.2));
    for (qreal y : {16.5, 21.5})
        p.drawLine(QPointF(3, y), QPointF(29, y));
    for (qreal x : {11.5, 20.5})
        p.drawLine(QPointF(x, 11), QPointF(x, 27));
}

void Logo(QPainter& p)
{
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0x2e, 0x6b, 0x4f));
    p.drawRoundedRect(QRectF(1, 1, 30, 30), 6, 6);
    p.setBrush(Qt::white);
    p.drawEllipse(QPointF(16, 17), 9, 9);
    p.setBrush(QColor(0xe9, 0xe9, 0xe9));
    p.drawEllipse(QPointF(16, 17), 5.5, 5.5);
    p.setPen(QPen(Qt::white, 1.6, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(4.5, 7), QPointF(4.5, 27));
    p.setPen(QPen(Qt::white, 2.4, Qt::SolidLine, Qt::RoundCap));
    p.drawLine(QPointF(27.5, 7), QPointF(27.5, 27));
}

} // namespace

namespace BrowserIcons {

QIcon Section(const QString& key)
{
    if (key == QLatin1String("Article"))
        return Drawn(Folder);
    if (key == QLatin1String("AnagraficElement"))
        return Drawn(Plate);
    if (key == QLatin1String("AnagraficPerson"))
        return Drawn(Person);
    if (key == QLatin1String("Payment"))
        return Drawn(Banknote);
    if (key == QLatin1String("Operation"))
        return Drawn(Receipt);
    if (key == QLatin1String("Report"))
        return Drawn(Printer);
    if (key == QLatin1String("ReportElement"))
        return Drawn([](QPainter& p) { Page(p, QRectF(6, 2, 20, 27), 6, QColor(0x3d, 0x7e, 0xc9)); });
    if (key == QLatin1String("Archive"))
        return Drawn(Cabinet);
    return {};
}

QIcon Toolbar(const QString& key)
{
    if (key == QLatin1String("New"))
        return Drawn([](QPainter& p) {
            Page(p, QRectF(4, 2, 19, 25), 4);
            PlusBadge(p, QPointF(23, 23));
        });
    if (key == QLatin1String("Properties"))
        return Drawn([](QPainter& p) {
            Page(p, QRectF(3, 2, 19, 25), 5);
            Pencil(p);
        });
    if (key == QLatin1String("Delete"))
        return Drawn(Cross);
    if (key == QLatin1String("Related"))
        return Drawn(Links);
    if (key == QLatin1String("Save"))
        return Drawn(Disk);
    if (key == QLatin1String("Filter"))
        return Drawn(Funnel);
    if (key == QLatin1String("Find"))
        return Drawn(Magnifier);
    if (key == QLatin1String("Print"))
        return Drawn(Printer);
    if (key == QLatin1String("BarcodeReader"))
        return Drawn(Barcode);
    if (key == QLatin1String("FiscalPrinter"))
        return Drawn(Register);
    if (key == QLatin1String("Sale"))
        return Drawn([](QPainter& p) {
            Receipt(p);
            PlusBadge(p, QPointF(24, 24));
        });
    if (key == QLatin1String("GridSetting"))
        return Drawn(GridTable);
    return {};
}

QIcon Application()
{
    return Drawn(Logo);
}

} // namespace BrowserIcons
