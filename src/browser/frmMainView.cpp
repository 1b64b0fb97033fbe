// Loading the view of the selected section: the section's rules, the period
// lists' parameters, preset selections, the date selection, the grid layout,
// the per-field menus and the enabling of the view commands.

#include "browser/frmMain.h"

#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/ErrorReport.h"
#include "app/frmMessage.h"
#include "browser/DateSelection.h"
#include "browser/FieldMenus.h"
#include "browser/FlagGuard.h"
#include "browser/MainMenus.h"
#include "browser/PeriodSelection.h"
#include "browser/SectionTree.h"
#include "browser/ViewRules.h"
#include "browser/frmSetParamStat.h"
#include "component/ComplexFilter.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/GridLayout.h"
#include "component/Table.h"
#include "component/widgets/DialogService.h"
#include "component/widgets/GridBinding.h"
#include "component/widgets/GridLayoutBinding.h"
#include "component/widgets/WaitCursor.h"

#include <QApplication>
#include <QMenu>

namespace {

const QString kLoadFailed = QStringLiteral("Visualizzazione dati fallita: \r\r");

// The entries and toolbar buttons that need a view.
const QStringList kViewEntries = {
    QStringLiteral("mnuOrder"),       QStringLiteral("mnuSave"),      QStringLiteral("mnuFileNew"),
    QStringLiteral("mnuFileProperties"), QStringLiteral("mnuFileDelete"), QStringLiteral("mnuViewRefresh"),
    QStringLiteral("mnuSearch"),      QStringLiteral("mnuFilter"),    QStringLiteral("mnuPrintFunc"),
    QStringLiteral("mnuFieldFuncs"),  QStringLiteral("mnuDataSelection"),
};
const QStringList kViewButtons = {
    QStringLiteral("Save"), QStringLiteral("New"),    QStringLiteral("Properties"), QStringLiteral("Delete"),
    QStringLiteral("Find"), QStringLiteral("Filter"), QStringLiteral("Print"),
};
// Per-field menu arrays, unloaded in this order at every load.
const QStringList kFieldArrays = {
    QStringLiteral("mnuSearchItems"), QStringLiteral("mnuOrderItems"),  QStringLiteral("mnuTotalItems"),
    QStringLiteral("mnuAverageItems"), QStringLiteral("mnuFilterComplexItems"), QStringLiteral("mnuFilterItems"),
};


QStringList DocumentTypes(DatabaseObject& database, const std::shared_ptr<DatabaseEngine>& engine)
{
    QStringList names;
    auto types = database.Tables().Item(QStringLiteral("TipiDocumento")).OpenDataObject(engine, {}, QStringLiteral("Descrizione"));
    for (bool more = types->MoveFirst(); more; more = types->MoveNext())
        names.append(types->GetValue(QStringLiteral("Descrizione")).toString());
    return names;
}

} // namespace

void frmMain::ResetViewTools()
{
    for (const QString& array : kFieldArrays)
        m_menus->ClearArray(array);
    m_menus->FindItems()->clear();
    QAction* find = ToolButton(QStringLiteral("Find"));
    find->setProperty("Tag", QString());
    ToolButton(QStringLiteral("Filter"))->setChecked(false);
    Action(QStringLiteral("mnuFilterComplex"))->setChecked(false);
    Action(QStringLiteral("mnuFilter"))->setProperty("Tag", QString());
    Action(QStringLiteral("mnuDataSelBeforeQuery"))->setChecked(false);
    Action(QStringLiteral("mnuFiscalPrint"))->setEnabled(false);
    m_lblTitle1->setText(m_lblTitle1->property("Tag").toString());
}

void frmMain::RefreshDetailView(const QString& order)
{
    auto& session = ArchiveSession::Instance();
    if (!session.IsDatabaseReady() || m_loadingView)
        return;
    FlagGuard busy(m_loadingView);
    WaitCursor wait;
    try {
        ResetViewTools();
        const QTreeWidgetItem* node = SelectedNode(*m_tvTreeView);
        if (node)
            SetStatusMsg(m_lblTitle0->text() + QStringLiteral(" <") + node->text(0) + QStringLiteral(">"));
        if (!node || IsGroupNode(*node)) {
            ShowNoView();
        } else {
            LoadView(*node, order);
        }
    } catch (const Exception& error) {
        CloseMessage();
        ShowErrorReport(kLoadFailed, error);
    } catch (const std::exception& error) {
        CloseMessage();
        ShowErrorReport(kLoadFailed, error);
    }
    EnableViewCommands(!m_dgView->isHidden());
    Action(QStringLiteral("mnuGridFldSequence"))->setChecked(m_gridLayout && !m_gridLayout->FieldSequence().isEmpty());
    ShowSectionItems();
}

void frmMain::LoadView(const QTreeWidgetItem& node, const QString& order)
{
    auto& session = ArchiveSession::Instance();
    DatabaseObject& database = *session.Database();
    const QString key = NodeKey(node);
    const QString table = TableOfSection(key);
    if (table == QLatin1String("Ricevute"))
        Action(QStringLiteral("mnuFiscalPrint"))->setEnabled(true);

    // Reloading the same view keeps its order and returns to its record.
    QString viewOrder = order;
    QVariant previousOid;
    if (m_currentDataObject && m_currentDataObject->TableName() == table && m_currentDataObject->LinkText().isEmpty()) {
        if (viewOrder.isEmpty())
            viewOrder = m_currentDataObject->Sort();
        if (viewOrder.isEmpty())
            viewOrder = m_currentDataObject->DefaultOrder();
        if (!m_currentDataObject->NoCurrentRecord())
            previousOid = m_currentDataObject->ValueAt(0);
    }

    ViewRules rules = RulesOfSection(key, viewOrder, RigheJoinCriteria(database));

    if (rules.asksForPeriod) {
        frmSetParamStat parameters(DocumentTypes(database, session.Engine()), this);
        Dialogs().ExecModal(parameters);
        const PeriodChoice choice{parameters.Confirmed(), frmSetParamStat::Sel_TipoDoc(), frmSetParamStat::Sel_DaData(),
                                  frmSetParamStat::Sel_AData()};
        const PeriodCriteria period = ApplyPeriod(rules.criteria, choice, database, session.Engine());
        rules.criteria = period.criteria;
        SelectionDescription() = period.description;
        SetStatusMsg(period.description);
        rules.dateField.clear();
    }

    ApplyPresetSelections(node.text(0), table, rules);
    rules.criteria = CurrentDateSelection().ApplyTo(rules.criteria, rules.dateField);

    ScopedMessage message(QStringLiteral("Lettura ") + node.text(0) + QStringLiteral("..."), this);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    auto dataObject = database.Tables().Item(table).OpenDataObject(session.Engine(), rules.criteria, rules.order,
                                                                   QString(), rules.select, Settings().CurrencyConversion);
    BindView(dataObject);
    if (previousOid.isValid() && dataObject->FindKey(previousOid))
        m_grid->FollowCurrentRecord();

    if (!rules.dateField.isEmpty()) {
        m_cmdDateSel->setProperty("Tag", rules.dateField);
        m_cmdDateSel->show();
        Action(QStringLiteral("mnuSelection"))->setVisible(true);
        UpdateSelectionCaptions();
    } else {
        m_cmdDateSel->setProperty("Tag", QString());
        m_cmdDateSel->hide();
        Action(QStringLiteral("mnuSelection"))->setVisible(false);
    }
    m_dgView->show();
    m_cmdGridSetting->show();
    LayoutMainWindow(m_splitterLeft);
    BuildPerFieldMenus();
    RebuildSavedFilterMenu();
}

void frmMain::ApplyPresetSelections(const QString& section, const QString& table, ViewRules& rules)
{
    if (Presets(section, table).Exists(section))
        Action(QStringLiteral("mnuDataSelBeforeQuery"))->setChecked(true);
    if (!Action(QStringLiteral("mnuDataSelBeforeQuery"))->isChecked() || !rules.criteria.isEmpty())
        return;
    const QString tag = m_lblTitle1->property("Tag").toString();
    if (Dialogs().ComplexFilterDialog(*m_presets, *ArchiveSession::Instance().Database(), QStringLiteral("Selezioni predefinite"))) {
        rules.criteria = m_presets->Render();
        if (rules.criteria.isEmpty()) {
            m_presets.reset();
            return;
        }
        m_lblTitle1->setText(tag + QStringLiteral("  [selezioni impostate]"));
        // The preset's own date condition replaces the date selection.
        if (!rules.dateField.isEmpty() && m_presets->HasCondition(rules.dateField))
            rules.dateField.clear();
        return;
    }
    const MsgResult answer =
        Dialogs().MessageBox(QStringLiteral("Selezioni predefinite annullate...\r\rVuoi visualizzare tutti i dati?"),
                             MsgButtons::YesNo, MsgIcon::Question, MsgDefault::Button2, QString());
    if (answer == MsgResult::No) {
        const Table view = ArchiveSession::Instance().Database()->Tables().Item(table);
        rules.criteria = view.BuildCriteria(view.FirstColumnName(), QVariant(), QStringLiteral("%"));
        m_lblTitle1->setText(tag + QStringLiteral("  [nessun dato richiesto]"));
    }
}

ComplexFilter& frmMain::Presets(const QString& section, const QString& table)
{
    // One object per section: the saved filter named as the section, if any.
    if (m_presets && (m_presets->CurrentName() != section || m_presets->TableName() != table))
        m_presets.reset();
    if (!m_presets) {
        m_presets = ArchiveSession::Instance().Database()->Tables().Item(table).CreateComplexFilter();
        m_presets->Select(section);
    }
    return *m_presets;
}

void frmMain::BindView(const std::shared_ptr<DataObject>& dataObject)
{
    // The layout of the table shown before is saved when the table changes.
    if (m_gridLayout && m_gridLayout->Table() != dataObject->TableName()) {
        m_layoutBinding.reset();
        SaveGridLayout();
        m_gridLayout.reset();
    }
    if (!m_gridLayout)
        m_gridLayout = std::make_unique<GridLayout>(AppPaths::GridLayoutFile(), dataObject->TableName());
    disconnect(m_refreshConnection);
    m_layoutBinding.reset();
    m_currentDataObject = dataObject;
    m_grid->SetDataObject(dataObject);
    m_layoutBinding = std::make_unique<GridLayoutBinding>(*m_gridLayout, *m_grid);
    m_layoutBinding->Apply();
    // A requery rebinds the grid: the layout goes back on.
    m_refreshConnection = connect(dataObject.get(), &DataObject::RecordsetRefreshed, this, [this] {
        if (m_layoutBinding)
            m_layoutBinding->Apply();
    });
    if (!dataObject->IsEmptySet())
        m_dgView->clearSelection();
}

void frmMain::SaveGridLayout()
{
    if (!m_gridLayout)
        return;
    try {
        m_gridLayout->Save();
    } catch (const Exception&) {
        // A layout that cannot be written costs the user a column width, not the view.
    }
}

void frmMain::BuildPerFieldMenus()
{
    const FieldMenus menus = BuildFieldMenus(*m_currentDataObject);
    for (const FieldMenuItem& item : menus.search)
        m_menus->AddArrayElement(QStringLiteral("mnuSearchItems"), item.caption, item.tag);
    for (const FieldMenuItem& item : menus.filter)
        m_menus->AddArrayElement(QStringLiteral("mnuFilterItems"), item.caption, item.tag);
    for (const FieldMenuItem& item : menus.find)
        m_menus->AddFindItem(item.caption, item.tag);
    if (menus.findDefault > 0)
        ToolButton(QStringLiteral("Find"))->setProperty("Tag", QString::number(menus.findDefault));
    for (const FieldMenuItem& item : menus.order)
        m_menus->AddArrayElement(QStringLiteral("mnuOrderItems"), item.caption, item.tag);
    for (const FieldMenuItem& item : menus.total)
        m_menus->AddArrayElement(QStringLiteral("mnuTotalItems"), item.caption, item.tag);
    for (const FieldMenuItem& item : menus.average)
        m_menus->AddArrayElement(QStringLiteral("mnuAverageItems"), item.caption, item.tag);
}

void frmMain::RebuildSavedFilterMenu()
{
    m_menus->ClearArray(QStringLiteral("mnuFilterComplexItems"));
    if (!m_currentDataObject)
        return;
    const auto filter = ArchiveSession::Instance().Database()->Tables().Item(m_currentDataObject->TableName()).CreateComplexFilter();
    const QString names = filter->SavedNames();
    if (names.isEmpty())
        return;
    for (const QString& name : names.split(u'|'))
        m_menus->AddArrayElement(QStringLiteral("mnuFilterComplexItems"), name, name);
}

void frmMain::UpdateSelectionCaptions()
{
    QString caption;
    const QString dateField = m_cmdDateSel->property("Tag").toString();
    if (!dateField.isEmpty() && m_currentDataObject) {
        const int index = m_currentDataObject->FieldIndex(dateField);
        if (index >= 0)
            caption = m_currentDataObject->Field(index).caption;
    }
    const SelectionCaptions captions = CaptionsFor(CurrentDateSelection(), caption);
    Action(QStringLiteral("mnuSelAll"))->setChecked(captions.checkAll);
    Action(QStringLiteral("mnuSelDate"))->setChecked(captions.checkDate);
    Action(QStringLiteral("mnuSelMonth"))->setChecked(captions.checkMonth);
    m_cmdDateSel->setText(captions.button);
    m_cmdDateSel->setToolTip(captions.tooltip);
    Action(QStringLiteral("mnuSelection"))->setText(captions.menu);
    // The button's width follows its caption.
    if (!m_cmdDateSel->isHidden())
        LayoutMainWindow(m_splitterLeft);
}

void frmMain::ShowNoView()
{
    m_layoutBinding.reset();
    disconnect(m_refreshConnection);
    m_grid->SetDataObject(nullptr);
    m_currentDataObject.reset();
    m_presets.reset();
    m_dgView->hide();
    m_cmdGridSetting->hide();
    m_cmdDateSel->hide();
    Action(QStringLiteral("mnuSelection"))->setVisible(false);
    LayoutMainWindow(m_splitterLeft);
}

void frmMain::EnableViewCommands(bool enabled)
{
    for (const QString& name : kViewEntries)
        Action(name)->setEnabled(enabled);
    for (const QString& key : kViewButtons)
        ToolButton(key)->setEnabled(enabled);
}
