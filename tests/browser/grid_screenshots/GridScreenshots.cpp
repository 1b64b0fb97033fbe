// Saves pictures of the grid tools into docs/screenshots/ of the source tree,
// on a generated archive: the customers filtered by town, the search dialog,
// the related-items menu of a receipt, the preview of the receipt list and
// the first and last page of that list as printed (PDF turned into PNG by
// pdftoppm).

#include "ArchiveGenerator.h"
#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/ArchiveSession.h"
#include "app/SettingsStore.h"
#include "app/frmMessage.h"
#include "browser/DateSelection.h"
#include "browser/MainMenus.h"
#include "browser/PeriodSelection.h"
#include "browser/ReportPrinting.h"
#include "browser/SectionTree.h"
#include "browser/frmMain.h"
#include "browser/frmReportPreview.h"
#include "browser/frmSearchText.h"
#include "component/DataObject.h"
#include "component/widgets/QtDialogService.h"
#include "support/ScreenshotSaver.h"

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QProcess>
#include <QPushButton>
#include <QStandardPaths>
#include <QTableView>
#include <QTemporaryDir>

#include <cstdio>

namespace {

// Answers the windows the commands open, as a user would, and takes their
// pictures on the way.
class Answers : public QtDialogService
{
public:
    explicit Answers(ScreenshotSaver& saver) : m_saver(saver) {}

    // The text the next column-value dialog gets, and whether to keep a picture of it.
    QString text;
    bool contains = false;
    QString picture;

    int ExecModal(QDialog& window) override
    {
        if (auto* search = qobject_cast<frmSearchText*>(&window)) {
            search->txtSearch->setText(text);
            search->chkInternal->setChecked(contains);
            if (!picture.isEmpty()) {
                m_saver.Save(*search, picture);
                picture.clear();
            }
            search->cmdOk->click();
            return search->result();
        }
        if (auto* preview = qobject_cast<frmReportPreview*>(&window)) {
            preview->resize(760, 900);
            preview->GoToPage(0);
            m_saver.Save(*preview, QStringLiteral("report-preview"));
            preview->reject();
            return preview->result();
        }
        return QtDialogService::ExecModal(window);
    }

private:
    ScreenshotSaver& m_saver;
};

// The main window with a pop-up menu drawn where it opened.
void SaveWithMenu(frmMain& main, QMenu& menu, const QString& name)
{
    ScreenshotSaver::Settle();
    QPixmap shot = main.grab();
    const QPixmap popup = menu.grab();
    {
        QPainter painter(&shot);
        painter.drawPixmap(main.mapFromGlobal(menu.pos()), popup);
    }
    const QString path = QStringLiteral(MENSORA_SOURCE_DIR "/docs/screenshots/") + name + QStringLiteral(".png");
    if (!shot.save(path))
        std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

bool PdfPages(const QString& pdf, int page, const QString& name)
{
    const QString prefix = QDir::temp().filePath(QStringLiteral("mensora-report-page"));
    QProcess tool;
    tool.start(QStringLiteral("pdftoppm"), {QStringLiteral("-png"), QStringLiteral("-r"), QStringLiteral("60"),
                                            QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
                                            QString::number(page), QStringLiteral("-singlefile"), pdf, prefix});
    if (!tool.waitForFinished(30000) || tool.exitCode() != 0) {
        std::fprintf(stderr, "pdftoppm failed (poppler-utils)\n");
        return false;
    }
    const QString target = QStringLiteral(MENSORA_SOURCE_DIR "/docs/screenshots/") + name + QStringLiteral(".png");
    QFile::remove(target);
    return QFile::rename(prefix + QStringLiteral(".png"), target);
}

} // namespace

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MensoraScreenshots"));
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    ScreenshotSaver saver(QStringLiteral(MENSORA_SOURCE_DIR "/docs/screenshots"), QString());
    Answers answers(saver);
    ScopedDialogService useDialogs(answers);

    QTemporaryDir work;
    ScopedSettingsFile store(work.filePath(QStringLiteral("Mensora.ini")));
    AppPaths::ScopedGridLayoutFile layouts(work.filePath(QStringLiteral("layout.INI")));
    Settings() = DefaultSettings();
    Settings().RootDir = work.path();
    GeneratorOptions options;
    options.receipts = 3000;
    options.customers = 150;
    options.years = 1;
    GenerateArchive(work.filePath(QStringLiteral("Mensora.mdb")), options);
    bool ok = true;
    {
        frmMain main;
        main.resize(1000, 620);
        main.show();
        main.Activate();
        CurrentDateSelection().SelectAll();
        QTreeWidget& tree = *main.TreeView();

        // Customers of the towns holding "na", by name.
        tree.setCurrentItem(NodeWithKey(tree, QStringLiteral("Clienti")));
        main.GridView()->resizeColumnsToContents();
        main.Action(QStringLiteral("mnuOrderItems(1)"))->trigger();
        answers.text = QStringLiteral("na");
        answers.contains = true;
        for (QAction* element : main.Menus().ArrayElements(QStringLiteral("mnuFilterItems")))
            if (element->data().toString() == QLatin1String("Comune"))
                element->trigger();
        saver.Save(main, QStringLiteral("grid-filtered"));

        // The search dialog on the customers' name.
        answers.text = QStringLiteral("Ross");
        answers.contains = false;
        answers.picture = QStringLiteral("grid-search");
        main.Action(QStringLiteral("mnuSearchItems(1)"))->trigger();

        // A receipt's related items.
        tree.setCurrentItem(NodeWithKey(tree, QStringLiteral("Ricevute")));
        main.GridView()->resizeColumnsToContents();
        main.GridView()->selectRow(3);
        QMenu* related = main.Menu(QStringLiteral("mnuAssociation"));
        const QRect row = main.GridView()->visualRect(main.GridView()->model()->index(3, 1));
        related->popup(main.GridView()->viewport()->mapToGlobal(row.center()));
        SaveWithMenu(main, *related, QStringLiteral("grid-related-menu"));
        related->close();

        // The receipt list: its preview and its pages as printed.
        SelectionDescription() = QStringLiteral("Tutte le Date - Tutti i Tipi di Documento");
        tree.setCurrentItem(NodeWithKey(tree, QStringLiteral("Lista Ricevute")));
        main.Action(QStringLiteral("mnuPreview"))->trigger();
        const auto report = ReportPrinting::MakeReport(main.CurrentDataObject(), drRicevute(), QStringLiteral("Lista Ricevute"));
        const QString pdf = work.filePath(QStringLiteral("Lista Ricevute.pdf"));
        ok = ReportPrinting::WritePdf(*report, pdf, nullptr);
        ok = ok && PdfPages(pdf, 1, QStringLiteral("report-ricevute-1"));
        ok = ok && PdfPages(pdf, report->PageCount(), QStringLiteral("report-ricevute-last"));
        tree.setCurrentItem(NodeWithKey(tree, QStringLiteral("Lista Clienti")));
        const auto customers = ReportPrinting::MakeReport(main.CurrentDataObject(), drClienti(), QStringLiteral("Lista Clienti"));
        const QString customersPdf = work.filePath(QStringLiteral("Clienti.pdf"));
        ok = ok && ReportPrinting::WritePdf(*customers, customersPdf, nullptr);
        ok = ok && PdfPages(customersPdf, 1, QStringLiteral("report-clienti-1"));
        main.Unload();
    }
    ArchiveSession::Instance().ReleaseDatabase();
    DestroyMessageWindow();
    return ok && !saver.Failed() ? 0 : 1;
}
