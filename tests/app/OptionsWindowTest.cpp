// The options window and the directory chooser: what is asked, what is
// stored and saved, and when the archive is released.

#include "app/AppSettings.h"
#include "app/ArchiveSession.h"
#include "app/SettingsStore.h"
#include "app/frmOptions.h"
#include "app/frmSelectDir.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"

#include <QDir>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QToolButton>
#include <QTreeView>
#include <gtest/gtest.h>

namespace {

class OptionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Settings().RootDir = m_work.path();
        Settings().RestaurantName = QStringLiteral("Da Mario");
        Settings().PrintTop = QStringLiteral("0");
        Settings().PrintLeft = QStringLiteral("0");
    }
    void TearDown() override { Settings() = m_saved; }

    // A fresh window over the current settings.
    std::unique_ptr<frmOptions> Open()
    {
        return std::make_unique<frmOptions>(nullptr, [this] { ++m_released; });
    }
    static QLineEdit* Box(QWidget& w, const char* name) { return w.findChild<QLineEdit*>(QLatin1String(name)); }
    static void Click(QWidget& w, const char* name) { w.findChild<QAbstractButton*>(QLatin1String(name))->click(); }
    QString Stored(const QString& key) const
    {
        return QSettings(m_ini, QSettings::IniFormat).value(key).toString();
    }

    QTemporaryDir m_work;
    QTemporaryDir m_other;
    QTemporaryDir m_storeDir;
    QString m_ini = m_storeDir.filePath(QStringLiteral("Mensora.ini"));
    ScopedSettingsFile m_store{m_ini};
    AppSettings m_saved = Settings();
    int m_released = 0;
    ScriptedDialogs m_dialogs;
    ScopedDialogService m_use{m_dialogs};
};

} // namespace

TEST_F(OptionsTest, ShowsTheSettingsAndConfirmsUnchangedOnesWithoutAsking)
{
    auto w = Open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Impostazioni"));
    EXPECT_EQ(Box(*w, "txtWorkDir")->text(), m_work.path());
    EXPECT_EQ(Box(*w, "txtRestaurantName")->text(), QStringLiteral("Da Mario"));
    EXPECT_FALSE(w->Confirmed());

    Box(*w, "txtPrintTop")->setText(QStringLiteral("12,5"));
    Click(*w, "cmdOk");
    EXPECT_TRUE(m_dialogs.Calls().empty());
    EXPECT_TRUE(w->Confirmed());
    EXPECT_EQ(w->result(), QDialog::Accepted);
    EXPECT_EQ(m_released, 0) << "an unchanged directory keeps the archive open";
    EXPECT_EQ(Settings().PrintTop, QStringLiteral("12,5"));
    EXPECT_EQ(Stored(QStringLiteral("PrintParam/PrintTop")), QStringLiteral("12,5"));
    EXPECT_EQ(Stored(QStringLiteral("Configuration/RootDir")), m_work.path());
}

TEST_F(OptionsTest, ANewDirectoryIsAskedThenStoredAndTheArchiveReleased)
{
    auto w = Open();
    Box(*w, "txtWorkDir")->setText(m_other.path());
    m_dialogs.AnswerMessage(MsgResult::Yes);
    Click(*w, "cmdOk");
    ASSERT_EQ(m_dialogs.Calls().size(), 1u);
    const DialogCall& question = m_dialogs.LastCall();
    EXPECT_EQ(question.text, QStringLiteral("L'indirizzario di lavoro e' cambiato.\r\rConfermi ?"));
    EXPECT_EQ(question.buttons, MsgButtons::YesNo);
    EXPECT_EQ(question.icon, MsgIcon::Question);
    EXPECT_EQ(m_released, 1);
    EXPECT_EQ(Settings().RootDir, m_other.path());
    EXPECT_EQ(Stored(QStringLiteral("Configuration/RootDir")), m_other.path());
    EXPECT_TRUE(w->Confirmed());
}

TEST_F(OptionsTest, NoLeavesTheWindowOpenAndNothingSaved)
{
    auto w = Open();
    Box(*w, "txtWorkDir")->setText(m_other.path());
    m_dialogs.AnswerMessage(MsgResult::No);
    Click(*w, "cmdOk");
    EXPECT_FALSE(w->Confirmed());
    EXPECT_EQ(w->result(), 0);
    EXPECT_EQ(m_released, 0);
    EXPECT_EQ(Settings().RootDir, m_work.path());
    EXPECT_FALSE(QFile::exists(m_ini));

    // Directory accepted, name refused: the directory stays changed in
    // memory, unsaved, and the archive released.
    Box(*w, "txtRestaurantName")->setText(QStringLiteral("Da Luigi"));
    m_dialogs.AnswerMessage(MsgResult::Yes).AnswerMessage(MsgResult::No);
    Click(*w, "cmdOk");
    EXPECT_EQ(m_dialogs.LastCall().text, QStringLiteral("Il nome del ristorante e' cambiato.\r\rConfermi ?"));
    EXPECT_EQ(m_released, 1);
    EXPECT_EQ(Settings().RootDir, m_other.path());
    EXPECT_EQ(Settings().RestaurantName, QStringLiteral("Da Mario"));
    EXPECT_FALSE(QFile::exists(m_ini));
    EXPECT_FALSE(w->Confirmed());
}

TEST_F(OptionsTest, LetterCaseAloneIsNeitherAskedNorStored)
{
    auto w = Open();
    Box(*w, "txtWorkDir")->setText(m_work.path().toUpper());
    Box(*w, "txtRestaurantName")->setText(QStringLiteral("DA MARIO"));
    Click(*w, "cmdOk");
    EXPECT_TRUE(m_dialogs.Calls().empty());
    EXPECT_EQ(m_released, 0);
    EXPECT_EQ(Settings().RootDir, m_work.path());
    EXPECT_EQ(Settings().RestaurantName, QStringLiteral("Da Mario"));
    EXPECT_TRUE(w->Confirmed());

    // Two folders that differ only in case on a case-sensitive disk are two
    // places: that change counts.
    ASSERT_TRUE(QDir(m_other.path()).mkdir(QStringLiteral("dati")));
    ASSERT_TRUE(QDir(m_other.path()).mkdir(QStringLiteral("DATI")));
    EXPECT_TRUE(frmOptions::DirectoryChanged(m_other.filePath(QStringLiteral("dati")), m_other.filePath(QStringLiteral("DATI"))));
    EXPECT_FALSE(frmOptions::DirectoryChanged(m_other.filePath(QStringLiteral("dati")), m_other.filePath(QStringLiteral("Dati"))));
}

TEST_F(OptionsTest, EsciSavesNothingAndAMissingDirectoryIsRefused)
{
    auto w = Open();
    Box(*w, "txtWorkDir")->setText(m_other.filePath(QStringLiteral("manca")));
    m_dialogs.AnswerMessage(MsgResult::Ok);
    Click(*w, "cmdOk");
    EXPECT_EQ(m_dialogs.LastCall().text, QStringLiteral("L'indirizzario di lavoro non esiste.\r\r")
                                             + QDir::toNativeSeparators(m_other.filePath(QStringLiteral("manca"))));
    EXPECT_EQ(m_dialogs.LastCall().icon, MsgIcon::Exclamation);
    EXPECT_FALSE(w->Confirmed());

    Box(*w, "txtRestaurantName")->setText(QStringLiteral("Altro"));
    Click(*w, "cmdCancel");
    EXPECT_EQ(w->result(), QDialog::Rejected);
    EXPECT_FALSE(w->Confirmed());
    EXPECT_EQ(Settings().RestaurantName, QStringLiteral("Da Mario"));
    EXPECT_FALSE(QFile::exists(m_ini));
}

TEST_F(OptionsTest, AFailedSaveIsReportedAndTheWindowStays)
{
    const QString blocker = m_storeDir.filePath(QStringLiteral("file"));
    QFile(blocker).open(QIODevice::WriteOnly);
    ScopedSettingsFile unwritable(blocker + QStringLiteral("/Mensora.ini"));
    auto w = Open();
    m_dialogs.AnswerMessage(MsgResult::Ok);
    Click(*w, "cmdOk");
    EXPECT_TRUE(m_dialogs.LastCall().text.startsWith(QStringLiteral("Salvataggio delle impostazioni fallito: \r\r")));
    EXPECT_EQ(m_dialogs.LastCall().icon, MsgIcon::Critical);
    EXPECT_FALSE(w->Confirmed());
}

TEST_F(OptionsTest, TheChooserFillsTheWorkingDirectoryUnlessLeftWithEsci)
{
    auto w = Open();
    m_dialogs.AnswerWindow([this](QDialog& d) {
        auto& chooser = dynamic_cast<frmSelectDir&>(d);
        EXPECT_EQ(chooser.windowTitle(), QStringLiteral("Selezione indirizzario"));
        EXPECT_EQ(chooser.ShownDirectory(), m_work.path());
        EXPECT_TRUE(chooser.DisksChosen());
        auto* tree = chooser.findChild<QTreeView*>(QStringLiteral("dirSelect"));
        tree->setCurrentIndex(static_cast<QFileSystemModel*>(tree->model())->index(m_other.path()));
        chooser.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
        return chooser.result();
    });
    Click(*w, "cmdSelWorkDir");
    EXPECT_EQ(Box(*w, "txtWorkDir")->text(), QDir::toNativeSeparators(m_other.path()));

    m_dialogs.AnswerWindow([](QDialog& d) {
        d.findChild<QPushButton*>(QStringLiteral("cmdCancel"))->click();
        return d.result();
    });
    Click(*w, "cmdSelWorkDir");
    EXPECT_EQ(Box(*w, "txtWorkDir")->text(), QDir::toNativeSeparators(m_other.path()));
}

TEST_F(OptionsTest, ChooserOptionsAndOtherLocations)
{
    frmSelectDir chooser;
    const auto options = chooser.findChildren<QRadioButton*>(QStringLiteral("optResource"));
    ASSERT_EQ(options.size(), 2);
    EXPECT_EQ(options[0]->text(), QStringLiteral("Dischi"));
    EXPECT_EQ(options[0]->toolTip(), QStringLiteral("Seleziona uno dei dischi disponibili"));
    EXPECT_EQ(options[1]->text(), QStringLiteral("Altra locazione"));
    EXPECT_EQ(options[1]->toolTip(), QStringLiteral("Seleziona una qualsiasi risorsa disponibile"));
    auto* resource = chooser.findChild<QPushButton*>(QStringLiteral("cmdSelectResource"));
    EXPECT_EQ(resource->text(), QStringLiteral("&Selezione Risorsa"));
    EXPECT_EQ(resource->toolTip(), QStringLiteral("Attiva la selezione della risorsa"));

    chooser.SetDirectory(m_work.filePath(QStringLiteral("non/esiste")));
    EXPECT_FALSE(chooser.DisksChosen());
    EXPECT_TRUE(options[1]->font().bold());
    EXPECT_FALSE(options[0]->font().bold());
    EXPECT_TRUE(resource->isEnabled());

    const QString picked = m_other.filePath(QStringLiteral("archivio.mdb"));
    m_dialogs.AnswerOpenFile(picked);
    resource->click();
    EXPECT_EQ(m_dialogs.LastCall().fileName, QStringLiteral("*.*"));
    EXPECT_EQ(m_dialogs.LastCall().filter, QStringLiteral("tutti i files|*.*"));
    EXPECT_EQ(chooser.ShownDirectory(), m_other.path());
    m_dialogs.AnswerOpenFile(std::nullopt);
    resource->click();
    EXPECT_EQ(chooser.ShownDirectory(), m_other.path());

    options[0]->click();
    EXPECT_TRUE(chooser.DisksChosen());
    EXPECT_FALSE(resource->isEnabled());

    chooser.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    EXPECT_EQ(chooser.Directory(), QDir::toNativeSeparators(m_other.path()));

    EXPECT_EQ(frmSelectDir::FolderOfPath(QStringLiteral("C:\\Dati\\a.mdb")), QStringLiteral("C:\\Dati"));
    EXPECT_EQ(frmSelectDir::FolderOfPath(QStringLiteral("/srv/dati/a.mdb")), QStringLiteral("/srv/dati"));
    EXPECT_EQ(frmSelectDir::WithoutTrailingSeparator(QStringLiteral("/srv/dati/")), QStringLiteral("/srv/dati"));
    EXPECT_EQ(frmSelectDir::WithoutTrailingSeparator(QStringLiteral("/")), QStringLiteral("/"));
}

TEST_F(OptionsTest, TheNextOpeningUsesTheNewDirectory)
{
    struct Host : ArchiveSessionHost
    {
        void ShowMessage(const QString&) override {}
        void CloseMessage() override {}
        bool ShowOptions() override { return true; }
        itfNotifyEvent* NotifySink() override { return nullptr; }
    } host;
    auto& session = ArchiveSession::Instance();
    ASSERT_EQ(session.InitializeDatabase(host), ArchiveSession::Outcome::Opened);

    frmOptions w(nullptr, [&session] { session.ReleaseDatabase(); });
    w.findChild<QLineEdit*>(QStringLiteral("txtWorkDir"))->setText(m_other.path());
    m_dialogs.AnswerMessage(MsgResult::Yes);
    w.findChild<QPushButton*>(QStringLiteral("cmdOk"))->click();
    EXPECT_FALSE(session.HasReferences());
    ASSERT_EQ(session.InitializeDatabase(host), ArchiveSession::Outcome::Opened);
    EXPECT_TRUE(QFile::exists(QDir(m_other.path()).filePath(QStringLiteral("Mensora.mdb"))));
    session.ReleaseDatabase();
}

TEST_F(OptionsTest, FilledAndConfirmedWithTheKeyboard)
{
    auto w = Open();
    ASSERT_TRUE(UserInput::BringToFront(*w));
    UserInput::Click(*Box(*w, "txtRestaurantName"));
    UserInput::PressKey(Qt::Key_A, Qt::ControlModifier);
    UserInput::TypeText(QStringLiteral("Trattoria dell'Oste è"));
    UserInput::Click(*Box(*w, "txtPrintTop"));
    UserInput::PressKey(Qt::Key_A, Qt::ControlModifier);
    UserInput::TypeText(QStringLiteral("7,5"));
    m_dialogs.AnswerMessage(MsgResult::Yes);
    UserInput::PressKey(Qt::Key_Return);
    EXPECT_EQ(m_dialogs.LastCall().text, QStringLiteral("Il nome del ristorante e' cambiato.\r\rConfermi ?"));
    EXPECT_TRUE(w->Confirmed()) << "Enter is OK";
    EXPECT_EQ(Settings().RestaurantName, QStringLiteral("Trattoria dell'Oste è"));
    EXPECT_EQ(Settings().PrintTop, QStringLiteral("7,5"));

    // Escape leaves it as "Esci" does.
    auto again = Open();
    ASSERT_TRUE(UserInput::BringToFront(*again));
    UserInput::PressKey(Qt::Key_Escape);
    EXPECT_FALSE(again->Confirmed());
    EXPECT_EQ(again->result(), QDialog::Rejected);
}
