// Saves pictures of the till into docs/screenshots/ of the source tree: the
// window as a sale starts, and with a dinner for four of eight rows. The
// argument is the file name suffix ("@2x" for the run at 200%).

#include "app/AppSettings.h"
#include "app/SaleDate.h"
#include "app/SettingsStore.h"
#include "component/ComponentGlobal.h"
#include "component/CurrencyObject.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Table.h"
#include "component/widgets/DialogService.h"
#include "component/widgets/QtDialogService.h"
#include "data/DB.h"
#include "sales/OpenSale.h"
#include "sales/frmVendite.h"

#include "support/ScreenshotSaver.h"

#include <QApplication>
#include <QLineEdit>
#include <QLocale>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>

namespace {

struct Dish
{
    const char* name;
    double price;
    const char* course;
    int quantity;
};

// A dinner for four.
const Dish kDinner[] = {
    {"Bruschette al pomodoro", 5.5, "ANTIPASTI", 2},   {"Tagliere di salumi", 12, "ANTIPASTI", 1},
    {"Spaghetti alla carbonara", 11, "PRIMI", 2},      {"Bucatini all'amatriciana", 10.5, "PRIMI", 1},
    {"Tagliata di manzo", 19, "SECONDI", 1},           {"Acqua minerale", 2.5, "VARIE", 2},
    {"Vino rosso della casa 1 l", 14, "VARIE", 1},
};

} // namespace

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    const QString suffix = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    ScreenshotSaver saver(QStringLiteral(MENSORA_SOURCE_DIR "/docs/screenshots"), suffix);

    QTemporaryDir dir;
    ScopedSettingsFile store(dir.filePath(QStringLiteral("Mensora.ini")));
    QtDialogService dialogs;
    ScopedDialogService use(dialogs);
    Settings() = DefaultSettings();
    SetSaleDate(QDate(2026, 12, 5));

    try {
        const QString path = dir.filePath(QStringLiteral("Mensora.mdb"));
        DatabaseEngine().CreateDatabaseFile(3, path);
        auto engine = std::make_shared<DatabaseEngine>();
        engine->OpenDatabaseFile(3, path);
        auto database = ComponentGlobal::CreateDatabaseObject(std::make_shared<DB>(), QStringLiteral("mensora"), nullptr, nullptr);
        database->SetConversionCurrency(std::make_shared<ConversionCurrencyForEuro>());
        database->AttachEngine(engine);

        auto menu = database->Tables().Item(QStringLiteral("Menu")).OpenDataObject(engine);
        QList<qint64> keys;
        for (const Dish& dish : kDinner) {
            menu->AddRecord({QStringLiteral("Nome"), QString::fromUtf8(dish.name), QStringLiteral("Prezzo"), dish.price,
                             QStringLiteral("Portata"), QString::fromLatin1(dish.course)});
            keys.append(menu->ValueAt(0).toLongLong());
        }
        auto types = database->Tables().Item(QStringLiteral("TipiDocumento"))
                         .OpenDataObject(engine, QStringLiteral("Descrizione = 'Ricevuta fiscale'"));
        auto settings = OpenSettingsStore();
        settings->setValue(QStringLiteral("Ricevute/TipoDocDefault"), QString::number(types->ValueAt(0).toLongLong()));
        settings->sync();

        frmVendite till(database, engine);
        if (!till.Load())
            return 1;
        till.resize(900, 620);
        saver.Save(till, QStringLiteral("sale-empty"));
        if (!till.Sale().IsOpen()) {
            std::fprintf(stderr, "the sale did not start\n");
            return 1;
        }

        till.txtNumeroCoperti->setText(QStringLiteral("  4"));
        till.Sale().SetCovers(QStringLiteral("4"));
        for (int i = 0; i < int(std::size(kDinner)); ++i) {
            const qint64 row = till.Sale().AddMenuItem(keys[i]);
            for (int more = 1; more < kDinner[i].quantity; ++more)
                till.Sale().AddMenuItem(keys[i]);
            Q_UNUSED(row);
        }
        till.Sale().ReceiptData()->SetValue(QStringLiteral("Note"), QStringLiteral("Tavolo 12"));
        saver.Save(till, QStringLiteral("sale-receipt"));
        till.done(QDialog::Rejected);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return saver.Failed() ? 1 : 0;
}
