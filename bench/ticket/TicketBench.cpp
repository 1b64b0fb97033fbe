// Emission of a 100-row receipt with a realistic layout script (the sample
// in docs/examples: nine tickets), to the recording target and to a PDF
// file, beside the bare drawing of the same calls with QPainter on the same
// kind of surface. The ratio shows what the script, the archive and the print
// object add to the drawing itself.

#include "RatioReporter.h"

#include "data/RestaurantArchive.h"

#include "app/AppSettings.h"
#include "component/widgets/QtDialogService.h"
#include "printing/PrinterTarget.h"
#include "printing/RecordingTarget.h"
#include "printing/TicketEmission.h"
#include "printing/TicketPainting.h"
#include "printing/TicketPrinters.h"
#include "script/ConsoleRunner.h"

#include <QApplication>
#include <QDateTime>
#include <QFile>
#include <QImage>
#include <QLocale>
#include <QPainter>
#include <QPdfWriter>
#include <QTemporaryDir>

#include <cstdio>

namespace {

struct Bench
{
    RestaurantArchive archive;
    std::shared_ptr<DataObject> receipt;
    QString script;
    std::vector<TicketRecord::Call> calls; // what one emission draws
    int tickets = 0;
    QTemporaryDir dir;

    Bench()
    {
        QFile example(QStringLiteral(MENSORA_SOURCE_DIR "/docs/examples/RicevutaEsempio.vbs"));
        if (example.open(QIODevice::ReadOnly))
            script = vbs::DecodeScriptFile(example.readAll());
        Settings().RestaurantName = QStringLiteral("Trattoria Da Mario");
        auto menu = archive.Table(QStringLiteral("Menu"));
        const char* const courses[] = {"VARIE", "ANTIPASTI", "PRIMI", "SECONDI"};
        QVariantList dishes;
        for (int i = 0; i < 20; ++i) {
            menu->AddRecord({QStringLiteral("Nome"), QStringLiteral("Piatto del giorno n. %1").arg(i + 1), QStringLiteral("Prezzo"),
                             8 + i, QStringLiteral("Portata"), QString::fromLatin1(courses[i % 4])});
            dishes << menu->ValueAt(0);
        }
        receipt = archive.Table(QStringLiteral("Ricevute"));
        receipt->AddRecord({QStringLiteral("Cliente"), QStringLiteral("Cliente generico"), QStringLiteral("Data"),
                            QDateTime(QDate(2026, 3, 14), QTime(21, 30)), QStringLiteral("TipoDocumento"),
                            QStringLiteral("Ricevuta fiscale")});
        auto rows = receipt->OpenReference(QStringLiteral("Righe"));
        for (int i = 0; i < 100; ++i)
            rows->AddRecord({QStringLiteral("OID_Menu"), dishes[(i * 7) % dishes.size()], QStringLiteral("Quantità"), 1 + i % 3});
        receipt->Requery();
        receipt->MoveFirst();

        auto record = std::make_shared<TicketRecord>();
        auto printer = std::make_unique<clsScriptPrinter>();
        printer->SetPrinter(std::make_unique<RecordingTarget>(record), GeometryOf(Settings().Ticket));
        if (!TicketEmission(*receipt, printer, 1, script))
            std::fprintf(stderr, "the sample script failed\n");
        calls = record->calls;
        tickets = record->Count(TicketRecord::Call::Kind::NextTicket);
    }
};

Bench& TheBench()
{
    static Bench bench;
    return bench;
}

// The recorded calls drawn straight with QPainter, a new page where the
// print object made one.
void Replay(QPainter& painter, QPagedPaintDevice* pages, double pixelsPerMm)
{
    painter.setFont(TicketPainting::DeviceFont(TicketFont(), painter, pixelsPerMm));
    for (const TicketRecord::Call& call : TheBench().calls) {
        switch (call.kind) {
        case TicketRecord::Call::Kind::Font:
        case TicketRecord::Call::Kind::Text:
        case TicketRecord::Call::Kind::Box:
            TicketPainting::Paint(painter, call.op, pixelsPerMm);
            break;
        case TicketRecord::Call::Kind::NewPage:
            if (pages)
                pages->newPage();
            break;
        default:
            break;
        }
    }
}

void Report(benchmark::State& state)
{
    state.counters["tickets"] = TheBench().tickets;
    // Shown as the time per ticket.
    state.counters["per_ticket"] = benchmark::Counter(double(state.iterations()) * TheBench().tickets,
                                                      benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

void Record_engine(benchmark::State& state)
{
    Bench& b = TheBench();
    for (auto _ : state) {
        auto printer = std::make_unique<clsScriptPrinter>();
        printer->SetPrinter(std::make_unique<RecordingTarget>(), GeometryOf(Settings().Ticket));
        benchmark::DoNotOptimize(TicketEmission(*b.receipt, printer, 1, b.script));
    }
    Report(state);
}

// The recording target draws nothing: its baseline draws the calls on an
// A4 picture at screen resolution.
void Record_baseline(benchmark::State& state)
{
    QImage page(794, 1123, QImage::Format_RGB32);
    for (auto _ : state) {
        page.fill(Qt::white);
        QPainter painter(&page);
        Replay(painter, nullptr, 96.0 / 25.4);
    }
    Report(state);
}

void Pdf_engine(benchmark::State& state)
{
    Bench& b = TheBench();
    const QString file = b.dir.filePath(QStringLiteral("engine.pdf"));
    for (auto _ : state) {
        auto printer = std::make_unique<clsScriptPrinter>();
        printer->SetPrinter(PrinterTarget::ForPdf(file), GeometryOf(Settings().Ticket));
        benchmark::DoNotOptimize(TicketEmission(*b.receipt, printer, 1, b.script));
    }
    Report(state);
}

void Pdf_baseline(benchmark::State& state)
{
    const QString file = TheBench().dir.filePath(QStringLiteral("baseline.pdf"));
    for (auto _ : state) {
        QPdfWriter writer(file);
        writer.setPageSize(QPageSize(QPageSize::A4));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setResolution(1200);
        QPainter painter(&writer);
        Replay(painter, &writer, 1200 / 25.4);
    }
    Report(state);
}

} // namespace

BENCHMARK(Record_engine)->Name("Record/engine")->Unit(benchmark::kMillisecond);
BENCHMARK(Record_baseline)->Name("Record/baseline")->Unit(benchmark::kMillisecond);
BENCHMARK(Pdf_engine)->Name("Pdf/engine")->Unit(benchmark::kMillisecond);
BENCHMARK(Pdf_baseline)->Name("Pdf/baseline")->Unit(benchmark::kMillisecond);

int main(int argc, char** argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    QtDialogService dialogs;
    ScopedDialogService useDialogs(dialogs);
    benchmark::Initialize(&argc, argv);
    TheBench();
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return 0;
}
