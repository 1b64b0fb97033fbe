// The view of the selected section: a group's page of section buttons, or
// the section's table in the grid. This is the plain view of the frame;
// date, period and preset selections, grid layouts and per-field menus come
// with the full view loading.

#include "browser/frmMain.h"

#include "app/AppSettings.h"
#include "app/ErrorReport.h"
#include "app/frmMessage.h"
#include "browser/FlagGuard.h"
#include "browser/SectionTree.h"
#include "browser/ViewRules.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/Table.h"
#include "component/widgets/GridBinding.h"

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

// The wait pointer for the length of a scope.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

void frmMain::RefreshDetailView(const QString& order)
{
    auto& session = ArchiveSession::Instance();
    if (!session.IsDatabaseReady() || m_loadingView)
        return;
    FlagGuard busy(m_loadingView);

    const QTreeWidgetItem* node = SelectedNode(*m_tvTreeView);
    try {
        if (node)
            SetStatusMsg(m_lblTitle0->text() + QStringLiteral(" <") + node->text(0) + QStringLiteral(">"));
        if (!node || IsGroupNode(*node)) {
            ShowNoView();
        } else {
            const ViewRules query = RulesOfSection(NodeKey(*node), order, RigheJoinCriteria(*session.Database()));
            WaitCursor wait;
            ScopedMessage message(QStringLiteral("Lettura ") + node->text(0) + QStringLiteral("..."), this);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
            auto dataObject = session.Database()->Tables().Item(query.table).OpenDataObject(
                session.Engine(), query.criteria, query.order, QString(), query.select, Settings().CurrencyConversion);
            m_currentDataObject = dataObject;
            m_grid->SetDataObject(std::move(dataObject));
            m_cmdDateSel->hide();
            Action(QStringLiteral("mnuSelection"))->setVisible(false);
            m_dgView->show();
            m_cmdGridSetting->show();
            LayoutMainWindow(m_splitterLeft);
        }
    } catch (const Exception& error) {
        ShowErrorReport(kLoadFailed, error);
    } catch (const std::exception& error) {
        ShowErrorReport(kLoadFailed, error);
    }
    EnableViewCommands(!m_dgView->isHidden());
    ShowSectionItems();
}

void frmMain::ShowNoView()
{
    m_grid->SetDataObject(nullptr);
    m_currentDataObject.reset();
    m_dgView->hide();
    m_cmdGridSetting->hide();
    LayoutMainWindow(m_splitterLeft);
}

void frmMain::EnableViewCommands(bool enabled)
{
    for (const QString& name : kViewEntries)
        Action(name)->setEnabled(enabled);
    for (const QString& key : kViewButtons)
        ToolButton(key)->setEnabled(enabled);
}
