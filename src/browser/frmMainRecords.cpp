// The record commands of the main window (new, edit, delete, receipt
// reprint), its printed lists and exports, and the related-items menus.

#include "browser/frmMain.h"

#include "app/AppSettings.h"
#include "app/DesktopOpener.h"
#include "app/ErrorReport.h"
#include "app/frmMessage.h"
#include "browser/HtmlExport.h"
#include "browser/MainMenus.h"
#include "browser/RecordDeletion.h"
#include "browser/ReportPrinting.h"
#include "component/ComponentErrors.h"
#include "component/DataObject.h"
#include "component/Exception.h"
#include "component/RelatedItems.h"
#include "component/widgets/DialogService.h"
#include "component/widgets/GridBinding.h"
#include "component/widgets/GridLayoutBinding.h"
#include "component/widgets/RelatedNavigation.h"
#include "component/widgets/WaitCursor.h"
#include "printing/TicketEmission.h"
#include "printing/TicketPrinters.h"
#include "printing/clsScriptPrinter.h"
#include "printing/frmTicketPreview.h"

#include <QApplication>
#include <QDir>
#include <QUrl>

namespace {

struct RelatedArray
{
    QString array;
    RelatedItem::Group group;
};

// In the order of the menu.
const QList<RelatedArray>& RelatedArrays()
{
    static const QList<RelatedArray> arrays = {
        {QStringLiteral("mnuRefItem"), RelatedItem::Group::Referred},
        {QStringLiteral("mnuContItem"), RelatedItem::Group::Container},
        {QStringLiteral("mnuReferencedItem"), RelatedItem::Group::Associated},
    };
    return arrays;
}

bool IsListSection(const QString& key)
{
    return key.contains(QLatin1String("Lista "));
}

// The grid's selected rows, top to bottom.
QList<int> SelectedRows(const QItemSelectionModel& selection)
{
    QList<int> rows;
    for (const QItemSelectionRange& range : selection.selection())
        for (int row = range.top(); row <= range.bottom(); ++row)
            rows.append(row);
    std::sort(rows.begin(), rows.end());
    rows.erase(std::unique(rows.begin(), rows.end()), rows.end());
    return rows;
}

} // namespace

void frmMain::ConnectRecordCommands()
{
    const auto on = [this](const QString& name, auto slot) {
        connect(Action(name), &QAction::triggered, this, slot);
    };
    on(QStringLiteral("mnuFileNew"), &frmMain::NewRecord);
    on(QStringLiteral("mnuFileProperties"), &frmMain::EditCurrentRecord);
    on(QStringLiteral("mnuFileDelete"), &frmMain::DeleteRecords);
    on(QStringLiteral("mnuFiscalPrint"), &frmMain::ReprintReceipt);
    on(QStringLiteral("mnuPrint"), [this] { RunReport(0); });
    on(QStringLiteral("mnuPreview"), [this] { RunReport(1); });
    on(QStringLiteral("mnuPrintExport"), [this] { RunReport(2); });
    on(QStringLiteral("mnuSave"), &frmMain::ExportData);
    on(QStringLiteral("mnuViewWebBrowser"), &frmMain::ExportToBrowser);
    connect(this, &frmMain::EditRecordRequested, this, &frmMain::EditCurrentRecord);
    // The archive engine's request for a report of the current view: the
    // mode (0 print, 1 preview, 2 export) comes first.
    connect(this, &frmMain::ReportRequested, this,
            [this](const QVariantList& arguments) { RunReport(arguments.value(0, 1).toInt()); });
    connect(m_dgView, &QTableView::doubleClicked, this, &frmMain::EditCurrentRecord);
    for (const RelatedArray& related : RelatedArrays())
        m_tmFunc.Register(related.array, [this, group = related.group](int number) { OpenRelated(int(group), number); });
}

// ---- Records ----

void frmMain::NewRecord()
{
    if (!m_currentDataObject || IsListSection(SectionKey())) {
        Dialogs().Beep();
        return;
    }
    try {
        if (Dialogs().RecordEditor(m_currentDataObject, EditMode::NewRecord, {})) {
            m_currentDataObject->Requery();
            if (m_layoutBinding)
                m_layoutBinding->Apply();
        }
    } catch (const std::exception& error) {
        ShowErrorReport(QStringLiteral("Inserimento dati fallito: \r\r"), error);
    }
}

void frmMain::EditCurrentRecord()
{
    const QModelIndex current = m_dgView->currentIndex();
    if (m_dgView->isHidden() || !m_currentDataObject || !current.isValid()) {
        Dialogs().Beep();
        return;
    }
    try {
        m_grid->Model().MoveToRow(current.row());
        if (Dialogs().RecordEditor(m_currentDataObject, EditMode::CurrentRecord, {}))
            m_currentDataObject->Requery();
    } catch (const std::exception& error) {
        ShowErrorReport(QStringLiteral("Modifica dati fallita: \r\r"), error);
    }
}

void frmMain::DeleteRecords()
{
    WaitCursor hourglass;
    const QModelIndex current = m_dgView->currentIndex();
    if (!m_currentDataObject || !current.isValid() || IsListSection(SectionKey())) {
        Dialogs().Beep();
        return;
    }
    if (Dialogs().MessageBox(QStringLiteral("Confermi l'eliminazione dei dati selezionati ?"), MsgButtons::OkCancel,
                             MsgIcon::Question, MsgDefault::Button2, QString())
        != MsgResult::Ok)
        return;
    const QList<int> rows = SelectedRows(*m_dgView->selectionModel());
    bool progressShown = false;
    try {
        if (rows.size() <= 1) {
            // One row: the archive itself refuses a record in use.
            m_grid->Model().MoveToRow(current.row());
            if (!m_currentDataObject->NoCurrentRecord())
                m_currentDataObject->DeleteRecord();
        } else {
            MessageWindow().ShowMsg(QStringLiteral("Eliminazione in corso..."), this);
            progressShown = true;
            MessageWindow().StartProgress(rows.size(), true);
            // The records, not their row numbers: rows move up as records go.
            QList<qint64> oids;
            oids.reserve(rows.size());
            for (const int row : rows)
                if (const RowPager::Row* selected = m_currentDataObject->RowAt(row))
                    oids.append(selected->oid);
            const auto outcome = RecordDeletion::DeleteSelected(*m_currentDataObject, oids,
                                                                [] { return MessageWindow().Progress(); });
            MessageWindow().Unload();
            progressShown = false;
            if (outcome == RecordDeletion::Outcome::InUse)
                Dialogs().MessageBox(QStringLiteral("Non puoi eliminare i dati perchè risultano in uso..."), MsgButtons::Ok,
                                     MsgIcon::Exclamation, MsgDefault::Button1, QString());
        }
    } catch (const std::exception& error) {
        if (progressShown)
            MessageWindow().Unload();
        ShowErrorReport(QStringLiteral("Eliminazione dati fallita: \r\r"), error);
    }
    try {
        m_dgView->clearSelection();
        m_currentDataObject->Requery();
    } catch (const std::exception& error) {
        ShowErrorReport(QStringLiteral("Visualizzazione dati fallita: \r\r"), error);
    }
}

void frmMain::ReprintReceipt()
{
    if (!m_currentDataObject)
        return;
    try {
        if (m_currentDataObject->RecordCount() == 0)
            return;
        Dialogs().Beep();
        if (Dialogs().MessageBox(QStringLiteral("Confermi la ristampa della ricevuta ?"), MsgButtons::YesNo,
                                 MsgIcon::Question, MsgDefault::Button1, QString())
            != MsgResult::Yes)
            return;
        // The receipt of the row the user sees selected.
        const QModelIndex current = m_dgView->currentIndex();
        if (current.isValid())
            m_grid->Model().MoveToRow(current.row());
        std::unique_ptr<clsScriptPrinter> printer = CreateTicketPrinter(Settings().Ticket);
        TicketEmission(*m_currentDataObject, printer, 1, QString());
    } catch (const std::exception& error) {
        ShowErrorReport(QStringLiteral("Ristampa ricevuta fallita: \r\r"), error);
    }
}

// ---- Printed lists and exports ----

void frmMain::RunReport(int mode)
{
    if (m_dgView->isHidden() || !m_currentDataObject) {
        Dialogs().Beep();
        return;
    }
    ReportPrinting::Run(m_currentDataObject, ReportPrinting::Mode(mode), SectionKey(), this,
                        [this] { ShowTicketPreview(); });
}

void frmMain::ExportData()
{
    if (!m_currentDataObject) {
        Dialogs().Beep();
        return;
    }
    try {
        ScopedMessage message(QStringLiteral("Esportazione dati in corso..."), this);
        Dialogs().ExportDialog(m_currentDataObject, &MessageWindow());
    } catch (const std::exception& error) {
        ShowErrorReport(QStringLiteral("Esportazione dati fallita: \r\r"), error);
    }
}

void frmMain::ExportToBrowser()
{
    if (m_dgView->isHidden() || !m_currentDataObject) {
        Dialogs().Beep();
        return;
    }
    try {
        ScopedMessage message(QStringLiteral("Esportazione dati in formato html..."), this);
        if (!HtmlExport::Write(*m_currentDataObject, &MessageWindow()))
            return;
        const QString page = HtmlExport::PageFile();
        if (!OpenWithDesktop(QUrl::fromLocalFile(page)))
            throw Exception(ComponentError::Io, QStringLiteral("Impossibile aprire la pagina «%1» nel browser")
                                                    .arg(QDir::toNativeSeparators(page)));
    } catch (const std::exception& error) {
        ShowErrorReport(QStringLiteral("Esportazione dati fallita: \r\r"), error);
    }
}

// ---- Related items ----

void frmMain::RebuildRelatedMenus(bool clearOnly)
{
    for (const RelatedArray& related : RelatedArrays()) {
        m_menus->ClearArray(related.array);
        QAction* header = Action(related.array + QStringLiteral("(0)"));
        header->setText(RelatedNavigation::GroupCaption(related.group));
        int number = 0;
        if (!clearOnly && m_currentDataObject)
            for (const auto& object : RelatedItems::Chain(m_currentDataObject))
                for (const RelatedItem& item : RelatedItems::Of(*object, related.group)) {
                    QAction* entry = m_menus->AddArrayElement(related.array, item.caption, QString::number(++number));
                    entry->setEnabled(item.navigable);
                    connect(entry, &QAction::triggered, this,
                            [this, array = related.array, entry] { ChooseRelated(array, entry); });
                }
        header->setVisible(number > 0);
    }
}

void frmMain::ChooseRelated(const QString& array, QAction* element)
{
    try {
        if (!m_currentDataObject || m_currentDataObject->IsEmptySet())
            return;
    } catch (const std::exception& error) {
        ShowErrorReport(QStringLiteral("Apertura dati associati fallita: \r\r"), error);
        return;
    }
    m_tmFunc.Post(QStringLiteral("%1(%2)").arg(array).arg(element->data().toString().toInt()));
}

void frmMain::OpenRelated(int group, int number)
{
    if (!m_currentDataObject)
        return;
    try {
        RelatedNavigation::Open(m_currentDataObject, RelatedItem::Group(group), number);
    } catch (const std::exception& error) {
        ShowErrorReport(QStringLiteral("Apertura dati associati fallita: \r\r"), error);
    }
}

void frmMain::ShowTicketPreview()
{
    // The receipt of the row the user sees selected, as its ticket prints.
    const QModelIndex current = m_dgView->currentIndex();
    if (current.isValid())
        m_grid->Model().MoveToRow(current.row());
    if (m_currentDataObject->NoCurrentRecord()) {
        Dialogs().Beep();
        return;
    }
    const TicketGeometry geometry = GeometryOf(Settings().Ticket);
    QSizeF printable(210.0, 297.0);
    if (geometry.height == 0.0f || geometry.width == 0.0f)
        printable = CreateTicketTarget(Settings().Ticket.PrinterName)->PrintableSize();
    frmTicketPreview preview(QApplication::activeWindow());
    auto printer = std::make_unique<clsScriptPrinter>();
    printer->SetPrinter(std::make_unique<PreviewTarget>(&preview, printable), geometry);
    if (TicketEmission(*m_currentDataObject, printer, 1, QString()))
        Dialogs().ExecModal(preview);
}
