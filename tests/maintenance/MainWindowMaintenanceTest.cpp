// The maintenance commands as the user reaches them in the main window: the
// hidden key of the euro conversion, "Importa dati..." and "Ripristina
// archivio..." from the "Dati" menu, and the daily copy when the window
// unloads.

#include "MaintenanceArchive.h"
#include "browser/MainWindowFixture.h"

#include "component/DatabaseObject.h"
#include "maintenance/ArchiveBackup.h"
#include "maintenance/frmRestore.h"
#include "support/UserInput.h"

#include <QDir>
#include <QFile>
#include <QTreeWidget>

namespace {

class MainWindowMaintenance : public MainWindowTest
{
protected:
    frmMain& Open()
    {
        frmMain& main = OpenWindow();
        EXPECT_TRUE(UserInput::BringToFront(main));
        return main;
    }

    qint64 Number(const QString& sql)
    {
        Statement s(ArchiveSession::Instance().Engine()->Db(), sql);
        return s.Step() ? s.ColumnInt(0) : -1;
    }

    void Exec(const QString& sql) { ArchiveSession::Instance().Engine()->Db().Exec(sql); }
};

TEST_F(MainWindowMaintenance, TheHiddenKeyConvertsAfterBothWarnings)
{
    frmMain& main = Open();
    UserInput::ClickTreeItem(*main.TreeView(), QStringLiteral("Menù"));
    Exec(QStringLiteral("UPDATE Menu SET Prezzo = 193627000 WHERE Nome = 'Coperto'"));
    UserInput::ClickCell(*main.GridView(), 0, 0);
    dialogs.AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::Ok);
    UserInput::PressKey(Qt::Key_R, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    ASSERT_EQ(dialogs.Calls().size(), 3u);
    EXPECT_TRUE(dialogs.Calls()[0].text.startsWith(QStringLiteral("ATTENZIONE! - Questa operazione converte la valuta")));
    EXPECT_EQ(dialogs.Calls()[1].text, QStringLiteral("CONVERSIONE GIA' EFFETTUATA!!!\r\rConfermi?"));
    EXPECT_EQ(dialogs.Calls()[2].text, QStringLiteral("Conversione terminata."));
    EXPECT_EQ(Number(QStringLiteral("SELECT Prezzo FROM Menu WHERE Nome = 'Coperto'")), 100000);
    EXPECT_TRUE(main.isEnabled());
    ASSERT_NE(main.CurrentDataObject(), nullptr);
    EXPECT_EQ(main.CurrentDataObject()->GetValue(QStringLiteral("Prezzo")).value<Currency>(), Money("10"))
        << "the view shows the converted amounts";
}

TEST_F(MainWindowMaintenance, ImportFromTheDataMenuReloadsTheView)
{
    MaintenanceArchive other;
    other.AddCourse(QStringLiteral("DOLCI"), 250);
    other.AddMenuItem(QStringLiteral("Zuppa inglese"), 4, QStringLiteral("DOLCI"));
    other.Close();

    frmMain& main = Open();
    UserInput::ClickTreeItem(*main.TreeView(), QStringLiteral("Menù"));
    ASSERT_NE(main.CurrentDataObject(), nullptr);
    ASSERT_EQ(main.CurrentDataObject()->RecordCount(), 1);
    dialogs.AnswerMessage(MsgResult::Yes)
        .AnswerOpenFile(other.Path())
        .AnswerMessage(MsgResult::No)
        .AnswerMessage(MsgResult::Yes)
        .AnswerMessage(MsgResult::Ok);
    UserInput::ChooseMenu(main, {QStringLiteral("&Dati"), QStringLiteral("Importa dati...")});
    ASSERT_EQ(dialogs.Calls().size(), 5u);
    EXPECT_EQ(dialogs.Calls()[0].text, QStringLiteral("Questa funzione permette di importare < Menù > nell'archivio corrente."
                                                      "\r\rATTENZIONE!\rL'operazione deve essere guidata da personale tecnico!"
                                                      "\r\rContinuare ?"));
    EXPECT_EQ(dialogs.Calls()[0].icon, MsgIcon::Exclamation);
    EXPECT_EQ(dialogs.Calls()[0].defaultButton, MsgDefault::Button2);
    EXPECT_EQ(dialogs.Calls()[1].kind, DialogKind::OpenFile);
    EXPECT_EQ(dialogs.Calls()[1].filter, QStringLiteral("Archivio Mensora|*.odb;*.mdb"));
    EXPECT_EQ(dialogs.Calls()[4].text, QStringLiteral("OPERAZIONE COMPLETATA."));
    EXPECT_EQ(main.CurrentDataObject()->RecordCount(), 2) << "the view was loaded again";
    EXPECT_EQ(main.GridView()->model()->rowCount(), 2);

    // A cancelled file choice changes nothing and says nothing.
    dialogs.AnswerMessage(MsgResult::Yes).AnswerOpenFile(std::nullopt);
    UserInput::ChooseMenu(main, {QStringLiteral("&Dati"), QStringLiteral("Importa dati...")});
    EXPECT_EQ(dialogs.Calls().size(), 7u);
    EXPECT_EQ(Number(QStringLiteral("SELECT count(*) FROM Menu")), 2);
}

// A page of the customers' table whose header counts half of its records:
// a scan of the table passes over the other half without an error, so a copy
// would lose them without a word.
void HideHalfOfAPage(const QString& path, qint64 rootPage, qint64 pageSize)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    QByteArray bytes = file.readAll();
    const auto at = [&](qint64 page) { return (page - 1) * pageSize; };
    const auto word = [&](qint64 offset) { return (uchar(bytes[offset]) << 8) | uchar(bytes[offset + 1]); };
    const qint64 root = at(rootPage);
    ASSERT_EQ(uchar(bytes[root]), 0x05) << "the table spans more than one page";
    const qint64 firstCell = root + word(root + 12);
    const qint64 leafPage = (qint64(uchar(bytes[firstCell])) << 24) | (uchar(bytes[firstCell + 1]) << 16)
                            | (uchar(bytes[firstCell + 2]) << 8) | uchar(bytes[firstCell + 3]);
    const qint64 leaf = at(leafPage);
    ASSERT_EQ(uchar(bytes[leaf]), 0x0d);
    const int cells = word(leaf + 3);
    bytes[leaf + 3] = char((cells / 2) >> 8);
    bytes[leaf + 4] = char((cells / 2) & 0xff);
    file.seek(0);
    ASSERT_EQ(file.write(bytes), bytes.size());
}

TEST_F(MainWindowMaintenance, ADamagedArchiveIsRefusedBeforeAnythingIsCopied)
{
    MaintenanceArchive other;
    other.Exec(QStringLiteral("WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n WHERE k < 400) "
                              "INSERT INTO Clienti(Ragione_Sociale, Comune) SELECT 'Cliente ' || k, 'Imola' FROM n"));
    const qint64 rootPage = other.Value(QStringLiteral("SELECT rootpage FROM sqlite_master WHERE name = 'Clienti'")).toLongLong();
    const qint64 pageSize = other.Value(QStringLiteral("PRAGMA page_size")).toLongLong();
    other.Close();
    HideHalfOfAPage(other.Path(), rootPage, pageSize);
    const QByteArray digest = FileDigest(other.Path());

    frmMain& main = Open();
    UserInput::ClickTreeItem(*main.TreeView(), QStringLiteral("Clienti"));
    ASSERT_NE(main.CurrentDataObject(), nullptr);
    const qint64 customers = Number(QStringLiteral("SELECT count(*) FROM Clienti"));
    dialogs.AnswerMessage(MsgResult::Yes).AnswerOpenFile(other.Path()).AnswerMessage(MsgResult::Ok);
    UserInput::ChooseMenu(main, {QStringLiteral("&Dati"), QStringLiteral("Importa dati...")});
    ASSERT_EQ(dialogs.Calls().size(), 3u);
    EXPECT_EQ(dialogs.Calls()[2].text,
              QStringLiteral("L'archivio «%1» è danneggiato: non è possibile importarne i dati.")
                  .arg(QDir::toNativeSeparators(other.Path())));
    EXPECT_EQ(dialogs.Calls()[2].icon, MsgIcon::Exclamation);
    EXPECT_EQ(Number(QStringLiteral("SELECT count(*) FROM Clienti")), customers) << "nothing of it was copied";
    EXPECT_EQ(FileDigest(other.Path()), digest);
    EXPECT_TRUE(main.isEnabled());
}

TEST_F(MainWindowMaintenance, ClosingTakesTheDaysCopyAndRestoreBringsItBack)
{
    frmMain& first = Open();
    Exec(QStringLiteral("INSERT INTO Clienti(Ragione_Sociale) VALUES('Osteria del Ponte')"));
    UserInput::ChooseMenu(first, {QStringLiteral("&Dati"), QStringLiteral("Chiudi")});
    ASSERT_TRUE(first.IsUnloaded());
    ASSERT_TRUE(QFile::exists(ArchiveBackup::DailyPath(ArchivePath(), QDate::currentDate())));
    EXPECT_TRUE(dialogs.Calls().empty()) << "a copy that works says nothing";
    window.reset();

    frmMain& main = Open();
    Exec(QStringLiteral("DELETE FROM Clienti; INSERT INTO Clienti(Ragione_Sociale) VALUES('Bar Centrale')"));
    dialogs.AnswerWindow([](QDialog& dialog) {
        auto& restore = static_cast<frmRestore&>(dialog);
        restore.show();
        UserInput::ClickTreeItem(*restore.List(), restore.List()->topLevelItem(0));
        QTest::keyClick(restore.List(), Qt::Key_Return);
        return restore.result();
    });
    dialogs.AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::Ok);
    UserInput::ChooseMenuByKeys(main, u'D', u'R');
    ASSERT_EQ(dialogs.Calls().size(), 3u);
    EXPECT_TRUE(dialogs.Calls()[2].text.startsWith(QStringLiteral("Archivio ripristinato dalla copia del ")));
    ASSERT_TRUE(ArchiveSession::Instance().IsDatabaseReady()) << "the archive is open again";
    EXPECT_EQ(Number(QStringLiteral("SELECT count(*) FROM Clienti WHERE Ragione_Sociale = 'Osteria del Ponte'")), 1);
    EXPECT_EQ(Number(QStringLiteral("SELECT count(*) FROM Clienti WHERE Ragione_Sociale = 'Bar Centrale'")), 0);
    EXPECT_GT(main.TreeView()->topLevelItemCount(), 0);
}

} // namespace
