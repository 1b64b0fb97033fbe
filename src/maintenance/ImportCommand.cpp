#include "maintenance/ImportCommand.h"

#include "app/AppInfo.h"
#include "app/ErrorReport.h"
#include "app/frmMessage.h"
#include "component/ComponentErrors.h"
#include "component/ComponentGlobal.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/TableDef.h"
#include "component/widgets/DialogService.h"
#include "maintenance/ArchiveImport.h"

#include <QFileInfo>

namespace {

const QString kFailed = QStringLiteral("Impossibile importare i dati");

MsgResult Ask(const QString& text, MsgButtons buttons, MsgIcon icon, MsgDefault defaultButton = MsgDefault::Button1)
{
    return Dialogs().MessageBox(text, buttons, icon, defaultButton, AppInfo::ProductName());
}

void Tell(const QString& text, MsgIcon icon) { Ask(text, MsgButtons::Ok, icon); }

void RollBack(DatabaseEngine& engine, int depth)
{
    try {
        while (engine.TransactionDepth() > depth)
            engine.RollbackTransaction();
    } catch (const std::exception&) {
    }
}

} // namespace

bool ImportData(DatabaseObject& database, const std::shared_ptr<DataObject>& current, QWidget* owner)
{
    if (!current) {
        Dialogs().Beep();
        return false;
    }
    const QString caption = current->Table().DisplayCaption();
    const QString warning = QStringLiteral("Questa funzione permette di importare < ") + caption
                            + QStringLiteral(" > nell'archivio corrente.\r\rATTENZIONE!\rL'operazione deve essere guidata "
                                             "da personale tecnico!\r\rContinuare ?");
    if (Dialogs().MessageBox(warning, MsgButtons::YesNo, MsgIcon::Exclamation, MsgDefault::Button2, QString())
        != MsgResult::Yes)
        return false;
    const std::optional<QString> path = Dialogs().GetOpenFileName(
        QStringLiteral("Importa dati"), QFileInfo(database.Engine()->Path()).absolutePath(), QString(),
        QStringLiteral("Archivio ") + AppInfo::ProductName() + QStringLiteral("|*.odb;*.mdb"));
    if (!path || path->isEmpty())
        return false;
    return ImportArchive(database, *path, current, owner);
}

bool ImportArchive(DatabaseObject& database, const QString& sourcePath, const std::shared_ptr<DataObject>& current,
                   QWidget* owner)
{
    const QString caption = current->Table().DisplayCaption();
    DatabaseEngine& engine = *database.Engine();
    const int depth = engine.TransactionDepth();
    frmMessage& message = MessageWindow();
    ArchiveImport import(database, current->TableName());
    try {
        message.ShowMsg(QStringLiteral("Analisi dei dati..."), owner);
        import.Open(sourcePath);
        if (!import.SourceHasTable()) {
            message.Unload();
            Tell(QStringLiteral("L'archivio selezionato non contiene dati < ") + caption + QStringLiteral(" > da importare!"),
                 MsgIcon::None);
            return false;
        }
        if (import.SourceRecords() == 0) {
            message.Unload();
            Tell(QStringLiteral("L'archivio non contiene dati da importare"), MsgIcon::Information);
            return false;
        }
        message.Unload();
        if (Ask(QStringLiteral("Vuoi visualizzare i dati che verranno importati ?"), MsgButtons::YesNo, MsgIcon::Question)
            == MsgResult::Yes) {
            std::shared_ptr<DataObject> records;
            {
                ScopedMessage preparing(QStringLiteral("Analisi dei dati..."), owner);
                records = import.Preview();
            }
            Dialogs().DataWindow(records, caption);
        }
        if (Ask(QStringLiteral("Confermi l'importazione ?"), MsgButtons::YesNo, MsgIcon::Question) != MsgResult::Yes)
            return false;

        message.ShowMsg(QStringLiteral("Importazione <") + caption + QStringLiteral(" > in corso..."), owner);
        engine.BeginTransaction();
        const bool finished = import.Copy([&](qint64 done, qint64 total) {
            if (done == 0) {
                message.StartProgress(total, true);
                return message.Progress(0, true);
            }
            return message.Progress(done);
        });
        if (!finished)
            throw Exception(ComponentError::Cancelled, ComponentGlobal::MessageText(124, 0));
        engine.CommitTransaction();
        message.Unload();
        import.Close();
    } catch (const ImportRefused& refusal) {
        RollBack(engine, depth);
        message.Unload();
        Tell(refusal.Description(), MsgIcon::Exclamation);
        return false;
    } catch (const ImportConflict& conflict) {
        RollBack(engine, depth);
        message.Unload();
        Tell(kFailed + QStringLiteral(":\r\r") + conflict.Description()
                 + QStringLiteral("\r\rNessun dato è stato importato."),
             MsgIcon::Exclamation);
        return false;
    } catch (const std::exception& error) {
        RollBack(engine, depth);
        message.Unload();
        ShowErrorReport(kFailed, error);
        return false;
    }
    Tell(QStringLiteral("OPERAZIONE COMPLETATA."), MsgIcon::Information);
    return true;
}
