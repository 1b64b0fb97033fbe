// The grid tools of the main window: per-column filters, the complex filter
// and its saved filters, the filter on the current cell, orders, the search
// in a column, totals and averages, and the grid's right click.

#include "browser/frmMain.h"

#include "app/ErrorReport.h"
#include "browser/GridTotals.h"
#include "browser/LongOperation.h"
#include "browser/MainMenus.h"
#include "browser/SectionTree.h"
#include "component/ComplexFilter.h"
#include "component/ComponentErrors.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/Table.h"
#include "component/widgets/DialogService.h"
#include "component/widgets/GridBinding.h"
#include "component/widgets/GridLayoutBinding.h"

#include <QApplication>
#include <QContextMenuEvent>
#include <QHeaderView>
#include <QMenu>

namespace {

const QString kFilterFailed = QStringLiteral("Impostazione filtro fallita: \r\r");

// Where a right click on the grid lands.
enum class GridSpot { Header, Cell, Rows };

} // namespace

void frmMain::ConnectGridCommands()
{
    const auto on = [this](const QString& name, auto slot) {
        connect(Action(name), &QAction::triggered, this, slot);
    };
    on(QStringLiteral("mnuFilterCancel"), &frmMain::CancelAllFilters);
    on(QStringLiteral("mnuFieldFilterCancelAll"), &frmMain::CancelAllFilters);
    on(QStringLiteral("mnuFieldFilter"), &frmMain::FilterOnCell);
    on(QStringLiteral("mnuFieldFilterCancel"), &frmMain::CancelCellFilter);
    on(QStringLiteral("mnuFilterComplex"), [this] {
        // The entry shows whether a complex filter is on, not the click.
        Action(QStringLiteral("mnuFilterComplex"))->setChecked(!Action(QStringLiteral("mnuFilterShort"))->isEnabled());
        m_tmFunc.Post(QStringLiteral("mnuFilterComplex"));
    });
    on(QStringLiteral("mnuOrderComplex"), [this] { m_tmFunc.Post(QStringLiteral("mnuOrderComplex")); });
    on(QStringLiteral("mnuOrderCancel"), [this] { OrderBy(QString()); });
    on(QStringLiteral("mnuSearchNext"), &frmMain::SearchNext);
    on(QStringLiteral("mnuFieldSearchNext"), &frmMain::SearchCellValue);
    m_tmFunc.Register(QStringLiteral("mnuFilterComplex"), [this](int) { OpenComplexFilter(); });
    m_tmFunc.Register(QStringLiteral("mnuOrderComplex"), [this](int) { OpenCombinedOrder(); });

    connect(m_menus->FindItems(), &QMenu::triggered, this, [this](QAction* entry) {
        SearchField(int(m_menus->FindItems()->actions().indexOf(entry)) + 1);
    });
    connect(this, &frmMain::SearchFieldRequested, this, [this](int position) { SearchField(position); });
    connect(this, &frmMain::SearchKeyTyped, this, &frmMain::TypeToSearch);
    connect(m_dgView->horizontalHeader(), &QHeaderView::sectionClicked, this, [this](int column) {
        if (m_currentDataObject)
            OrderBy(m_grid->Model().FieldNameOfColumn(column));
    });
    for (QWidget* source : {m_dgView->viewport(), m_dgView->horizontalHeader()->viewport(), m_dgView->verticalHeader()->viewport()})
        source->installEventFilter(this);
}

void frmMain::ConnectFieldMenuElements()
{
    const QList<QAction*> search = m_menus->ArrayElements(QStringLiteral("mnuSearchItems"));
    for (int i = 0; i < search.size(); ++i)
        connect(search[i], &QAction::triggered, this, [this, i] { SearchField(i + 1); });
    const QList<QAction*> filters = m_menus->ArrayElements(QStringLiteral("mnuFilterItems"));
    for (int i = 0; i < filters.size(); ++i) {
        filters[i]->setCheckable(true);
        connect(filters[i], &QAction::triggered, this, [this, i] { FilterColumn(i + 1); });
    }
    for (QAction* element : m_menus->ArrayElements(QStringLiteral("mnuOrderItems")))
        connect(element, &QAction::triggered, this, [this, element] { OrderBy(element->data().toString()); });
    for (QAction* element : m_menus->ArrayElements(QStringLiteral("mnuTotalItems")))
        connect(element, &QAction::triggered, this, [this, element] { ShowAggregate(element->text(), 0); });
    for (QAction* element : m_menus->ArrayElements(QStringLiteral("mnuAverageItems")))
        connect(element, &QAction::triggered, this, [this, element] { ShowAggregate(element->text(), 1); });

    QStringList fields;
    for (QAction* element : filters)
        fields.append(element->data().toString());
    m_columnFilters.Reset(fields);
}

void frmMain::ResetGridTools()
{
    m_columnFilters.Reset({});
    Action(QStringLiteral("mnuFilterShort"))->setEnabled(true);
    m_dgView->horizontalHeader()->setSortIndicatorShown(false);
}

QString frmMain::SectionKey() const
{
    const QTreeWidgetItem* node = SelectedNode(*m_tvTreeView);
    return node ? NodeKey(*node) : QString();
}

// ---- Per-column filters ----

void frmMain::UpdateFilterItems()
{
    const QList<QAction*> elements = m_menus->ArrayElements(QStringLiteral("mnuFilterItems"));
    for (int i = 0; i < elements.size() && i < m_columnFilters.Count(); ++i) {
        const ColumnFilters::Element& element = m_columnFilters.At(i);
        elements[i]->setText(element.Caption());
        elements[i]->setChecked(element.Active());
        elements[i]->setEnabled(true);
    }
}

void frmMain::ApplyColumnFilters()
{
    UpdateFilterItems();
    const QString caption = m_columnFilters.Caption();
    QAction* button = ToolButton(QStringLiteral("Filter"));
    if (!caption.isEmpty()) {
        button->setChecked(true);
        SetStatusMsg(QStringLiteral("Attivato filtro (") + caption + u')');
    } else {
        button->setChecked(false);
        SetStatusMsg(QStringLiteral("Nessun filtro"));
    }
    LongOperation wait(m_currentDataObject->Engine(), this, QStringLiteral("Applicazione del filtro..."), m_dgView);
    m_currentDataObject->SetFilter(m_columnFilters.Criteria(m_currentDataObject->Database()));
}

void frmMain::FilterColumn(int element)
{
    const int index = element - 1;
    if (!m_currentDataObject || index < 0 || index >= m_columnFilters.Count()) {
        UpdateFilterItems();
        return;
    }
    const ColumnFilters before = m_columnFilters;
    const QString status = StatusMsg();
    const bool pressed = ToolButton(QStringLiteral("Filter"))->isChecked();
    try {
        frmSearchText::GetSelection(m_searchValues, this, m_columnFilters.At(index).field, true, false,
                                    QStringLiteral("Filtra"));
        m_columnFilters.Set(index, m_searchValues.confirmedText, m_searchValues.contains);
        ApplyColumnFilters();
    } catch (const std::exception& error) {
        // The filter that failed is not kept: the menu shows what is applied.
        m_columnFilters = before;
        UpdateFilterItems();
        SetStatusMsg(status);
        ToolButton(QStringLiteral("Filter"))->setChecked(pressed);
        if (const auto* own = dynamic_cast<const Exception*>(&error); !own || own->Number() != ComponentError::Interrupted)
            ShowErrorReport(kFilterFailed, error);
    }
}

void frmMain::CancelAllFilters()
{
    if (!m_currentDataObject)
        return;
    try {
        m_currentDataObject->SetFilter(QString());
    } catch (const std::exception& error) {
        ShowErrorReport(kFilterFailed, error);
        return;
    }
    m_columnFilters.ClearAll();
    UpdateFilterItems();
    if (m_complexFilter)
        m_complexFilter->Clear();
    if (m_layoutBinding)
        m_layoutBinding->Apply();
    Action(QStringLiteral("mnuFilterComplex"))->setChecked(false);
    Action(QStringLiteral("mnuFilterShort"))->setEnabled(true);
    ToolButton(QStringLiteral("Filter"))->setChecked(false);
    SetStatusMsg(QStringLiteral("Disattivato filtro"));
}

bool frmMain::CurrentCell(QString& field, QString& text, QVariant& value) const
{
    const QModelIndex index = m_dgView->currentIndex();
    if (!m_currentDataObject || !index.isValid())
        return false;
    const int fieldIndex = m_grid->Model().FieldIndexOfColumn(index.column());
    if (fieldIndex < 0)
        return false;
    const RowPager::Row* row = m_currentDataObject->RowAt(index.row());
    if (!row)
        return false;
    field = m_currentDataObject->Field(fieldIndex).name;
    value = m_currentDataObject->ValueOf(fieldIndex, row->values[fieldIndex]);
    text = m_currentDataObject->DisplayText(fieldIndex, row->values[fieldIndex]);
    return true;
}

void frmMain::FilterOnCell()
{
    FilterCell(true);
}

void frmMain::CancelCellFilter()
{
    FilterCell(false);
}

// The current cell's column filtered on the cell's value, or its condition
// taken away.
void frmMain::FilterCell(bool onValue)
{
    QString field;
    QString text;
    QVariant value;
    try {
        if (!CurrentCell(field, text, value))
            return;
        const int element = m_columnFilters.IndexOf(field);
        if (!Action(QStringLiteral("mnuFilterComplex"))->isChecked() && element >= 0) {
            // The column's own filter, proposing the cell's text (or nothing, to cancel it).
            m_searchValues.rememberedField = field;
            m_searchValues.proposedText = onValue ? text : QString();
            FilterColumn(element + 1);
            return;
        }
        if (onValue) {
            ComplexFilter& filter = CurrentComplexFilter();
            filter.RemoveCondition(field);
            // The value itself, not its text: an amount or a date matches as the grid shows it.
            if (!text.isEmpty())
                filter.AddCondition(field, value);
            ApplyComplexFilter();
        } else if (m_complexFilter) {
            m_complexFilter->RemoveCondition(field);
            ApplyComplexFilter();
        }
    } catch (const std::exception& error) {
        ShowErrorReport(kFilterFailed, error);
    }
}

// ---- Complex filter ----

ComplexFilter& frmMain::CurrentComplexFilter()
{
    const QString table = m_currentDataObject ? m_currentDataObject->TableName() : QString();
    if (!m_complexFilter || m_complexFilter->TableName() != table)
        m_complexFilter = ArchiveSession::Instance().Database()->Tables().Item(table).CreateComplexFilter();
    return *m_complexFilter;
}

void frmMain::OpenComplexFilter()
{
    try {
        if (m_currentDataObject) {
            ComplexFilter& filter = CurrentComplexFilter();
            if (Dialogs().ComplexFilterDialog(filter, *ArchiveSession::Instance().Database(),
                                              QStringLiteral("FILTRO COMPLESSO")))
                ApplyComplexFilter();
        }
    } catch (const std::exception& error) {
        if (const auto* own = dynamic_cast<const Exception*>(&error); !own || own->Number() != ComponentError::Interrupted)
            ShowErrorReport(kFilterFailed, error);
    }
    try {
        RebuildSavedFilterMenu();
    } catch (const std::exception& error) {
        ShowErrorReport(kFilterFailed, error);
    }
}

void frmMain::ApplyComplexFilter()
{
    const QString criteria = m_complexFilter ? m_complexFilter->Render() : QString();
    if (criteria.isEmpty()) {
        // No complex filter left: the column filters (still shown checked in
        // their menu) are what applies again.
        Action(QStringLiteral("mnuFilterShort"))->setEnabled(true);
        Action(QStringLiteral("mnuFilterComplex"))->setChecked(false);
        ApplyColumnFilters();
        return;
    }
    {
        LongOperation wait(m_currentDataObject->Engine(), this, QStringLiteral("Applicazione del filtro..."), m_dgView);
        m_currentDataObject->SetFilter(criteria);
    }
    Action(QStringLiteral("mnuFilterShort"))->setEnabled(false);
    ToolButton(QStringLiteral("Filter"))->setChecked(true);
    Action(QStringLiteral("mnuFilterComplex"))->setChecked(true);
}

void frmMain::ChooseSavedFilter(int element)
{
    const QList<QAction*> elements = m_menus->ArrayElements(QStringLiteral("mnuFilterComplexItems"));
    if (!m_complexFilter || element < 1 || element > elements.size())
        return;
    try {
        if (!m_complexFilter->Select(elements[element - 1]->text())) {
            Dialogs().MessageBox(QStringLiteral("Un filtro con questo nome non è presente!"), MsgButtons::Ok, MsgIcon::None,
                                 MsgDefault::Button1, QString());
            return;
        }
    } catch (const std::exception& error) {
        ShowErrorReport(kFilterFailed, error);
        return;
    }
    m_tmFunc.Post(QStringLiteral("mnuFilterComplex"));
}

// ---- Orders ----

void frmMain::OrderBy(const QString& field)
{
    if (!m_currentDataObject)
        return;
    try {
        LongOperation wait(m_currentDataObject->Engine(), this, QStringLiteral("Ordinamento dei dati..."), m_dgView);
        m_currentDataObject->SetSort(GridCriteria::NextOrder(m_currentDataObject->Sort(), field));
    } catch (const std::exception& error) {
        if (const auto* own = dynamic_cast<const Exception*>(&error); !own || own->Number() != ComponentError::Interrupted)
            ShowErrorReport(QStringLiteral("Ordinamento fallito: \r\r"), error);
    }
    // The header shows a one-column order.
    QHeaderView* header = m_dgView->horizontalHeader();
    const QString order = m_currentDataObject->Sort().trimmed();
    const QStringList words = order.split(u' ', Qt::SkipEmptyParts);
    const int column = order.contains(u',') || words.isEmpty() ? -1 : m_grid->Model().ColumnOfField(words.first());
    header->setSortIndicatorShown(column >= 0);
    if (column >= 0)
        header->setSortIndicator(column, words.last().compare(QLatin1String("DESC"), Qt::CaseInsensitive) == 0
                                             ? Qt::DescendingOrder
                                             : Qt::AscendingOrder);
}

void frmMain::OpenCombinedOrder()
{
    if (!m_currentDataObject)
        return;
    try {
        const auto order = Dialogs().OrderDialog(m_currentDataObject, QStringLiteral("Ordinamento Complesso"),
                                                 m_currentDataObject->Sort());
        if (order)
            OrderBy(*order);
    } catch (const std::exception& error) {
        ShowErrorReport(QStringLiteral("Ordinamento fallito: \r\r"), error);
    }
}

// ---- Search ----

void frmMain::SearchField(int element, const std::optional<QString>& typed)
{
    const QList<QAction*> elements = m_menus->ArrayElements(QStringLiteral("mnuSearchItems"));
    if (!m_currentDataObject || element < 1 || element > elements.size())
        return;
    if (frmSearchText::GetSelection(m_searchValues, this, elements[element - 1]->text(), true, true,
                                    QStringLiteral("Cerca in"), typed))
        ExecuteSearch(element);
}

void frmMain::ExecuteSearch(int element)
{
    const QList<QAction*> elements = m_menus->ArrayElements(QStringLiteral("mnuSearchItems"));
    if (!m_currentDataObject || element < 1 || element > elements.size())
        return;
    const QString caption = elements[element - 1]->text();
    const QString field = elements[element - 1]->data().toString();
    const QString text = m_searchValues.confirmedText;
    try {
        bool found = false;
        {
            LongOperation wait(m_currentDataObject->Engine(), this, QStringLiteral("Ricerca in corso..."), m_dgView);
            const QString criteria = GridCriteria::LikeCriteria(m_currentDataObject->Database(), field, text,
                                                                m_searchValues.contains);
            found = m_currentDataObject->FindFirst(criteria, m_searchValues.next);
        }
        if (found) {
            m_dgView->clearSelection();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            m_grid->FollowCurrentRecord();
        } else {
            Dialogs().MessageBox(QStringLiteral(" '") + text + QStringLiteral("' non trovato"), MsgButtons::Ok,
                                 MsgIcon::Information, MsgDefault::Button1, QStringLiteral("Ricerca in ") + caption);
        }
    } catch (const std::exception& error) {
        if (const auto* own = dynamic_cast<const Exception*>(&error); !own || own->Number() != ComponentError::Interrupted)
            ShowErrorReport(QStringLiteral("Ricerca fallita: \r\r"), error);
    }
    ToolButton(QStringLiteral("Find"))->setProperty("Tag", QString::number(element));
}

void frmMain::SearchNext()
{
    bool numeric = false;
    const int element = ToolButton(QStringLiteral("Find"))->property("Tag").toString().toInt(&numeric);
    if (!numeric) {
        PopUpMenu(QStringLiteral("mnuSearch"));
        return;
    }
    if (m_searchValues.confirmedText.isEmpty()) {
        SearchField(element);
        return;
    }
    m_searchValues.next = true;
    ExecuteSearch(element);
}

void frmMain::SearchCellValue()
{
    QString field;
    QString text;
    QVariant value;
    try {
        if (!CurrentCell(field, text, value))
            return;
        const QList<QAction*> elements = m_menus->ArrayElements(QStringLiteral("mnuSearchItems"));
        for (int i = 0; i < elements.size(); ++i)
            if (elements[i]->data().toString() == field) {
                m_searchValues.rememberedField = elements[i]->text();
                m_searchValues.proposedText = text;
                m_searchValues.confirmedText = text;
                m_searchValues.next = true;
                ExecuteSearch(i + 1);
                return;
            }
        const int fieldIndex = m_currentDataObject->FieldIndex(field);
        bool found = false;
        {
            LongOperation wait(m_currentDataObject->Engine(), this, QStringLiteral("Ricerca in corso..."), m_dgView);
            found = m_currentDataObject->FindFirst(m_currentDataObject->BuildCriteria(field, value, QStringLiteral("%")), true);
        }
        if (found) {
            m_dgView->clearSelection();
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            m_grid->FollowCurrentRecord();
        } else {
            Dialogs().MessageBox(QStringLiteral(" '") + m_currentDataObject->FormatValue(fieldIndex, value) +
                                     QStringLiteral("' non trovato"),
                                 MsgButtons::Ok, MsgIcon::Information, MsgDefault::Button1,
                                 QStringLiteral("Ricerca in ") + m_currentDataObject->Field(fieldIndex).caption);
        }
        m_searchValues.proposedText.clear();
        m_searchValues.confirmedText.clear();
    } catch (const std::exception& error) {
        if (const auto* own = dynamic_cast<const Exception*>(&error); !own || own->Number() != ComponentError::Interrupted)
            ShowErrorReport(QStringLiteral("Ricerca fallita: \r\r"), error);
    }
}

void frmMain::TypeToSearch(int key, const QString& text)
{
    bool numeric = false;
    const int element = ToolButton(QStringLiteral("Find"))->property("Tag").toString().toInt(&numeric);
    if (!numeric || !m_currentDataObject || m_dgView->isHidden())
        return;
    if (key == Qt::Key_Escape) {
        // The dialog would open and close at once: only what was confirmed is forgotten.
        m_searchValues.confirmedText.clear();
        return;
    }
    if (key == Qt::Key_Backspace) {
        SearchField(element, QString());
        return;
    }
    // Letters are looked for as typed, accented ones included.
    SearchField(element, text);
}

// ---- Totals and averages ----

void frmMain::ShowAggregate(const QString& field, int kind)
{
    if (!m_currentDataObject)
        return;
    try {
        QString message;
        {
            LongOperation wait(m_currentDataObject->Engine(), this, QStringLiteral("Calcolo in corso..."), m_dgView);
            message = GridTotals::Message(*m_currentDataObject, field, GridTotals::Kind(kind));
        }
        Dialogs().MessageBox(message, MsgButtons::Ok, MsgIcon::None, MsgDefault::Button1, QString());
    } catch (const std::exception& error) {
        if (const auto* own = dynamic_cast<const Exception*>(&error); !own || own->Number() != ComponentError::Interrupted)
            ShowErrorReport(kind == 0 ? QStringLiteral("Calcolo del totale fallito: \r\r")
                                      : QStringLiteral("Calcolo della media fallito: \r\r"),
                            error);
    }
}

QVariant frmMain::CalculateTotalColumn(const QString& field)
{
    if (!m_currentDataObject)
        return QVariant(qint64(0));
    return m_currentDataObject->Aggregate(field, 0);
}

// ---- Right click ----

void frmMain::GridContextMenu(QWidget* source, const QPoint& position)
{
    if (!m_currentDataObject || m_dgView->isHidden())
        return;
    if (source == m_dgView->horizontalHeader()->viewport()) {
        PopUpMenu(QStringLiteral("mnuOrder"));
        return;
    }
    if (source == m_dgView->viewport()) {
        const QModelIndex index = m_dgView->indexAt(position);
        if (index.isValid()) {
            // The cell under the pointer becomes current; a block of
            // selected rows that holds it stays selected.
            QItemSelectionModel* selection = m_dgView->selectionModel();
            selection->setCurrentIndex(index, selection->isRowSelected(index.row(), {})
                                                  ? QItemSelectionModel::NoUpdate
                                                  : QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            PopUpMenu(QStringLiteral("mnuFieldFuncs"));
            return;
        }
    } else {
        // The row selectors: that row's related records.
        const int row = m_dgView->verticalHeader()->logicalIndexAt(position);
        if (row >= 0) {
            const QModelIndex current = m_dgView->currentIndex();
            m_dgView->selectionModel()->setCurrentIndex(m_grid->Model().index(row, current.isValid() ? current.column() : 0),
                                                        QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
        }
    }
    PopUpMenu(QStringLiteral("mnuAssociation"));
}
