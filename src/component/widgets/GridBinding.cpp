#include "component/widgets/GridBinding.h"

#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/Exception.h"
#include "component/SqlDialect.h"
#include "component/widgets/ElidedCaptions.h"

#include <QDateTime>
#include <QHeaderView>
#include <QStyle>

#include <algorithm>
#include <QScopedValueRollback>

namespace {

constexpr int TwipsPerInch = 1440;

} // namespace

GridBinding::GridBinding(QTableView* view, QObject* parent) : QObject(parent), m_view(view)
{
    m_follow.setSingleShot(true);
    m_follow.setInterval(0);
    connect(&m_follow, &QTimer::timeout, this, &GridBinding::FollowCurrentRecord);
    connect(&m_model, &DataObjectModel::CurrentRecordChanged, this, [this] {
        if (!m_syncing)
            m_follow.start();
    });
    connect(&m_model, &DataObjectModel::ReadFailed, this, &GridBinding::ErrorOccurred);
    if (m_view)
        ConfigureView();
}

GridBinding::~GridBinding()
{
    if (m_view && m_view->model() == &m_model)
        m_view->setModel(nullptr);
}

void GridBinding::ConfigureView()
{
    m_view->setModel(&m_model);
    // After setModel, so that the view, its headers and its selection have
    // reset first.
    connect(&m_model, &QAbstractItemModel::modelAboutToBeReset, this, &GridBinding::RememberWidths);
    connect(&m_model, &QAbstractItemModel::modelReset, this, [this] {
        RestoreWidths();
        FollowCurrentRecord();
    });
    m_view->setWordWrap(false);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_view->setSortingEnabled(false);
    // One height for every row: the view then never asks a row its size.
    QHeaderView* rows = m_view->verticalHeader();
    rows->setMinimumSectionSize(1);
    rows->setDefaultSectionSize(m_view->fontMetrics().height() + 6);
    rows->setSectionResizeMode(QHeaderView::Fixed);
    QHeaderView* columns = m_view->horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setHighlightSections(false);
    ElideCaptions(*columns);
    connect(m_view->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            [this](const QModelIndex& current) { OnViewRowChanged(current.isValid() ? current.row() : -1); });
    connect(columns, &QHeaderView::sectionResized, this,
            [this](int column, int, int newSize) { OnSectionResized(column, newSize); });
}

void GridBinding::SetDataObject(std::shared_ptr<DataObject> dataObject)
{
    m_follow.stop();
    m_model.SetDataObject(std::move(dataObject));
}

void GridBinding::ResetColumnWidths()
{
    m_widths.clear();
    RestoreWidths();
}

QString GridBinding::ColumnKey(int column) const
{
    return m_model.FieldNameOfColumn(column).toLower() + (m_model.IsConversionColumn(column) ? QStringLiteral("|") : QString());
}

void GridBinding::RememberWidths()
{
    if (!m_view)
        return;
    for (int column = 0; column < m_model.columnCount(); ++column)
        if (const int width = m_view->columnWidth(column); width > 0)
            m_widths.insert(ColumnKey(column), width);
}

void GridBinding::RestoreWidths()
{
    // The header keeps widths by position across a reset; columns keep them
    // by field instead, for as long as the grid shows the same table.
    if (!m_view)
        return;
    const auto& dataObject = m_model.GetDataObject();
    const QString table = dataObject ? dataObject->TableName() : QString();
    if (table.compare(m_widthsTable, Qt::CaseInsensitive) != 0) {
        m_widths.clear();
        m_widthsTable = table;
    }
    const QScopedValueRollback guard(m_resizing, true);
    for (int column = 0; column < m_model.columnCount(); ++column)
        m_view->setColumnWidth(column, m_widths.value(ColumnKey(column), DefaultWidth(column)));
}

int GridBinding::DefaultWidth(int column) const
{
    // Wide enough for the column's caption, within twice the usual width;
    // a longer caption is elided at its end. A date shows whole, with its
    // time: it is what the user reads and filters on.
    const QHeaderView* header = m_view->horizontalHeader();
    const int usual = header->defaultSectionSize();
    int wanted = header->sectionSizeHint(column);
    const int field = m_model.FieldIndexOfColumn(column);
    if (const auto& data = m_model.GetDataObject(); data && field >= 0 && FieldType::IsDate(data->Field(field).type)) {
        const QString sample = data->FormatValue(field, QDateTime(QDate(2000, 12, 28), QTime(23, 58, 58)));
        wanted = std::max(wanted, m_view->fontMetrics().horizontalAdvance(sample)
                                      + 2 * m_view->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_view) + 8);
    }
    return std::clamp(wanted, usual, 2 * usual);
}

void GridBinding::OnViewRowChanged(int row)
{
    if (m_syncing || row < 0)
        return;
    const QScopedValueRollback guard(m_syncing, true);
    try {
        if (!m_model.MoveToRow(row))
            m_follow.start(); // the row is gone: show where the record is
    } catch (const Exception& e) {
        // A pending edit that cannot be saved keeps the record where it was.
        m_follow.start();
        ReportError(e);
    }
}

void GridBinding::FollowCurrentRecord()
{
    m_follow.stop();
    if (!m_view || m_syncing || m_view->model() != &m_model)
        return;
    if (const auto& data = m_model.GetDataObject(); data && data->Engine().IsWatching()) {
        m_follow.start(); // a long statement is running: after it
        return;
    }
    QItemSelectionModel* selection = m_view->selectionModel();
    const QScopedValueRollback guard(m_syncing, true);
    int row = -1;
    try {
        row = m_model.RowOfCurrentRecord();
    } catch (const Exception& e) {
        ReportError(e);
        return;
    }
    const QModelIndex current = selection->currentIndex();
    if (row < 0) {
        selection->clearCurrentIndex();
        return;
    }
    if (current.isValid() && current.row() == row)
        return;
    const QModelIndex target = m_model.index(row, current.isValid() ? current.column() : 0);
    if (!target.isValid())
        return;
    // A block of selected rows (for deleting) stays selected while the record moves.
    const QItemSelection selected = selection->selection();
    const bool block = selected.size() > 1 || (selected.size() == 1 && selected.first().height() > 1);
    selection->setCurrentIndex(target, block ? QItemSelectionModel::NoUpdate
                                             : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_view->scrollTo(target);
}

void GridBinding::ReportError(const Exception& error)
{
    // Queued: listeners may open a window, which must not happen inside a
    // selection change or a model reset.
    QMetaObject::invokeMethod(
        this,
        [this, number = error.Number(), description = error.Description(), detail = error.Detail()] {
            Q_EMIT ErrorOccurred(number, description, detail);
        },
        Qt::QueuedConnection);
}

qreal GridBinding::Dpi() const
{
    return m_view ? m_view->logicalDpiX() : 96.0;
}

int GridBinding::PixelsToTwips(int pixels, qreal dpi)
{
    if (dpi <= 0)
        dpi = 96.0;
    return qRound(pixels * TwipsPerInch / dpi);
}

int GridBinding::TwipsToPixels(int twips, qreal dpi)
{
    if (dpi <= 0)
        dpi = 96.0;
    return qRound(twips * dpi / TwipsPerInch);
}

int GridBinding::ColumnWidthTwips(int column) const
{
    if (!m_view || column < 0 || column >= m_model.columnCount())
        return 0;
    return PixelsToTwips(m_view->columnWidth(column), Dpi());
}

void GridBinding::SetColumnWidthTwips(int column, int twips)
{
    if (!m_view || column < 0 || column >= m_model.columnCount() || twips <= 0)
        return;
    const QScopedValueRollback guard(m_resizing, true);
    m_view->setColumnWidth(column, std::max(1, TwipsToPixels(twips, Dpi())));
}

int GridBinding::ColumnWidthTwips(const QString& fieldName) const
{
    return ColumnWidthTwips(m_model.ColumnOfField(fieldName));
}

void GridBinding::SetColumnWidthTwips(const QString& fieldName, int twips)
{
    SetColumnWidthTwips(m_model.ColumnOfField(fieldName), twips);
}

void GridBinding::OnSectionResized(int column, int newSize)
{
    // Hiding a column resizes it to 0; that is no width to keep.
    if (m_resizing || newSize <= 0)
        return;
    Q_EMIT ColumnResized(column, PixelsToTwips(newSize, Dpi()));
}
