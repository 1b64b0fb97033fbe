// The export dialog (format, file, replacing, errors, a stop) and the data
// window, driven offscreen.
#include "EngineDialogsArchive.h"
#include "EngineWindowHelpers.h"

#include "component/DataExport.h"
#include "component/RelatedItems.h"
#include "component/widgets/DataViewWindow.h"
#include "component/widgets/ExportWindow.h"
#include "support/ScriptedDialogs.h"
#include "support/UserInput.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QTemporaryDir>
#include <QTimer>
#include <QTableView>

using DialogTest::Child;
using DialogTest::Press;

namespace {

class StopAfterStart : public itfProgress
{
public:
    bool OnProgress(int, qint64, qint64) override { return false; }
    bool OnStopped() override { return true; }
    void OnStart(int, qint64) override { ++starts; }
    void OnEnd(int, qint64) override { ++ends; }
    int starts = 0;
    int ends = 0;
};

QString Contents(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

} // namespace

TEST(ExportWindow, ChoosesFormatAndFileThenExports)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto dishes = archive.Open(QStringLiteral("Piatti"));
    ExportWindow window(dishes, nullptr);
    EXPECT_EQ(window.objectName(), QStringLiteral("frmExport"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Esportazione dati"));
    EXPECT_EQ(Child<QLabel>(window, QStringLiteral("lblData"))->text(), QStringLiteral("Piatti del giorno"));
    auto* file = Child<QLineEdit>(window, QStringLiteral("txtFile"));
    EXPECT_TRUE(file->text().endsWith(QStringLiteral("Piatti.csv")));
    EXPECT_EQ(window.Format(), DataExport::Csv);

    auto* format = Child<QComboBox>(window, QStringLiteral("cboFormat"));
    format->setCurrentIndex(1);
    EXPECT_EQ(window.Format(), DataExport::Html);
    EXPECT_TRUE(file->text().endsWith(QStringLiteral("Piatti.htm")));

    const QString path = archive.Path(QStringLiteral("piatti.htm"));
    dialogs.AnswerSaveFile(path);
    Press(window, QStringLiteral("cmdBrowse"));
    EXPECT_EQ(dialogs.LastCall().title, QStringLiteral("Esporta in"));
    EXPECT_EQ(dialogs.LastCall().filter, QStringLiteral("Pagina HTML|*.htm;*.html"));
    EXPECT_EQ(dialogs.LastCall().fileName, QStringLiteral("Piatti.htm"));
    EXPECT_EQ(QDir::fromNativeSeparators(file->text()), path);

    Press(window, QStringLiteral("cmdExport"));
    EXPECT_EQ(window.result(), QDialog::Accepted);
    EXPECT_TRUE(window.Exported());
    EXPECT_TRUE(Contents(path).contains(QStringLiteral("<td>Lasagne</td>")));
}

TEST(ExportWindow, AsksBeforeReplacingAndShowsFailures)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto dishes = archive.Open(QStringLiteral("Piatti"));
    const QString path = archive.Path(QStringLiteral("piatti.csv"));
    {
        QFile existing(path);
        ASSERT_TRUE(existing.open(QIODevice::WriteOnly));
        existing.write("vecchio");
    }
    ExportWindow window(dishes, nullptr);
    auto* file = Child<QLineEdit>(window, QStringLiteral("txtFile"));

    file->clear();
    dialogs.AnswerMessage(MsgResult::Ok);
    Press(window, QStringLiteral("cmdExport"));
    EXPECT_EQ(dialogs.LastCall().text, QStringLiteral("Indicare il file in cui esportare i dati."));

    file->setText(path);
    dialogs.AnswerMessage(MsgResult::No);
    Press(window, QStringLiteral("cmdExport"));
    EXPECT_EQ(dialogs.LastCall().text,
              QStringLiteral("Il file «%1» esiste già.\rVuoi sostituirlo?").arg(QDir::toNativeSeparators(path)));
    EXPECT_EQ(dialogs.LastCall().defaultButton, MsgDefault::Button2);
    EXPECT_EQ(Contents(path), QStringLiteral("vecchio"));
    EXPECT_NE(window.result(), QDialog::Accepted);

    file->setText(archive.Path(QStringLiteral("manca/piatti.csv")));
    dialogs.AnswerMessage(MsgResult::Ok);
    Press(window, QStringLiteral("cmdExport"));
    EXPECT_TRUE(dialogs.LastCall().text.startsWith(QStringLiteral("Esportazione non riuscita.\r\rImpossibile scrivere il file")));
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Critical);
    EXPECT_FALSE(window.Exported());

    file->setText(path);
    dialogs.AnswerMessage(MsgResult::Yes);
    Press(window, QStringLiteral("cmdExport"));
    EXPECT_TRUE(window.Exported());
    EXPECT_TRUE(Contents(path).contains(QStringLiteral("Lasagne;9,00")));
}

TEST(ExportWindow, ANewAccountWithoutADocumentsFolderCanExportToTheFileProposed)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    QTemporaryDir home;
    const QByteArray oldHome = qgetenv("HOME");
    qputenv("HOME", home.path().toLocal8Bit());
    {
        ExportWindow window(archive.Open(QStringLiteral("Piatti")), nullptr);
        const QString proposed = QDir::fromNativeSeparators(Child<QLineEdit>(window, QStringLiteral("txtFile"))->text());
        EXPECT_EQ(proposed, QDir(home.path()).filePath(QStringLiteral("Piatti.csv"))) << "the home folder, which exists";
        Press(window, QStringLiteral("cmdExport"));
        EXPECT_TRUE(window.Exported());

        ASSERT_TRUE(QDir(home.path()).mkpath(QStringLiteral("Documents")));
        ExportWindow again(archive.Open(QStringLiteral("Piatti")), nullptr);
        EXPECT_EQ(QDir::fromNativeSeparators(Child<QLineEdit>(again, QStringLiteral("txtFile"))->text()),
                  QDir(home.path()).filePath(QStringLiteral("Documents/Piatti.csv")));
    }
    qputenv("HOME", oldHome);
}

TEST(ExportWindow, AStopFromTheProgressWindowClosesWithoutAFile)
{
    DialogTest::Archive archive;
    archive.InsertDishes(150);
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    StopAfterStart progress;
    ExportWindow window(archive.Open(QStringLiteral("Piatti")), &progress);
    const QString path = archive.Path(QStringLiteral("fermato.csv"));
    Child<QLineEdit>(window, QStringLiteral("txtFile"))->setText(path);
    Press(window, QStringLiteral("cmdExport"));
    EXPECT_EQ(window.result(), QDialog::Rejected);
    EXPECT_FALSE(window.Exported());
    EXPECT_FALSE(QFile::exists(path));
    EXPECT_EQ(progress.starts, 1);
    EXPECT_EQ(progress.ends, 1);
}

TEST(DataViewWindow, ShowsTheRecordsWithTheirCount)
{
    DialogTest::Archive archive;
    auto dishes = archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome"));
    DataViewWindow window(dishes, QStringLiteral("Piatti da importare"));
    EXPECT_EQ(window.objectName(), QStringLiteral("frmDataWindow"));
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Piatti da importare"));
    auto* count = Child<QLabel>(window, QStringLiteral("lblCount"));
    EXPECT_EQ(count->text(), QStringLiteral("5 record"));
    EXPECT_EQ(window.Grid()->model()->index(1, 0).data().toString(), QStringLiteral("Panna cotta"));
    dishes->SetFilter(QStringLiteral("Prezzo > 8"));
    EXPECT_EQ(count->text(), QStringLiteral("3 record"));
    archive.InsertDishes(1200);
    dishes->SetFilter(QString());
    EXPECT_EQ(count->text(), QStringLiteral("1.205 record"));
    Press(window, QStringLiteral("cmdClose"));
    EXPECT_EQ(window.result(), QDialog::Rejected);

    DataViewWindow untitled(dishes, QString());
    EXPECT_EQ(untitled.windowTitle(), QStringLiteral("Piatti del giorno"));
}

TEST(DataViewWindow, ARightClickOnARowOpensItsRelatedRecordsAcrossTheChain)
{
    DialogTest::Archive archive;
    ScriptedDialogs dialogs;
    ScopedDialogService use(dialogs);
    auto categories = archive.Open(QStringLiteral("Categorie"), QStringLiteral("Descrizione = 'Primi'"));
    categories->MoveFirst();
    const auto sameCategory = RelatedItems::Resolve(categories, RelatedItem::Group::Container, 1);
    ASSERT_TRUE(sameCategory);
    EXPECT_EQ(sameCategory->item.caption, QStringLiteral("Piatti del giorno con stessa Categoria"));
    auto dishes = RelatedItems::Open(categories, sameCategory->item);
    ASSERT_EQ(dishes->RecordCount(), 2);

    DataViewWindow window(dishes, sameCategory->item.caption);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QStringList shown;
    QTimer::singleShot(0, [&shown] {
        QMenu* menu = UserInput::OpenPopup();
        ASSERT_NE(menu, nullptr);
        for (QAction* entry : menu->actions())
            shown.append(entry->text());
        UserInput::ChoosePopupEntry({"Categorie (Categoria)"});
    });
    dialogs.AnswerDataWindow([](DataObject& category) {
        EXPECT_EQ(category.TableName(), QStringLiteral("Categorie"));
        EXPECT_EQ(category.GetValue(QStringLiteral("Descrizione")).toString(), QStringLiteral("Primi"));
    });
    UserInput::RightClickCell(*window.Grid(), 1, 0);
    // The dishes' own relations, then those of the category they came from.
    EXPECT_EQ(shown, (QStringList{QStringLiteral("< Associati >"), QStringLiteral("Categoria"), QStringLiteral("< Riferimenti >"),
                                  QStringLiteral("Categorie (Categoria)"), QStringLiteral("< Contenitori >"),
                                  QStringLiteral("Piatti del giorno con stessa Categoria"),
                                  QStringLiteral("Righe vendute con stessa Categoria")}));
    EXPECT_EQ(dialogs.LastCall().title, QStringLiteral("Categorie (Categoria)"));

    // The reference to one record opens the record editor on it.
    QTimer::singleShot(0, [] { UserInput::ChoosePopupEntry({"Categoria"}); });
    dialogs.AnswerRecordEditorCancel();
    UserInput::RightClickCell(*window.Grid(), 0, 0);
    EXPECT_EQ(dialogs.LastCall().kind, DialogKind::RecordEditor);
    EXPECT_EQ(dialogs.LastCall().table, QStringLiteral("Categorie"));
}
