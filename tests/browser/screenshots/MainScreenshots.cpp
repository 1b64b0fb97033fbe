// Saves pictures of the main window into docs/screenshots/ of the source
// tree: the "Archivio" page right after start-up, and the menu section open
// in the grid. The argument is the file name suffix ("@2x" for the run at
// 200%).

#include "ArchiveGenerator.h"
#include "app/AppPaths.h"
#include "app/AppSettings.h"
#include "app/ArchiveSession.h"
#include "app/SettingsStore.h"
#include "app/frmMessage.h"
#include "browser/DateSelection.h"
#include "browser/SectionItemPage.h"
#include "browser/SectionTree.h"
#include "browser/frmSetParamStat.h"
#include "browser/frmMain.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Table.h"
#include "component/widgets/QtDialogService.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QLocale>
#include <QPushButton>
#include <QStandardPaths>
#include <QTemporaryDir>

#include "support/ScreenshotSaver.h"

#include <cstdio>

namespace {

ScreenshotSaver* g_saver = nullptr;

void Save(QWidget& window, const QString& name) { g_saver->Save(window, name); }

// A few dishes, so that the menu section shows what a restaurant keeps.
void AddDishes()
{
    const auto& session = ArchiveSession::Instance();
    auto menu = session.Database()->Tables().Item(QStringLiteral("Menu")).OpenDataObject(session.Engine());
    struct Dish { const char* name; const char* description; double price; int order; const char* course; };
    const Dish dishes[] = {
        {"Bruschette", "Bruschette al pomodoro e basilico", 5.5, 10, "ANTIPASTI"},
        {"Tagliere", "Tagliere di salumi e formaggi", 12, 20, "ANTIPASTI"},
        {"Carbonara", "Spaghetti alla carbonara", 11, 30, "PRIMI"},
        {"Amatriciana", "Bucatini all'amatriciana", 10.5, 40, "PRIMI"},
        {"Lasagne", "Lasagne al ragù", 12, 50, "PRIMI"},
        {"Saltimbocca", "Saltimbocca alla romana", 15, 60, "SECONDI"},
        {"Tagliata", "Tagliata di manzo con rucola", 19, 70, "SECONDI"},
        {"Tiramisù", "Tiramisù della casa", 6, 80, "VARIE"},
    };
    for (const Dish& dish : dishes)
        menu->AddRecord({QStringLiteral("Nome"), QString::fromUtf8(dish.name), QStringLiteral("Descrizione"),
                         QString::fromUtf8(dish.description), QStringLiteral("Prezzo"), dish.price,
                         QStringLiteral("Ordine_Menù"), dish.order, QStringLiteral("Portata"),
                         QString::fromUtf8(dish.course)});
}

// Answers the receipt lists' parameters with the last full year.
class SectionDialogs : public QtDialogService
{
public:
    int ExecModal(QDialog& window) override
    {
        if (auto* parameters = qobject_cast<frmSetParamStat*>(&window)) {
            const int year = QDate::currentDate().year() - 1;
            parameters->txtDaData->setText(QDate(year, 1, 1).toString(QStringLiteral("dd/MM/yy")));
            parameters->txtAData->setText(QDate(year, 12, 31).toString(QStringLiteral("dd/MM/yy")));
            parameters->cmdSearch->click();
            return window.result();
        }
        return QtDialogService::ExecModal(window);
    }
};

// Every section's grid on a generated archive of a few thousand receipts.
void SaveSections()
{
    SectionDialogs dialogs;
    ScopedDialogService useDialogs(dialogs);
    QTemporaryDir work;
    AppPaths::ScopedGridLayoutFile layouts(work.filePath(QStringLiteral("layout.INI")));
    GeneratorOptions options;
    options.receipts = 3000;
    options.customers = 150;
    GenerateArchive(work.filePath(QStringLiteral("Mensora.mdb")), options);
    Settings().RootDir = work.path();

    frmMain main;
    main.show();
    main.Activate();
    main.resize(main.width() * 3 / 2, main.height() * 5 / 4);
    CurrentDateSelection().SelectAll(); // every receipt, not only today's
    QTreeWidget& tree = *main.TreeView();
    for (int index = 1; index <= 16; ++index) {
        QTreeWidgetItem* node = NodeAt(tree, index);
        if (!node || IsGroupNode(*node))
            continue;
        tree.setCurrentItem(node);
        main.GridView()->resizeColumnsToContents();
        QString name = NodeKey(*node).toLower();
        name.replace(u' ', u'-');
        Save(main, QStringLiteral("section-") + name);
    }
    main.Unload();
    ArchiveSession::Instance().ReleaseDatabase();
}

} // namespace

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MensoraScreenshots"));
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    ScreenshotSaver saver(QStringLiteral(MENSORA_SOURCE_DIR "/docs/screenshots"),
                          argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString());
    g_saver = &saver;

    QtDialogService dialogs;
    ScopedDialogService useDialogs(dialogs);
    QTemporaryDir work;
    ScopedSettingsFile store(work.filePath(QStringLiteral("Mensora.ini")));
    Settings() = DefaultSettings();
    Settings().RootDir = work.path();
    DatabaseEngine().CreateDatabaseFile(ArchiveSession::DatabaseKind, ArchiveSession::DatabasePath());
    {
        // A first run: no stored geometry, 6500 by 6500 twips; captions
        // that do not fit wrap, grow or are elided, never cut on both sides.
        frmMain main;
        main.show();
        main.Activate();
        Save(main, QStringLiteral("main-first-run"));
        CurrentDateSelection().SelectMonth(QDateTime(QDate(2026, 11, 10), QTime(12, 0)));
        main.SectionItems().Item(4)->click();
        Save(main, QStringLiteral("main-first-run-ricevute"));
        CurrentDateSelection() = DateSelection();
        main.Unload();
        ArchiveSession::Instance().ReleaseDatabase();
    }
    {
        auto settings = OpenSettingsStore();
        // 12000 by 7800 twips: a window of 800 by 520 at 96 dots per inch.
        for (const auto& [key, value] : {std::pair{"MainLeft", "1500"}, std::pair{"MainTop", "1500"},
                                         std::pair{"MainWidth", "12000"}, std::pair{"MainHeight", "7800"}})
            settings->setValue(QStringLiteral("Settings/") + QLatin1String(key), QLatin1String(value));
    }

    {
        frmMain main;
        main.show();
        main.Activate();
        Save(main, QStringLiteral("main-archivio"));

        AddDishes();
        main.SectionItems().Item(2)->click();
        main.GridView()->resizeColumnsToContents();
        Save(main, QStringLiteral("main-menu"));
        main.Unload();
    }
    ArchiveSession::Instance().ReleaseDatabase();
    if (g_saver->Suffix().isEmpty())
        SaveSections();
    DestroyMessageWindow();
    return g_saver->Failed() ? 1 : 0;
}
