#pragma once
// The archive's printed lists (drMenu, drClienti, drRicevute): their
// columns, headers and footers, and the drawing of any one page with a
// painter. Pages are drawn from the data object's rows as they are needed,
// in its filter and order, so that a list of a hundred thousand receipts
// shows its first page at once and never holds its rows in memory: every
// row has the same height, which gives the number of pages from one count.

#include <QDate>
#include <QList>
#include <QMarginsF>
#include <QPageLayout>
#include <QRectF>
#include <QString>
#include <functional>
#include <memory>

class DataObject;
class QPainter;
class QPaintDevice;
class QPagedPaintDevice;

struct ReportColumn
{
    enum class Format {
        Display, // as the grid shows it
        Amount,  // "#,#0.00"
        Whole,   // "0"
        Date     // "d/MM/yyyy"
    };
    QString header;
    QString field;      // matched without regard to case
    Format format = Format::Display;
    double width = 1.0; // share of the line
    Qt::Alignment alignment = Qt::AlignLeft;
};

struct ReportDefinition
{
    QString name;                       // "drMenu", "drClienti", "drRicevute"
    QString pageTitle;                  // at the top of every page; empty for none
    bool titleSection = false;          // the list's title and description on the first page
    QList<ReportColumn> columns;
    bool footerDate = true;             // the print date at the foot of every page
    QString totalCaption;               // report footer ("TOTALE :"); empty for none
    QString totalField;
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    bool marginsFromSettings = false;   // the receipt list's margins are the owner's
};

ReportDefinition drMenu();
ReportDefinition drClienti();
ReportDefinition drRicevute();

// Which printout a view has: a list, the ticket of the current receipt, or none.
struct ReportChoice
{
    enum class Kind { List, TicketPreview, None };
    Kind kind = Kind::None;
    ReportDefinition definition;
};
ReportChoice ChooseReport(const QString& table, const QString& sectionKey);

// The message for a table without a printout.
QString NoReportMessage(const QString& table);

// A margin setting (millimetres, as text) as the report reads it: a number
// times 57, rounded to whole twips (halves to the even neighbour), then
// back to millimetres. Text that is no number counts as 0.
double MarginMillimetres(const QString& setting);

class ArchiveReport
{
public:
    struct Texts
    {
        QString title;        // the section key (the list's title)
        QString description;  // SelectionDescription
        QDate printDate;
    };

    ArchiveReport(std::shared_ptr<DataObject> data, ReportDefinition definition, Texts texts);

    const ReportDefinition& Definition() const { return m_definition; }
    // The list's title: its page title, or the section it lists.
    QString DocumentTitle() const { return m_definition.pageTitle.isEmpty() ? m_texts.title : m_definition.pageTitle; }
    // Left, top, right and bottom margins in millimetres, measured from the
    // device's printable area.
    QMarginsF Margins() const { return m_margins; }
    void SetMargins(const QMarginsF& millimetres) { m_margins = millimetres; }
    // A4 in the report's orientation, with its margins.
    QPageLayout PageLayout() const;

    // Measures the pages for a device (the painter's area is its printable
    // area) and counts the rows: one count query.
    void Layout(const QPaintDevice& device, const QSizeF& printableSize);
    int PageCount() const { return m_pageCount; }
    qint64 RowCount() const { return m_rowCount; }
    int RowsOnPage(int page) const;
    // The rows a page has room for.
    int Capacity(int page) const { return page == 0 ? m_geometry.rowsFirst : m_geometry.rowsOther; }

    // Draws page `page` (0-based) of the measured layout.
    void PaintPage(QPainter& painter, int page);

    // Draws pages `from` to `to` (0-based, both included; -1 for the last)
    // on a paged device, one after the other. `step` is asked after each
    // page with the count done; when it answers false drawing stops and the
    // result is false.
    bool Render(QPagedPaintDevice& device, int from, int to, const std::function<bool(int done, int total)>& step);

private:
    struct Geometry
    {
        double px = 1.0;       // device pixels per millimetre
        QRectF body;           // inside the margins
        double titleHeight = 0;
        double sectionHeight = 0;
        double headerHeight = 0;
        double rowHeight = 0;
        double footerHeight = 0;
        double totalHeight = 0;
        int rowsFirst = 0;     // rows that fit on the first page
        int rowsOther = 0;     // and on the others
    };

    qint64 FirstRowOf(int page) const;
    QList<double> ColumnEdges() const;
    QString CellText(int fieldIndex, int column, const QVariant& stored) const;
    double DrawPageTop(QPainter& painter, int page);
    void DrawFooter(QPainter& painter, int page);
    void DrawTotal(QPainter& painter, double top);

    std::shared_ptr<DataObject> m_data;
    ReportDefinition m_definition;
    Texts m_texts;
    QMarginsF m_margins;
    QList<int> m_fieldIndexes;
    Geometry m_geometry;
    qint64 m_rowCount = 0;
    int m_pageCount = 1;
    bool m_totalOnExtraPage = false;
};
