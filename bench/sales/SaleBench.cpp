// A cashier's keystroke in the real till window (offscreen) over the archive
// of a million receipts, from the key event to the repainted rows grid and
// total: choosing a menu item with Enter on a course, "+", and F8 with a
// typed quantity. Beside each, the engine's own step: the same operation of
// the open sale without a window.
//
// Every keystroke is timed on its own; the median and the 99th percentile
// are the counters "mediana_ms" and "p99_ms" (wall time). The sale is
// never confirmed, so the archive stays as generated.
//
// Uses the archive of bench/archive (MENSORA_BENCH_ARCHIVE, a file named
// Mensora.mdb; generated when missing).

#include "ArchiveGenerator.h"
#include "RatioReporter.h"

#include "app/AppSettings.h"
#include "app/SaleDate.h"
#include "app/SettingsStore.h"
#include "component/ComponentGlobal.h"
#include "component/CurrencyObject.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Table.h"
#include "component/widgets/QtDialogService.h"
#include "data/DB.h"
#include "sales/OpenSale.h"
#include "sales/frmVendite.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QLabel>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <algorithm>
#include <cstdio>

namespace {

constexpr int kKeystrokes = 300;

// The cashier's answers: the next item of the course in each list, the
// quantities 2 and 1,5 in turn.
class BenchDialogs : public QtDialogService
{
public:
    MsgResult MessageBox(const QString& text, MsgButtons, MsgIcon, MsgDefault, const QString&) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return MsgResult::Ok;
    }
    std::optional<QString> InputBox(const QString&, const QString&, const QString&) override
    {
        return (m_inputs++ % 2) ? QStringLiteral("1,5") : QStringLiteral("2");
    }
    void Beep() override {}
    std::optional<qint64> SelectionList(const std::shared_ptr<DataObject>& data, const QString&, const QString&) override
    {
        const qint64 count = data->RecordCount();
        if (count == 0 || !data->MoveTo(m_choices++ % count))
            return std::nullopt;
        return data->ValueAt(0).toLongLong();
    }

private:
    int m_inputs = 0;
    int m_choices = 0;
};

// Counts the paint events of the till's widgets: a keystroke is measured up
// to the repainted rows grid and total.
class PaintCounter : public QObject
{
public:
    int paints = 0;
    QWidget* window = nullptr;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint)
            if (auto* widget = qobject_cast<QWidget*>(watched); widget && widget->window() == window)
                ++paints;
        return false;
    }
};

struct Bench
{
    QTemporaryDir scratch;
    std::unique_ptr<ScopedSettingsFile> store;
    BenchDialogs dialogs;
    std::unique_ptr<ScopedDialogService> use;
    std::shared_ptr<DatabaseEngine> engine;
    std::shared_ptr<DatabaseObject> database;
    std::unique_ptr<frmVendite> till;
    std::unique_ptr<OpenSale> engineSale;
    PaintCounter paints;
    qint64 primi = 0;
};

Bench& TheBench()
{
    static Bench b;
    static const bool ready = [] {
        const QString path = BenchmarkArchive();
        b.store = std::make_unique<ScopedSettingsFile>(b.scratch.filePath(QStringLiteral("Mensora.ini")));
        b.use = std::make_unique<ScopedDialogService>(b.dialogs);
        Settings() = DefaultSettings();
        SetSaleDate(QDate::currentDate());
        b.engine = std::make_shared<DatabaseEngine>();
        b.engine->OpenDatabaseFile(3, path);
        b.database = ComponentGlobal::CreateDatabaseObject(std::make_shared<DB>(), QStringLiteral("mensora"), nullptr, nullptr);
        b.database->SetConversionCurrency(std::make_shared<ConversionCurrencyForEuro>());
        b.database->AttachEngine(b.engine);
        auto tables = b.database->Tables();
        auto types = tables.Item(QStringLiteral("TipiDocumento")).OpenDataObject(b.engine, QStringLiteral("Descrizione = 'Ricevuta fiscale'"));
        auto payments = tables.Item(QStringLiteral("TipiPagamento")).OpenDataObject(b.engine);
        auto store = OpenSettingsStore();
        store->setValue(QStringLiteral("Ricevute/TipoDocDefault"), QString::number(types->ValueAt(0).toLongLong()));
        store->setValue(QStringLiteral("Ricevute/PagamentoDefault"), QString::number(payments->ValueAt(0).toLongLong()));
        store->sync();
        b.primi = tables.Item(QStringLiteral("Portate")).OpenDataObject(b.engine, QStringLiteral("Descrizione = 'PRIMI'"))->ValueAt(0).toLongLong();
        return true;
    }();
    Q_UNUSED(ready);
    return b;
}

frmVendite& Till()
{
    Bench& b = TheBench();
    if (!b.till) {
        b.till = std::make_unique<frmVendite>(b.database, b.engine);
        if (!b.till->Load())
            std::abort();
        b.till->resize(900, 620);
        b.till->show();
        if (!QTest::qWaitForWindowExposed(b.till.get()))
            std::abort();
        for (int i = 0; i < 5; ++i)
            QTest::qWait(0);
        if (!b.till->Sale().IsOpen())
            std::abort();
        b.paints.window = b.till.get();
        qApp->installEventFilter(&b.paints);
    }
    return *b.till;
}

// The engine's own sale, once the window's sale has gone.
OpenSale& EngineSale()
{
    Bench& b = TheBench();
    if (!b.engineSale) {
        if (b.till) {
            qApp->removeEventFilter(&b.paints);
            b.till->done(QDialog::Rejected);
            b.till.reset();
        }
        b.engineSale = std::make_unique<OpenSale>(b.database, b.engine);
        if (b.engineSale->Load() != OpenSale::LoadResult::Ready || !b.engineSale->Add_Vendita())
            std::abort();
        b.engineSale->Add_Coperti(4);
    }
    return *b.engineSale;
}

// Median and 99th percentile of the keystrokes, as counters.
void Report(benchmark::State& state, std::vector<double>& ms, int paints)
{
    if (ms.empty())
        return;
    std::sort(ms.begin(), ms.end());
    state.counters["mediana_ms"] = ms[ms.size() / 2];
    state.counters["p99_ms"] = ms[std::min(ms.size() - 1, size_t(double(ms.size()) * 0.99))];
    state.counters["max_ms"] = ms.back();
    if (paints >= 0)
        state.counters["disegni_per_tasto"] = double(paints) / double(ms.size());
}

// One keystroke to the focused control, then the pending repaints.
void Keystroke(benchmark::State& state, QWidget* focus, Qt::Key key, char text)
{
    frmVendite& till = Till();
    Bench& b = TheBench();
    focus->setFocus();
    QApplication::processEvents();
    std::vector<double> ms;
    b.paints.paints = 0;
    const QString before = till.lblTotale->text();
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        if (text)
            QTest::keyClick(focus, text);
        else
            QTest::keyClick(focus, key);
        QCoreApplication::sendPostedEvents();
        QApplication::processEvents();
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    if (till.lblTotale->text() == before)
        state.SkipWithError("the total did not change");
    Report(state, ms, b.paints.paints);
}

void ChooseItem_window(benchmark::State& state)
{
    frmVendite& till = Till();
    till.dgPortate->setCurrentIndex(till.dgPortate->model()->index(2, 0)); // PRIMI
    Keystroke(state, till.dgPortate, Qt::Key_Return, 0);
}

void Plus_window(benchmark::State& state)
{
    frmVendite& till = Till();
    Keystroke(state, till.dgRighe, Qt::Key_Plus, '+');
}

void Quantity_window(benchmark::State& state)
{
    frmVendite& till = Till();
    Keystroke(state, till.dgRighe, Qt::Key_F8, 0);
}

// The engine's steps, timed the same way.
template <typename Step>
void EngineStep(benchmark::State& state, Step&& step)
{
    OpenSale& sale = EngineSale();
    std::vector<double> ms;
    for (auto _ : state) {
        QElapsedTimer timer;
        timer.start();
        step(sale);
        ms.push_back(double(timer.nsecsElapsed()) / 1e6);
    }
    Report(state, ms, -1);
}

void ChooseItem_engine(benchmark::State& state)
{
    EngineStep(state, [](OpenSale& sale) { sale.ChooseMenuItem(TheBench().primi); });
}

void Plus_engine(benchmark::State& state)
{
    EngineStep(state, [](OpenSale& sale) { sale.StepUp(0); });
}

void Quantity_engine(benchmark::State& state)
{
    EngineStep(state, [](OpenSale& sale) { sale.EditQuantity(0); });
}

} // namespace

// The window's keystrokes first: the engine's steps close the window's sale.
BENCHMARK(ChooseItem_window)->Name("Scelta_articolo/engine")->Iterations(kKeystrokes)->Unit(benchmark::kMillisecond);
BENCHMARK(Plus_window)->Name("Tasto_piu/engine")->Iterations(kKeystrokes)->Unit(benchmark::kMillisecond);
BENCHMARK(Quantity_window)->Name("F8_quantita/engine")->Iterations(kKeystrokes)->Unit(benchmark::kMillisecond);
BENCHMARK(ChooseItem_engine)->Name("Scelta_articolo/baseline")->Iterations(kKeystrokes)->Unit(benchmark::kMillisecond);
BENCHMARK(Plus_engine)->Name("Tasto_piu/baseline")->Iterations(kKeystrokes)->Unit(benchmark::kMillisecond);
BENCHMARK(Quantity_engine)->Name("F8_quantita/baseline")->Iterations(kKeystrokes)->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    benchmark::Initialize(&argc, argv);
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    TheBench().till.reset();
    TheBench().engineSale.reset();
    benchmark::Shutdown();
    return 0;
}
