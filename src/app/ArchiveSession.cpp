#include "app/ArchiveSession.h"

#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/FilePaths.h"
#include "component/ComponentGlobal.h"
#include "component/CurrencyObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/widgets/DialogService.h"
#include "data/DB.h"

namespace {

// Closes the message window on every way out.
class MessageGuard
{
public:
    MessageGuard(ArchiveSessionHost& host, const QString& text) : m_host(host) { m_host.ShowMessage(text); }
    ~MessageGuard() { m_host.CloseMessage(); }
    MessageGuard(const MessageGuard&) = delete;
    MessageGuard& operator=(const MessageGuard&) = delete;

private:
    ArchiveSessionHost& m_host;
};

} // namespace

ArchiveSession& ArchiveSession::Instance()
{
    static ArchiveSession session;
    return session;
}

QString ArchiveSession::DatabasePath()
{
    // The native form of BuildPath(RootDir, "Mensora.mdb", ""): a working
    // directory with or without a trailing separator gives the same path.
    return BuildNativePath(Settings().RootDir, QStringLiteral("Mensora.mdb"), QString());
}

bool ArchiveSession::IsDatabaseReady() const
{
    return m_engine && m_database && m_database->State() == DatabaseObject::StateOpen;
}

ArchiveSession::Outcome ArchiveSession::InitializeDatabase(ArchiveSessionHost& host)
{
    try {
        MessageGuard message(host, QStringLiteral("Inizializzazione del database..."));
        QString path = DatabasePath();
        if (!FileExists(path, vbNormal)) {
            if (!host.ShowOptions())
                return Outcome::EndProcess;
            path = DatabasePath();
        }
        m_database = ComponentGlobal::CreateDatabaseObject(std::make_shared<DB>(), AppPaths::ExecutableName(),
                                                           host.NotifySink(), nullptr, 0);
        m_engine = std::make_shared<DatabaseEngine>();
        if (!FileExists(path, vbNormal))
            m_engine->CreateDatabaseFile(DatabaseKind, path, 0, 0);
        if (m_database->BaseCurrency()->Name(0) == QLatin1String("Euro"))
            m_database->SetConversionCurrency(std::make_shared<ConversionCurrencyForEuro>());
        else
            m_database->SetConversionCurrency(std::make_shared<ConversionCurrencyForOther>());
        m_engine->OpenDatabaseFile(DatabaseKind, path, 0, 0, nullptr, 5, 0, true, true, 0, -2);
        m_database->AttachEngine(m_engine, true, 0, 0, 0, nullptr);
        return Outcome::Opened;
    } catch (const Exception& e) {
        Dialogs().MessageBox(QStringLiteral("Inizializzazione database fallita: \r\r") + e.Description(), MsgButtons::Ok,
                             MsgIcon::Critical, MsgDefault::Button1, QString());
    } catch (const std::exception& e) {
        Dialogs().MessageBox(QStringLiteral("Inizializzazione database fallita: \r\r") + QString::fromLocal8Bit(e.what()),
                             MsgButtons::Ok, MsgIcon::Critical, MsgDefault::Button1, QString());
    }
    return Outcome::Failed;
}

void ArchiveSession::ReleaseDatabase()
{
    m_database.reset();
    m_engine.reset();
}
