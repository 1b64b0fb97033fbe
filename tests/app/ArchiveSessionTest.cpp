// Opening and releasing the archive: first run through the options, the
// failure report, and a working directory given with or without a separator.

#include "app/AppSettings.h"
#include "app/ArchiveSession.h"
#include "component/CurrencyObject.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/Sqlite.h"
#include "component/DatabaseObject.h"
#include "component/Table.h"
#include "support/ScriptedDialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class FakeHost : public ArchiveSessionHost
{
public:
    void ShowMessage(const QString& text) override { messages.append(text); ++open; }
    void CloseMessage() override { --open; }
    bool ShowOptions() override
    {
        ++optionsShown;
        if (!newRootDir.isEmpty())
            Settings().RootDir = newRootDir;
        return confirmOptions;
    }
    itfNotifyEvent* NotifySink() override { return nullptr; }

    QStringList messages;
    int open = 0;
    int optionsShown = 0;
    bool confirmOptions = true;
    QString newRootDir;
};

class Session : public ::testing::Test
{
protected:
    void SetUp() override { Settings().RootDir = dir.path(); }
    void TearDown() override { ArchiveSession::Instance().ReleaseDatabase(); }
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    ScopedDialogService useDialogs{dialogs};
    FakeHost host;
};

TEST_F(Session, FirstRunAsksTheOptionsThenCreatesAnArchiveWithItsDefaultRows)
{
    auto& session = ArchiveSession::Instance();
    EXPECT_EQ(session.InitializeDatabase(host), ArchiveSession::Outcome::Opened);
    EXPECT_EQ(host.optionsShown, 1);
    EXPECT_EQ(host.messages, QStringList{QStringLiteral("Inizializzazione del database...")});
    EXPECT_EQ(host.open, 0) << "the message window is closed on every path";
    ASSERT_TRUE(session.IsDatabaseReady());
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("Mensora.mdb"))));
    EXPECT_EQ(session.Database()->ConversionCurrency()->Name(-1), QStringLiteral("Lire"));
    auto menu = session.Database()->Tables().Item(QStringLiteral("Menu")).OpenDataObject(session.Engine());
    EXPECT_EQ(menu->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Coperto"));

    // Released and opened again: no options this time, the same archive.
    session.ReleaseDatabase();
    EXPECT_FALSE(session.HasReferences());
    Settings().RootDir = dir.path() + QStringLiteral("/");
    EXPECT_EQ(session.InitializeDatabase(host), ArchiveSession::Outcome::Opened);
    EXPECT_EQ(host.optionsShown, 1);
}

TEST_F(Session, OptionsLeftWithoutConfirmingEndTheProcessAndCreateNothing)
{
    host.confirmOptions = false;
    EXPECT_EQ(ArchiveSession::Instance().InitializeDatabase(host), ArchiveSession::Outcome::EndProcess);
    EXPECT_FALSE(QFile::exists(dir.filePath(QStringLiteral("Mensora.mdb"))));
    EXPECT_FALSE(ArchiveSession::Instance().HasReferences());
}

TEST_F(Session, ADirectoryChosenInTheOptionsIsWhereTheArchiveGoes)
{
    QDir(dir.path()).mkdir(QStringLiteral("altrove"));
    host.newRootDir = dir.filePath(QStringLiteral("altrove"));
    EXPECT_EQ(ArchiveSession::Instance().InitializeDatabase(host), ArchiveSession::Outcome::Opened);
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("altrove/Mensora.mdb"))));
}

TEST_F(Session, AnEmptyFileBecomesANewArchive)
{
    // A file made by hand, or a copy that failed: nothing to lose in it.
    QFile empty(dir.filePath(QStringLiteral("Mensora.mdb")));
    ASSERT_TRUE(empty.open(QIODevice::WriteOnly));
    empty.close();
    auto& session = ArchiveSession::Instance();
    EXPECT_EQ(session.InitializeDatabase(host), ArchiveSession::Outcome::Opened);
    EXPECT_TRUE(dialogs.Calls().empty());
    EXPECT_EQ(host.optionsShown, 0) << "the working directory has its file";
    ASSERT_TRUE(session.IsDatabaseReady());
    auto courses = session.Database()->Tables().Item(QStringLiteral("Portate")).OpenDataObject(session.Engine());
    EXPECT_EQ(courses->RecordCount(), 4) << "the creation rows";
    EXPECT_GT(QFileInfo(empty.fileName()).size(), 0);
    Statement journal(session.Engine()->Db(), QStringLiteral("PRAGMA journal_mode"));
    ASSERT_TRUE(journal.Step());
    EXPECT_EQ(journal.Column(0).toString(), QStringLiteral("wal")) << "kept safe as a new archive is";

    // Opened again as the archive it now is.
    session.ReleaseDatabase();
    EXPECT_EQ(session.InitializeDatabase(host), ArchiveSession::Outcome::Opened);
    courses = session.Database()->Tables().Item(QStringLiteral("Portate")).OpenDataObject(session.Engine());
    EXPECT_EQ(courses->RecordCount(), 4);
}

TEST_F(Session, FailureIsReportedAndTheApplicationGoesOn)
{
    QFile bad(dir.filePath(QStringLiteral("Mensora.mdb")));
    ASSERT_TRUE(bad.open(QIODevice::WriteOnly));
    bad.write(QByteArray(2048, 'z'));
    bad.close();
    dialogs.AnswerMessage(MsgResult::Ok);
    EXPECT_EQ(ArchiveSession::Instance().InitializeDatabase(host), ArchiveSession::Outcome::Failed);
    ASSERT_EQ(dialogs.Calls().size(), 1u);
    const DialogCall& call = dialogs.Calls().front();
    // What happened and what to do, in Italian.
    EXPECT_EQ(call.text, QStringLiteral("Inizializzazione database fallita: \r\rIl file non è un archivio valido o è "
                                        "danneggiato. Ripristinare una copia di sicurezza dell'archivio, oppure "
                                        "scegliere un'altra cartella di lavoro."));
    EXPECT_EQ(call.icon, MsgIcon::Critical);
    EXPECT_EQ(call.buttons, MsgButtons::Ok);
    EXPECT_EQ(host.open, 0);
    // References set before the error stay set: a later activation does not retry.
    EXPECT_TRUE(ArchiveSession::Instance().HasReferences());
    EXPECT_FALSE(ArchiveSession::Instance().IsDatabaseReady());
}

} // namespace
