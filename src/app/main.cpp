// Interim start-up: opens (or creates) the archive in the working directory
// and lists its tables, until the main window takes over.

#include "app/AppInfo.h"
#include "app/AppSettings.h"
#include "app/ArchiveSession.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Table.h"

#include <QApplication>
#include <QLocale>
#include <QTreeWidget>

namespace {

class InterimHost : public ArchiveSessionHost
{
public:
    void ShowMessage(const QString&) override {}
    void CloseMessage() override {}
    bool ShowOptions() override { return true; } // the working directory as configured
    itfNotifyEvent* NotifySink() override { return nullptr; }
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::ProductName());
    QApplication::setApplicationVersion(AppInfo::VersionText());
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    LoadSettings();

    InterimHost host;
    auto& session = ArchiveSession::Instance();
    if (session.InitializeDatabase(host) != ArchiveSession::Outcome::Opened)
        return 1;

    QTreeWidget tables;
    tables.setWindowTitle(AppInfo::ProductName() + QStringLiteral(" - ") + ArchiveSession::DatabasePath());
    tables.setHeaderLabels({QStringLiteral("Tabella"), QStringLiteral("Titolo"), QStringLiteral("Record")});
    auto collection = session.Database()->Tables();
    for (int i = 0; i < collection.Count(); ++i) {
        const Table table = collection.Item(i);
        const qint64 count = table.OpenDataObject(session.Engine())->RecordCount();
        tables.addTopLevelItem(new QTreeWidgetItem(QStringList{table.Name(), table.Caption(), QString::number(count)}));
    }
    tables.resize(560, 320);
    tables.show();
    return app.exec();
}
