// Saves a picture of each of the archive engine's windows into
// docs/screenshots/ of the source tree: "engine-<window>.png", or with the
// suffix given as the first argument ("@2x" for the run at 200%).
#include "component/widgets/EngineDialogsArchive.h"

#include "component/ComplexFilter.h"
#include "component/widgets/ComplexFilterWindow.h"
#include "component/widgets/DataViewWindow.h"
#include "component/widgets/ExportWindow.h"
#include "component/widgets/FieldSequenceWindow.h"
#include "component/widgets/OrderWindow.h"
#include "component/widgets/RecordEditorWindow.h"
#include "component/widgets/SelectionListWindow.h"
#include "component/widgets/ValueEditorWindow.h"

#include <QApplication>
#include <QDir>
#include <QLineEdit>
#include <QLocale>
#include <QScrollArea>
#include <QStandardPaths>
#include <QTableView>
#include <QThread>
#include <QTreeWidget>
#include <cstdio>

namespace {

struct Dish
{
    const char* name;
    const char* price;
    const char* category;
    int portions;
};

const Dish kDishes[] = {
    {"Bruschetta al pomodoro", "4,50", "Antipasti", 1},  {"Tagliere di salumi", "12", "Antipasti", 2},
    {"Lasagne alla bolognese", "9", "Primi", 1},         {"Risotto ai funghi porcini", "12,50", "Primi", 1},
    {"Spaghetti alle vongole", "13", "Primi", 1},         {"Tagliatelle al ragù", "10", "Primi", 1},
    {"Grigliata mista di carne", "18", "Secondi", 1},    {"Branzino al forno", "17,50", "Secondi", 1},
    {"Cotoletta alla milanese", "15", "Secondi", 1},     {"Insalata mista", "5", "Contorni", 1},
    {"Patate al forno", "4", "Contorni", 1},             {"Tiramisù", "6", "Dolci", 1},
    {"Panna cotta ai frutti di bosco", "5,50", "Dolci", 1}, {"Acqua minerale 1 l", "2,50", "Bevande", 1},
    {"Vino della casa 1/2 l", "7", "Bevande", 1},        {"Caffè", "1,20", "Bevande", 1},
};

class Pictures
{
public:
    Pictures(QString folder, QString suffix) : m_folder(std::move(folder)), m_suffix(std::move(suffix)) {}

    // The list windows size themselves after the screen, which offscreen is
    // small (and smaller still at 200%): they are shown at a desktop's size.
    void Take(QWidget& window, const QString& name, QSize size = {})
    {
        if (size.isValid())
            window.resize(size);
        window.show();
        for (int i = 0; i < 5; ++i) {
            QApplication::processEvents();
            QThread::msleep(10);
        }
        const QString path = QDir(m_folder).filePath(QStringLiteral("engine-%1%2.png").arg(name, m_suffix));
        if (!window.grab().save(path)) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            m_failed = true;
        }
        window.hide();
    }
    bool Failed() const { return m_failed; }

private:
    QString m_folder;
    QString m_suffix;
    bool m_failed = false;
};

// The record editor is as tall as its fields up to a share of the screen;
// the offscreen screen at 200% is too small for that, so it is shown whole.
QSize WholeEditor(QWidget& window)
{
    auto* scroll = window.findChild<QScrollArea*>(QStringLiteral("scrFields"));
    const int extra = window.sizeHint().height() - scroll->sizeHint().height();
    return {window.sizeHint().width(), scroll->widget()->sizeHint().height() + extra + 4};
}

} // namespace

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    const QString suffix = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    const QString folder = QStringLiteral(MENSORA_SOURCE_DIR "/docs/screenshots");
    QDir().mkpath(folder);

    QTemporaryDir dir;
    auto engine = std::make_shared<DatabaseEngine>();
    const QString path = dir.filePath(QStringLiteral("Mensora.mdb"));
    engine->CreateDatabaseFile(3, path);
    engine = std::make_shared<DatabaseEngine>();
    engine->OpenDatabaseFile(3, path);
    auto database = ComponentGlobal::CreateDatabaseObject(std::make_shared<DialogTest::Definition>(),
                                                          QStringLiteral("Mensora"), nullptr, nullptr);
    database->AttachEngine(engine);
    auto open = [&](const QString& table, const QString& order = {}) {
        return database->Tables().Item(table).OpenDataObject(engine, {}, order);
    };
    auto categories = open(QStringLiteral("Categorie"));
    for (const char* category : {"Antipasti", "Primi", "Secondi", "Contorni", "Dolci", "Bevande"})
        categories->AddRecord({QStringLiteral("Descrizione"), QString::fromUtf8(category)});
    auto dishes = open(QStringLiteral("Piatti"), QStringLiteral("Nome"));
    for (const Dish& dish : kDishes)
        dishes->AddRecord({QStringLiteral("Nome"), QString::fromUtf8(dish.name), QStringLiteral("Prezzo"),
                           QString::fromUtf8(dish.price), QStringLiteral("Categoria"), QString::fromUtf8(dish.category),
                           QStringLiteral("Porzioni"), dish.portions, QStringLiteral("Disponibile"), true,
                           QStringLiteral("Ultima_Data"), QDateTime(QDate(2024, 3, 9), QTime(20, 30))});

    Pictures pictures(folder, suffix);
    dishes->MoveFirst();
    {
        SelectionListWindow window(dishes, QStringLiteral("Scelta del piatto"), QStringLiteral("Nome"));
        window.findChild<QLineEdit*>(QStringLiteral("txtSearch"))->setText(QStringLiteral("ri"));
        window.Search(QStringLiteral("ri"));
        pictures.Take(window, QStringLiteral("selection-list"), QSize(800, 440));
        window.reject();
    }
    dishes->FindFirst(QStringLiteral("Nome = 'Lasagne alla bolognese'"));
    {
        RecordEditorWindow window(dishes, EditMode::CurrentRecord, {});
        pictures.Take(window, QStringLiteral("record-editor"), WholeEditor(window));
        window.reject();
    }
    {
        auto rows = open(QStringLiteral("Righe"));
        rows->AddRecord({QStringLiteral("OID_Piatti"), dishes->ValueAt(0), QStringLiteral("Quantità"), 2});
        RecordEditorWindow window(rows, EditMode::CurrentRecord, RecordEditorOptions{255});
        pictures.Take(window, QStringLiteral("record-editor-row"), WholeEditor(window));
        window.reject();
    }
    {
        ValueEditorWindow window(dishes, QStringLiteral("Ultima_Data"), QStringLiteral("Data e ora"));
        pictures.Take(window, QStringLiteral("value-editor"));
    }
    {
        ComplexFilter saved(database, QStringLiteral("Piatti"));
        saved.AddCondition(QStringLiteral("Categoria"), QStringLiteral("Dolci"));
        saved.Save(QStringLiteral("Solo dolci"));
        ComplexFilter filter(database, QStringLiteral("Piatti"));
        filter.AddCondition(QStringLiteral("Prezzo"), QStringLiteral("10"), QStringLiteral(">="));
        filter.AddCondition(QStringLiteral("Categoria"), QStringLiteral("Primi"));
        filter.AddCondition(QStringLiteral("Disponibile"), true);
        filter.Save(QStringLiteral("Primi cari"));
        ComplexFilterWindow window(filter, *database, QStringLiteral("FILTRO COMPLESSO"));
        pictures.Take(window, QStringLiteral("complex-filter"));
    }
    {
        OrderWindow window(*dishes, QStringLiteral("Ordinamento Complesso"), QStringLiteral("Categoria, Prezzo DESC"));
        pictures.Take(window, QStringLiteral("order"));
    }
    {
        FieldSequenceWindow window(*dishes, QStringLiteral("Sequenza di Visualizzazione Campi"),
                                   QStringLiteral("Nome,Categoria,Prezzo,Disponibile"));
        pictures.Take(window, QStringLiteral("field-sequence"));
    }
    {
        ExportWindow window(dishes, nullptr);
        window.findChild<QLineEdit*>(QStringLiteral("txtFile"))->setText(QStringLiteral("C:\\Documenti\\Piatti.csv"));
        pictures.Take(window, QStringLiteral("export"));
    }
    {
        DataViewWindow window(dishes, QStringLiteral("Piatti del giorno"));
        pictures.Take(window, QStringLiteral("data-window"), QSize(820, 460));
    }
    return pictures.Failed() ? 1 : 0;
}
