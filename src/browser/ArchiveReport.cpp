#include "browser/ArchiveReport.h"

#include "component/DataObject.h"
#include "component/FieldValue.h"
#include "component/SqlDialect.h"

#include <QFontMetricsF>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>

#include <cmath>

namespace {

// Heights in millimetres.
constexpr double kPageTitle = 11.0;
constexpr double kTitleSection = 17.0;
constexpr double kColumnHeader = 7.0;
constexpr double kRow = 5.0;
constexpr double kFooter = 9.0;
constexpr double kTotal = 10.0;
constexpr double kCellPadding = 1.2;
// The printable area of the paper and the lists' own margins.
constexpr double kPaperMargin = 5.0;
constexpr double kListMargin = 10.0;

QFont ReportFont(double points, bool bold = false)
{
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(points);
    font.setBold(bold);
    return font;
}

} // namespace

ReportDefinition drMenu()
{
    ReportDefinition d;
    d.name = QStringLiteral("drMenu");
    d.pageTitle = QStringLiteral("Menù - Archivio Portate");
    d.columns = {
        {QStringLiteral("Nome"), QStringLiteral("Nome"), ReportColumn::Format::Display, 3.0, Qt::AlignLeft},
        {QStringLiteral("Descrizione"), QStringLiteral("Descrizione"), ReportColumn::Format::Display, 5.0, Qt::AlignLeft},
        {QStringLiteral("Prezzo"), QStringLiteral("Prezzo"), ReportColumn::Format::Amount, 1.6, Qt::AlignRight},
        {QStringLiteral("Portata"), QStringLiteral("Portata"), ReportColumn::Format::Display, 2.4, Qt::AlignLeft},
    };
    return d;
}

ReportDefinition drClienti()
{
    ReportDefinition d;
    d.name = QStringLiteral("drClienti");
    d.pageTitle = QStringLiteral("Clienti");
    d.orientation = QPageLayout::Landscape;
    d.columns = {
        {QStringLiteral("Ragione Sociale"), QStringLiteral("Ragione_Sociale"), ReportColumn::Format::Display, 3.2, Qt::AlignLeft},
        {QStringLiteral("Indirizzo"), QStringLiteral("Indirizzo"), ReportColumn::Format::Display, 3.0, Qt::AlignLeft},
        {QStringLiteral("Cap"), QStringLiteral("Cap"), ReportColumn::Format::Display, 1.2, Qt::AlignLeft},
        {QStringLiteral("Comune"), QStringLiteral("Comune"), ReportColumn::Format::Display, 2.0, Qt::AlignLeft},
        {QStringLiteral("Prov"), QStringLiteral("Provincia"), ReportColumn::Format::Display, 0.8, Qt::AlignLeft},
        {QStringLiteral("Telefono"), QStringLiteral("Telefono"), ReportColumn::Format::Display, 1.6, Qt::AlignLeft},
        {QStringLiteral("Cellulare"), QStringLiteral("Cellulare"), ReportColumn::Format::Display, 1.6, Qt::AlignLeft},
        {QStringLiteral("Fax"), QStringLiteral("Fax"), ReportColumn::Format::Display, 1.6, Qt::AlignLeft},
        {QStringLiteral("Partita IVA"), QStringLiteral("Partita_Iva"), ReportColumn::Format::Display, 2.0, Qt::AlignLeft},
        {QStringLiteral("Note"), QStringLiteral("Note"), ReportColumn::Format::Display, 2.4, Qt::AlignLeft},
    };
    return d;
}

ReportDefinition drRicevute()
{
    ReportDefinition d;
    d.name = QStringLiteral("drRicevute");
    d.titleSection = true;
    d.footerDate = false;
    d.marginsFromSettings = true;
    d.totalCaption = QStringLiteral("TOTALE :");
    d.totalField = QStringLiteral("Importo_Ricevuta");
    d.columns = {
        {QStringLiteral("N°"), QStringLiteral("Numero"), ReportColumn::Format::Whole, 1.0, Qt::AlignRight},
        {QStringLiteral("Cliente"), QStringLiteral("Cliente"), ReportColumn::Format::Display, 4.2, Qt::AlignLeft},
        {QStringLiteral("Data"), QStringLiteral("Data"), ReportColumn::Format::Date, 1.6, Qt::AlignLeft},
        {QStringLiteral("Importo"), QStringLiteral("Importo_Ricevuta"), ReportColumn::Format::Amount, 1.7, Qt::AlignRight},
        {QStringLiteral("Tipo Doc."), QStringLiteral("TipoDocumento"), ReportColumn::Format::Display, 2.4, Qt::AlignLeft},
    };
    return d;
}

ReportChoice ChooseReport(const QString& table, const QString& sectionKey)
{
    ReportChoice choice;
    if (table == QLatin1String("Clienti")) {
        choice.kind = ReportChoice::Kind::List;
        choice.definition = drClienti();
    } else if (table == QLatin1String("Menu")) {
        choice.kind = ReportChoice::Kind::List;
        choice.definition = drMenu();
    } else if (table == QLatin1String("Ricevute")) {
        if (sectionKey == QLatin1String("Lista Ricevute") || sectionKey == QLatin1String("Lista Corrispettivi")) {
            choice.kind = ReportChoice::Kind::List;
            choice.definition = drRicevute();
        } else {
            choice.kind = ReportChoice::Kind::TicketPreview;
        }
    }
    return choice;
}

QString NoReportMessage(const QString& table)
{
    return QStringLiteral("Nessun report di stampa disponibile per <") + table + u'>';
}

double MarginMillimetres(const QString& setting)
{
    const double millimetres = FieldValue::ParseNumber(setting.trimmed()).value_or(0.0);
    const double twips = std::nearbyint(millimetres * 57.0); // halves to the even neighbour
    return twips * 25.4 / 1440.0;
}

ArchiveReport::ArchiveReport(std::shared_ptr<DataObject> data, ReportDefinition definition, Texts texts)
    : m_data(std::move(data)), m_definition(std::move(definition)), m_texts(std::move(texts)),
      m_margins(kListMargin, kListMargin, kListMargin, kListMargin)
{
    for (const ReportColumn& column : m_definition.columns)
        m_fieldIndexes.append(m_data->FieldIndex(column.field));
}

QPageLayout ArchiveReport::PageLayout() const
{
    return QPageLayout(QPageSize(QPageSize::A4), m_definition.orientation,
                       QMarginsF(kPaperMargin, kPaperMargin, kPaperMargin, kPaperMargin), QPageLayout::Millimeter);
}

void ArchiveReport::Layout(const QPaintDevice& device, const QSizeF& printableSize)
{
    Geometry& g = m_geometry;
    g.px = device.logicalDpiY() / 25.4;
    g.body = QRectF(QPointF(m_margins.left() * g.px, m_margins.top() * g.px),
                    QPointF(printableSize.width() - m_margins.right() * g.px,
                            printableSize.height() - m_margins.bottom() * g.px));
    g.titleHeight = m_definition.pageTitle.isEmpty() ? 0.0 : kPageTitle * g.px;
    g.sectionHeight = m_definition.titleSection ? kTitleSection * g.px : 0.0;
    g.headerHeight = kColumnHeader * g.px;
    g.rowHeight = kRow * g.px;
    g.footerHeight = kFooter * g.px;
    g.totalHeight = m_definition.totalCaption.isEmpty() ? 0.0 : kTotal * g.px;
    const double other = g.body.height() - g.titleHeight - g.headerHeight - g.footerHeight;
    g.rowsOther = std::max(1, int(std::floor(other / g.rowHeight)));
    g.rowsFirst = std::max(1, int(std::floor((other - g.sectionHeight) / g.rowHeight)));

    m_rowCount = m_data->RecordCount();
    qint64 lastRows = m_rowCount;
    int capacity = g.rowsFirst;
    m_pageCount = 1;
    if (m_rowCount > g.rowsFirst) {
        const qint64 rest = m_rowCount - g.rowsFirst;
        m_pageCount = 1 + int((rest + g.rowsOther - 1) / g.rowsOther);
        lastRows = rest - qint64(m_pageCount - 2) * g.rowsOther;
        capacity = g.rowsOther;
    }
    m_totalOnExtraPage = g.totalHeight > 0 && (capacity - lastRows) * g.rowHeight < g.totalHeight;
    if (m_totalOnExtraPage)
        ++m_pageCount;
}

qint64 ArchiveReport::FirstRowOf(int page) const
{
    return page == 0 ? 0 : m_geometry.rowsFirst + qint64(page - 1) * m_geometry.rowsOther;
}

int ArchiveReport::RowsOnPage(int page) const
{
    const qint64 first = FirstRowOf(page);
    const qint64 capacity = page == 0 ? m_geometry.rowsFirst : m_geometry.rowsOther;
    return int(std::clamp<qint64>(m_rowCount - first, 0, capacity));
}

QList<double> ArchiveReport::ColumnEdges() const
{
    double shares = 0;
    for (const ReportColumn& column : m_definition.columns)
        shares += column.width;
    QList<double> edges{m_geometry.body.left()};
    for (const ReportColumn& column : m_definition.columns)
        edges.append(edges.last() + m_geometry.body.width() * column.width / shares);
    return edges;
}

QString ArchiveReport::CellText(int fieldIndex, int column, const QVariant& stored) const
{
    if (fieldIndex < 0 || FieldValue::IsNull(stored))
        return {};
    const QVariant value = m_data->ValueOf(fieldIndex, stored);
    switch (m_definition.columns[column].format) {
    case ReportColumn::Format::Amount:
        return FieldValue::AmountText(value, 2, true);
    case ReportColumn::Format::Whole:
        return QString::number(std::llround(value.toDouble()));
    case ReportColumn::Format::Date:
        return value.toDateTime().toString(QStringLiteral("d/MM/yyyy"));
    case ReportColumn::Format::Display:
        break;
    }
    return m_data->DisplayText(fieldIndex, stored);
}

double ArchiveReport::DrawPageTop(QPainter& painter, int page)
{
    const Geometry& g = m_geometry;
    double top = g.body.top();
    if (!m_definition.pageTitle.isEmpty()) {
        painter.setFont(ReportFont(14, true));
        painter.drawText(QRectF(g.body.left(), top, g.body.width(), g.titleHeight), Qt::AlignLeft | Qt::AlignVCenter,
                         m_definition.pageTitle);
        top += g.titleHeight;
    }
    if (m_definition.titleSection && page == 0) {
        const double half = g.sectionHeight / 2;
        painter.setFont(ReportFont(15, true));
        painter.drawText(QRectF(g.body.left(), top, g.body.width(), half), Qt::AlignLeft | Qt::AlignVCenter, m_texts.title);
        painter.setFont(ReportFont(10));
        painter.drawText(QRectF(g.body.left(), top + half, g.body.width(), half * 0.8), Qt::AlignLeft | Qt::AlignVCenter,
                         m_texts.description);
        top += g.sectionHeight;
    }
    const QList<double> edges = ColumnEdges();
    painter.setFont(ReportFont(9, true));
    painter.fillRect(QRectF(g.body.left(), top, g.body.width(), g.headerHeight), QColor(0xE4, 0xE4, 0xE4));
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double pad = kCellPadding * g.px;
    for (int c = 0; c < m_definition.columns.size(); ++c) {
        const QRectF cell(edges[c] + pad, top, edges[c + 1] - edges[c] - 2 * pad, g.headerHeight);
        painter.drawText(cell, m_definition.columns[c].alignment | Qt::AlignVCenter,
                         metrics.elidedText(m_definition.columns[c].header, Qt::ElideRight, cell.width()));
    }
    top += g.headerHeight;
    painter.setPen(QPen(Qt::black, 0.25 * g.px));
    painter.drawLine(QPointF(g.body.left(), top), QPointF(g.body.right(), top));
    return top;
}

void ArchiveReport::DrawFooter(QPainter& painter, int page)
{
    const Geometry& g = m_geometry;
    const double top = g.body.bottom() - g.footerHeight;
    painter.setPen(QPen(Qt::black, 0.2 * g.px));
    painter.drawLine(QPointF(g.body.left(), top + 1.5 * g.px), QPointF(g.body.right(), top + 1.5 * g.px));
    painter.setFont(ReportFont(8));
    const QRectF line(g.body.left(), top + 2 * g.px, g.body.width(), g.footerHeight - 2 * g.px);
    if (m_definition.footerDate)
        painter.drawText(line, Qt::AlignLeft | Qt::AlignVCenter, m_texts.printDate.toString(QStringLiteral("dd/MM/yyyy")));
    painter.drawText(line, Qt::AlignRight | Qt::AlignVCenter,
                     QStringLiteral("Pag. %1/%2").arg(page + 1).arg(m_pageCount));
}

void ArchiveReport::DrawTotal(QPainter& painter, double top)
{
    const Geometry& g = m_geometry;
    const QList<double> edges = ColumnEdges();
    int column = 0;
    for (int c = 0; c < m_definition.columns.size(); ++c)
        if (m_definition.columns[c].field.compare(m_definition.totalField, Qt::CaseInsensitive) == 0)
            column = c;
    const double pad = kCellPadding * g.px;
    const QVariant sum = m_data->Aggregate(m_definition.totalField, 0); // SommaImporti
    painter.setPen(QPen(Qt::black, 0.35 * g.px));
    painter.drawLine(QPointF(edges[0], top + 1.5 * g.px), QPointF(edges[column + 1], top + 1.5 * g.px));
    painter.setFont(ReportFont(10, true));
    const QRectF band(edges[0], top + 2 * g.px, edges[column + 1] - edges[0] - pad, g.totalHeight - 2 * g.px);
    painter.drawText(band.adjusted(pad, 0, 0, 0), Qt::AlignLeft | Qt::AlignVCenter, m_definition.totalCaption);
    painter.drawText(band, Qt::AlignRight | Qt::AlignVCenter, FieldValue::AmountText(sum, 2, true));
}

void ArchiveReport::PaintPage(QPainter& painter, int page)
{
    const Geometry& g = m_geometry;
    painter.save();
    painter.setPen(Qt::black);
    double top = DrawPageTop(painter, page);
    const QList<double> edges = ColumnEdges();
    painter.setFont(ReportFont(9));
    const QFontMetricsF metrics(painter.font(), painter.device());
    const double pad = kCellPadding * g.px;
    const qint64 first = FirstRowOf(page);
    const int rows = RowsOnPage(page);
    for (int r = 0; r < rows; ++r) {
        const RowPager::Row* row = m_data->RowAt(first + r);
        if (!row)
            break; // the set shrank while it was printed
        for (int c = 0; c < m_definition.columns.size(); ++c) {
            const int field = m_fieldIndexes[c];
            const QString text = field >= 0 ? CellText(field, c, row->values[field]) : QString();
            const QRectF cell(edges[c] + pad, top, edges[c + 1] - edges[c] - 2 * pad, g.rowHeight);
            painter.drawText(cell, m_definition.columns[c].alignment | Qt::AlignVCenter,
                             metrics.elidedText(text, Qt::ElideRight, cell.width()));
        }
        top += g.rowHeight;
    }
    if (page == m_pageCount - 1 && !m_definition.totalCaption.isEmpty())
        DrawTotal(painter, top);
    DrawFooter(painter, page);
    painter.restore();
}

bool ArchiveReport::Render(QPagedPaintDevice& device, int from, int to, const std::function<bool(int, int)>& step)
{
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    if (to < 0 || to >= m_pageCount)
        to = m_pageCount - 1;
    from = std::clamp(from, 0, to);
    const int total = to - from + 1;
    for (int page = from; page <= to; ++page) {
        if (page > from)
            device.newPage();
        PaintPage(painter, page);
        if (step && !step(page - from + 1, total)) {
            painter.end();
            return false;
        }
    }
    painter.end();
    return true;
}
