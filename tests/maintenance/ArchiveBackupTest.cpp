// The archive's copies: what a copy holds while a sale is open, the sale
// going on during the copy, one a day and the last 30 kept, and putting a
// copy back.

#include "MaintenanceArchive.h"

#include "app/frmMessage.h"
#include "maintenance/ArchiveBackup.h"
#include "maintenance/RestoreCommand.h"
#include "maintenance/frmRestore.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

const QDate kToday(2025, 11, 20);

// The archive held by a test, closed and opened again as the main window does.
class Holder : public ArchiveHolder
{
public:
    explicit Holder(MaintenanceArchive& archive) : m_archive(archive) {}
    bool CloseArchive() override
    {
        ++closed;
        m_archive.Close();
        return true;
    }
    void ReopenArchive() override
    {
        ++reopened;
        m_archive.Open();
    }
    int closed = 0;
    int reopened = 0;

private:
    MaintenanceArchive& m_archive;
};

class ArchiveBackupTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        cover = archive.Value(QStringLiteral("SELECT OID FROM Menu WHERE Nome = 'Coperto'"));
        archive.AddReceipt(QStringLiteral("Ricevuta fiscale"), QDateTime(kToday, QTime(12, 30)),
                           QStringLiteral("Cliente generico"), {{cover, 2}});
    }
    void TearDown() override { DestroyMessageWindow(); }

    void WriteFile(const QString& path, const QByteArray& bytes)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    // The user picks the copy of the row given in the restore window, with
    // the mouse, and presses OK.
    void AnswerRestoreWindow(int row)
    {
        dialogs.AnswerWindow([row](QDialog& dialog) {
            auto& window = static_cast<frmRestore&>(dialog);
            window.show();
            QTreeWidget* list = window.List();
            QTreeWidgetItem* item = list->topLevelItem(row);
            QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(item).center());
            QTest::mouseClick(window.findChild<QPushButton*>(QStringLiteral("cmdOk")), Qt::LeftButton);
            return window.result();
        });
    }

    ScriptedDialogs dialogs;
    ScopedDialogService useDialogs{dialogs};
    MaintenanceArchive archive;
    QVariant cover;
};

TEST_F(ArchiveBackupTest, ACopyTakenDuringASaleHoldsOnlyWhatWasConfirmedAndTheSaleGoesOn)
{
    // Pages of 4 KB; a bigger archive gives the sale turns between them.
    archive.Exec(QStringLiteral("CREATE TABLE filler(x); WITH RECURSIVE n(k) AS (SELECT 1 UNION ALL SELECT k + 1 FROM n "
                                "WHERE k < 3000) INSERT INTO filler SELECT randomblob(400) FROM n"));
    const QStringList confirmed = archive.Dump();
    // The till opens a sale: one transaction until it is confirmed.
    archive.engine->BeginTransaction();
    auto receipts = archive.Table(QStringLiteral("Ricevute"));
    receipts->AddRecord({QStringLiteral("Cliente"), QStringLiteral("Cliente generico"), QStringLiteral("TipoDocumento"),
                         QStringLiteral("Ricevuta fiscale")});
    auto rows = receipts->OpenReference(QStringLiteral("Righe"));
    rows->AddRecord({QStringLiteral("OID_Menu"), cover});

    const QString target = ArchiveBackup::DailyPath(archive.Path(), kToday);
    int steps = 0;
    ASSERT_TRUE(ArchiveBackup::Copy(archive.Path(), target, [&](qint64 done, qint64 total) {
        EXPECT_LE(done, total);
        // The cashier adds a row while the copy runs.
        if (++steps == 1)
            rows->AddRecord({QStringLiteral("OID_Menu"), cover});
        return true;
    }));
    EXPECT_GT(steps, 1) << "written in steps";
    EXPECT_EQ(MaintenanceArchive::DumpOf(target), confirmed) << "the open sale is not in the copy";
    archive.engine->CommitTransaction();
    EXPECT_EQ(archive.Count(QStringLiteral("Ricevute")), 2);
    EXPECT_EQ(archive.Count(QStringLiteral("RigheRicevute")), 3);
    ArchiveBackup::Verify(target);
}

TEST_F(ArchiveBackupTest, OneCopyADayAndTheLastThirtyKept)
{
    const QString folder = ArchiveBackup::Folder(archive.Path());
    for (int k = 1; k <= 35; ++k)
        WriteFile(ArchiveBackup::DailyPath(archive.Path(), kToday.addDays(-k)), "vecchia copia");
    WriteFile(folder + QStringLiteral("/Mensora prima del ripristino 2025-01-01 10.00.00.mdb"), "tenuta");
    WriteFile(folder + QStringLiteral("/appunti.txt"), "del titolare");

    EXPECT_EQ(ArchiveBackup::TakeDaily(archive.Path(), kToday), ArchiveBackup::Outcome::Written);
    const QList<ArchiveBackup::BackupFile> kept = ArchiveBackup::List(archive.Path());
    ASSERT_EQ(kept.size(), 30);
    EXPECT_EQ(kept.first().date, kToday);
    EXPECT_EQ(kept.last().date, kToday.addDays(-29));
    EXPECT_GT(kept.first().size, 4096);
    EXPECT_EQ(QFileInfo(kept.first().path).fileName(), QStringLiteral("Mensora 2025-11-20.mdb"));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/Mensora prima del ripristino 2025-01-01 10.00.00.mdb")));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/appunti.txt")));

    // Closing again the same day takes no second copy.
    const QByteArray first = FileDigest(kept.first().path);
    archive.AddReceipt(QStringLiteral("Preconto"), QDateTime(kToday, QTime(20, 0)), QStringLiteral("Cliente generico"), {});
    EXPECT_EQ(ArchiveBackup::TakeDaily(archive.Path(), kToday), ArchiveBackup::Outcome::AlreadyTaken);
    EXPECT_EQ(FileDigest(kept.first().path), first);

    // A stopped copy leaves nothing behind.
    EXPECT_EQ(ArchiveBackup::TakeDaily(archive.Path(), kToday.addDays(1), [](qint64, qint64) { return false; }),
              ArchiveBackup::Outcome::Stopped);
    EXPECT_EQ(QDir(folder).entryList(QDir::Files).size(), 32);
}

TEST_F(ArchiveBackupTest, RestoreBringsBackExactlyTheCopiedDataAndKeepsTheArchiveAside)
{
    ArchiveBackup::TakeDaily(archive.Path(), kToday.addDays(-2));
    const QStringList copied = archive.Dump();
    archive.AddReceipt(QStringLiteral("Fattura"), QDateTime(kToday, QTime(21, 0)),
                       archive.AddCustomer(QStringLiteral("Bar Sport"), QStringLiteral("Lugo")), {{cover, 1}});
    archive.Exec(QStringLiteral("UPDATE Menu SET Prezzo = 25000"));
    ArchiveBackup::TakeDaily(archive.Path(), kToday.addDays(-1));
    archive.Exec(QStringLiteral("DELETE FROM TipiPagamento WHERE Descrizione = 'Altro'"));
    const QStringList replaced = archive.Dump();

    Holder holder(archive);
    AnswerRestoreWindow(1);
    dialogs.AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::Ok);
    EXPECT_TRUE(RestoreArchive(archive.Path(), holder, nullptr));
    ASSERT_EQ(dialogs.Calls().size(), 3u);
    EXPECT_EQ(dialogs.Calls()[0].window, QStringLiteral("frmRestore"));
    EXPECT_EQ(dialogs.Calls()[1].text, QStringLiteral("L'archivio corrente sarà sostituito dalla copia del 18/11/2025.\r\r"
                                                      "Una copia dell'archivio corrente resterà nella cartella Backup.\r\r"
                                                      "Continuare ?"));
    EXPECT_EQ(dialogs.Calls()[1].icon, MsgIcon::Exclamation);
    EXPECT_EQ(dialogs.Calls()[1].defaultButton, MsgDefault::Button2);
    EXPECT_TRUE(dialogs.Calls()[2].text.startsWith(QStringLiteral("Archivio ripristinato dalla copia del 18/11/2025.")));
    EXPECT_EQ(holder.closed, 1);
    EXPECT_EQ(holder.reopened, 1);
    EXPECT_EQ(archive.Dump(), copied);

    // The archive that was replaced is kept, whole.
    const QStringList aside = QDir(ArchiveBackup::Folder(archive.Path()))
                                  .entryList({QStringLiteral("Mensora prima del ripristino *.mdb")}, QDir::Files);
    ASSERT_EQ(aside.size(), 1);
    EXPECT_EQ(MaintenanceArchive::DumpOf(ArchiveBackup::Folder(archive.Path()) + u'/' + aside.first()), replaced);
    EXPECT_EQ(ArchiveBackup::List(archive.Path()).size(), 2) << "the kept archive is no daily copy";

    // The restored archive works as any other.
    archive.AddReceipt(QStringLiteral("Fattura"), QDateTime(kToday, QTime(22, 0)), QStringLiteral("Cliente generico"), {});
    EXPECT_EQ(archive.Count(QStringLiteral("Ricevute")), 2);
}

TEST_F(ArchiveBackupTest, ADamagedCopyOrNoCopyLeavesTheArchiveAlone)
{
    Holder holder(archive);
    dialogs.AnswerMessage(MsgResult::Ok);
    EXPECT_FALSE(RestoreArchive(archive.Path(), holder, nullptr));
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    EXPECT_TRUE(dialogs.Calls()[0].text.startsWith(QStringLiteral("Non ci sono copie di sicurezza dell'archivio nella cartella")));

    WriteFile(ArchiveBackup::DailyPath(archive.Path(), kToday), QByteArray(8192, 'x'));
    const QStringList before = archive.Dump();
    AnswerRestoreWindow(0);
    dialogs.AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::Ok);
    EXPECT_FALSE(RestoreArchive(archive.Path(), holder, nullptr));
    ASSERT_EQ(dialogs.Calls().size(), 4u);
    EXPECT_EQ(dialogs.Calls()[3].text, QStringLiteral("La copia del 20/11/2025 è danneggiata o non è un archivio: "
                                                      "l'archivio corrente non è stato modificato."));
    EXPECT_EQ(holder.closed, 0);
    EXPECT_EQ(archive.Dump(), before);

    // Leaving the list changes nothing either.
    dialogs.AnswerWindow([](QDialog& window) {
        window.show();
        QTest::keyClick(&window, Qt::Key_Escape);
        return window.result();
    });
    EXPECT_FALSE(RestoreArchive(archive.Path(), holder, nullptr));
    EXPECT_EQ(holder.closed, 0);
}

TEST(RestoreWindow, ListsDateAndSizeNewestFirst)
{
    const QList<ArchiveBackup::BackupFile> files{{QStringLiteral("/a/Mensora 2025-11-20.mdb"), QDate(2025, 11, 20), 734003200, {}},
                                                 {QStringLiteral("/a/Mensora 2025-11-19.mdb"), QDate(2025, 11, 19), 40960, {}}};
    frmRestore window(files);
    ASSERT_EQ(window.List()->topLevelItemCount(), 2);
    EXPECT_EQ(window.List()->topLevelItem(0)->text(0), QStringLiteral("giovedì 20 novembre 2025"));
    EXPECT_EQ(window.List()->topLevelItem(0)->text(1), QStringLiteral("700,0 MB"));
    EXPECT_EQ(window.List()->topLevelItem(1)->text(1), QStringLiteral("40 KB"));
    EXPECT_EQ(window.List()->currentItem(), window.List()->topLevelItem(0));
    EXPECT_EQ(window.Chosen(), nullptr) << "nothing is chosen before OK";
}

} // namespace
