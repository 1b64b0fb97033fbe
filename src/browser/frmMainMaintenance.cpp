// The main window's maintenance commands: the euro conversion (Ctrl+Shift+
// Alt+R), "Importa dati...", "Ripristina archivio..." and the daily copy of
// the archive when the window unloads.

#include "browser/frmMain.h"

#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/widgets/DialogService.h"
#include "maintenance/ImportCommand.h"
#include "maintenance/RestoreCommand.h"
#include "maintenance/modEuroConversion.h"

namespace {

// The archive as the main window holds it.
class MainArchiveHolder : public ArchiveHolder
{
public:
    explicit MainArchiveHolder(frmMain& window) : m_window(window) {}

    bool CloseArchive() override
    {
        std::weak_ptr<DatabaseEngine> engine = ArchiveSession::Instance().Engine();
        m_window.ReleaseDatabase();
        return engine.expired();
    }

    void ReopenArchive() override
    {
        // Whatever still held the archive is gone by now or keeps it open;
        // either way the window opens its own again.
        ArchiveSession::Instance().ReleaseDatabase();
        m_window.Activate();
    }

private:
    frmMain& m_window;
};

QString OpenArchivePath()
{
    const auto engine = ArchiveSession::Instance().Engine();
    return engine && engine->IsOpen() ? engine->Path() : QString();
}

} // namespace

void frmMain::ConvertToEuro()
{
    const auto database = ArchiveSession::Instance().Database();
    if (!database || !ArchiveSession::Instance().IsDatabaseReady()) {
        Dialogs().Beep();
        return;
    }
    if (::ConvertToEuro(*database, this))
        RefreshDetailView(QString());
}

void frmMain::ImportData()
{
    const auto database = ArchiveSession::Instance().Database();
    if (!database || !ArchiveSession::Instance().IsDatabaseReady() || !m_currentDataObject) {
        Dialogs().Beep();
        return;
    }
    if (::ImportData(*database, m_currentDataObject, this))
        RefreshDetailView(QString());
}

void frmMain::RestoreArchive()
{
    const QString path = OpenArchivePath();
    if (path.isEmpty()) {
        Dialogs().Beep();
        return;
    }
    MainArchiveHolder holder(*this);
    ::RestoreArchive(path, holder, this);
}

void frmMain::BackupArchive()
{
    BackupAtClose(OpenArchivePath(), this);
}
