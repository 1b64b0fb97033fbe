// The maintenance commands as the user reaches them in the main window: the
// hidden key of the euro conversion, "Importa dati..." and "Ripristina
// archivio..." from the "Dati" menu, and the daily copy when the window
// unloads.

#include "MaintenanceArchive.h"
#include "browser/MainWindowFixture.h"

#include "browser/SectionTree.h"
#include "component/DatabaseObject.h"
#include "maintenance/ArchiveBackup.h"
#include "maintenance/frmRestore.h"

#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

namespace {

class MainWindowMaintenance : public MainWindowTest
{
protected:
    qint64 Count(const QString& sql)
    {
        Statement s(ArchiveSession::Instance().Engine()->Db(), sql);
        return s.Step() ? s.ColumnInt(0) : -1;
    }

    void Exec(const QString& sql) { ArchiveSession::Instance().Engine()->Db().Exec(sql); }

    // A click on a section of the tree.
    static void ClickSection(frmMain& main, const QString& key)
    {
        QTreeWidget* tree = main.TreeView();
        QTreeWidgetItem* node = NodeWithKey(*tree, key);
        ASSERT_NE(node, nullptr) << key.toStdString();
        tree->scrollToItem(node);
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, {}, tree->visualItemRect(node).center());
        ASSERT_EQ(tree->currentItem(), node);
    }

    // A click on "Dati" in the menu bar opens the menu.
    static QMenu* OpenDataMenu(frmMain& main)
    {
        QMenuBar* bar = main.menuBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->actionGeometry(main.Action(QStringLiteral("mnuFile"))).center());
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }

    // An entry of the "Dati" menu: the arrows walk to the entry, Enter runs it.
    static void ChooseFromDataMenu(frmMain& main, const QString& entry)
    {
        QMenu* menu = OpenDataMenu(main);
        ASSERT_NE(menu, nullptr) << "the menu opens";
        QAction* target = main.Action(entry);
        for (int k = 0; k < 40 && menu->activeAction() != target; ++k)
            QTest::keyClick(menu, Qt::Key_Down);
        ASSERT_EQ(menu->activeAction(), target) << entry.toStdString();
        QTest::keyClick(menu, Qt::Key_Return);
    }
};

TEST_F(MainWindowMaintenance, TheHiddenKeyConvertsAfterBothWarnings)
{
    frmMain& main = OpenWindow();
    ASSERT_NO_FATAL_FAILURE(ClickSection(main, QStringLiteral("Menu")));
    Exec(QStringLiteral("UPDATE Menu SET Prezzo = 193627000 WHERE Nome = 'Coperto'"));
    dialogs.AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::Ok);
    QTest::keyClick(main.GridView(), Qt::Key_R, Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier);
    ASSERT_EQ(dialogs.Calls().size(), 3u);
    EXPECT_TRUE(dialogs.Calls()[0].text.startsWith(QStringLiteral("ATTENZIONE! - Questa operazione converte la valuta")));
    EXPECT_EQ(dialogs.Calls()[1].text, QStringLiteral("CONVERSIONE GIA' EFFETTUATA!!!\r\rConfermi?"));
    EXPECT_EQ(dialogs.Calls()[2].text, QStringLiteral("Conversione terminata."));
    EXPECT_EQ(Count(QStringLiteral("SELECT Prezzo FROM Menu WHERE Nome = 'Coperto'")), 100000);
    EXPECT_TRUE(main.isEnabled());
    EXPECT_EQ(main.CurrentDataObject()->GetValue(QStringLiteral("Prezzo")).value<Currency>(), Money("10"))
        << "the view shows the converted amounts";
}

TEST_F(MainWindowMaintenance, ImportFromTheDataMenuReloadsTheView)
{
    MaintenanceArchive other;
    other.AddCourse(QStringLiteral("DOLCI"), 250);
    other.AddMenuItem(QStringLiteral("Zuppa inglese"), 4, QStringLiteral("DOLCI"));
    other.Close();

    frmMain& main = OpenWindow();
    ASSERT_NO_FATAL_FAILURE(ClickSection(main, QStringLiteral("Menu")));
    ASSERT_NE(main.CurrentDataObject(), nullptr);
    ASSERT_EQ(main.CurrentDataObject()->RecordCount(), 1);
    dialogs.AnswerMessage(MsgResult::Yes)
        .AnswerOpenFile(other.Path())
        .AnswerMessage(MsgResult::No)
        .AnswerMessage(MsgResult::Yes)
        .AnswerMessage(MsgResult::Ok);
    ChooseFromDataMenu(main, QStringLiteral("mnuImport"));
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
    ChooseFromDataMenu(main, QStringLiteral("mnuImport"));
    EXPECT_EQ(dialogs.Calls().size(), 7u);
    EXPECT_EQ(Count(QStringLiteral("SELECT count(*) FROM Menu")), 2);
}

TEST_F(MainWindowMaintenance, ClosingTakesTheDaysCopyAndRestoreBringsItBack)
{
    frmMain& first = OpenWindow();
    Exec(QStringLiteral("INSERT INTO Clienti(Ragione_Sociale) VALUES('Osteria del Ponte')"));
    QMenu* menu = OpenDataMenu(first);
    ASSERT_NE(menu, nullptr);
    QTest::keyClick(menu, Qt::Key_Up);
    ASSERT_EQ(menu->activeAction(), first.Action(QStringLiteral("mnuFileClose")));
    QTest::keyClick(menu, Qt::Key_Return);
    ASSERT_TRUE(first.IsUnloaded());
    const QString copy = ArchiveBackup::DailyPath(ArchivePath(), QDate::currentDate());
    ASSERT_TRUE(QFile::exists(copy));
    EXPECT_TRUE(dialogs.Calls().empty()) << "a copy that works says nothing";
    window.reset();

    frmMain& main = OpenWindow();
    Exec(QStringLiteral("DELETE FROM Clienti; INSERT INTO Clienti(Ragione_Sociale) VALUES('Bar Centrale')"));
    dialogs.AnswerWindow([](QDialog& dialog) {
        auto& restore = static_cast<frmRestore&>(dialog);
        restore.show();
        QTreeWidget* list = restore.List();
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->topLevelItem(0)).center());
        QTest::keyClick(list, Qt::Key_Return);
        return restore.result();
    });
    dialogs.AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::Ok);
    QMenu* dataMenu = OpenDataMenu(main);
    ASSERT_NE(dataMenu, nullptr);
    QTest::keyClick(dataMenu, Qt::Key_R);
    ASSERT_EQ(dialogs.Calls().size(), 3u);
    EXPECT_TRUE(dialogs.Calls()[2].text.startsWith(QStringLiteral("Archivio ripristinato dalla copia del ")));
    ASSERT_TRUE(ArchiveSession::Instance().IsDatabaseReady()) << "the archive is open again";
    EXPECT_EQ(Count(QStringLiteral("SELECT count(*) FROM Clienti WHERE Ragione_Sociale = 'Osteria del Ponte'")), 1);
    EXPECT_EQ(Count(QStringLiteral("SELECT count(*) FROM Clienti WHERE Ragione_Sociale = 'Bar Centrale'")), 0);
    EXPECT_GT(main.TreeView()->topLevelItemCount(), 0);
}

} // namespace
