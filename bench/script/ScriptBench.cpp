// The script engine beside python3 running the same programs (recursive
// fib(27), a string built from 100,000 pieces), and the rate of ticket row
// calls, each on fresh script state as ticket emission makes them.
//
// python3 is spawned from here; it times its own work, so that its start-up
// does not count. Both sides count CPU time, since the machine is shared.
// After the run the engine/python3 ratios are printed.

#include "script/FieldCollection.h"
#include "script/HostObject.h"
#include "script/ScriptEngine.h"

#include <QCoreApplication>
#include <QProcess>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <ctime>
#include <map>

namespace {

const char* const FibScript = R"vbs(
Function Fib(n)
  If n < 2 Then
    Fib = n
  Else
    Fib = Fib(n - 1) + Fib(n - 2)
  End If
End Function
Function Main()
  Main = Fib(27)
End Function
)vbs";

const char* const FibPython = R"py(
import time
def fib(n):
    if n < 2:
        return n
    return fib(n - 1) + fib(n - 2)
t = time.process_time()
r = fib(27)
print(time.process_time() - t)
)py";

const char* const StringScript = R"vbs(
Function Main()
  Dim s, i
  s = ""
  For i = 1 To 100000
    s = s & "x"
  Next
  Main = Len(s)
End Function
)vbs";

const char* const StringPython = R"py(
import time
t = time.process_time()
s = ""
for i in range(1, 100001):
    s = s + "x"
r = len(s)
print(time.process_time() - t)
)py";

const char* const RowScript = R"vbs(
Function PrintTicketRow(flds, prn, nRow)
  Dim sNome, sImporto
  sNome = Left(flds("Nome") & Space(20), 20)
  sImporto = FormatNumber(flds("Importo_Riga"), 2)
  sImporto = Space(10 - Len(sImporto)) & sImporto
  If nRow = 1 Then prn.SetFont 9, False, False, ""
  prn.TxtOut 0, 5, flds("Quantità") & " x " & sNome & sImporto
  If Not IsNull(flds("Descrizione")) Then
    If Len(flds("Descrizione")) > 0 Then prn.TxtOut 4, 8, Left(flds("Descrizione"), 30)
  End If
  PrintTicketRow = True
End Function
)vbs";

std::map<std::string, double> g_seconds; // fastest iteration, for the ratios

void Record(const char* key, double seconds)
{
    const auto it = g_seconds.find(key);
    if (it == g_seconds.end() || seconds < it->second)
        g_seconds[key] = seconds;
}

double CpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

void RunMain(benchmark::State& state, const char* script, const char* key)
{
    vbs::ScriptError error;
    const auto compiled = vbs::ScriptEngine::Compile(QString::fromUtf8(script), &error);
    if (!compiled) {
        state.SkipWithError(qPrintable(error.description));
        return;
    }
    for (auto _ : state) {
        vbs::ScriptEngine engine(compiled);
        engine.GetLimits().timeLimitMs = 0;
        std::vector<vbs::Variant> none;
        vbs::Variant result;
        const double start = CpuSeconds();
        if (!engine.Run(QStringLiteral("Main"), none, &result, &error))
            state.SkipWithError(qPrintable(error.description));
        const double seconds = CpuSeconds() - start;
        state.SetIterationTime(seconds);
        Record(key, seconds);
        benchmark::DoNotOptimize(result);
    }
}

void RunPython(benchmark::State& state, const char* program, const char* key)
{
    for (auto _ : state) {
        QProcess python;
        python.start(QStringLiteral("python3"), {QStringLiteral("-c"), QString::fromUtf8(program)});
        if (!python.waitForFinished(60000) || python.exitCode() != 0) {
            state.SkipWithError("python3 non disponibile");
            return;
        }
        const double seconds = QString::fromUtf8(python.readAllStandardOutput()).trimmed().toDouble();
        state.SetIterationTime(seconds);
        Record(key, seconds);
    }
}

void Fib27Engine(benchmark::State& state)
{
    RunMain(state, FibScript, "fib");
}
void Fib27Python(benchmark::State& state)
{
    RunPython(state, FibPython, "fib-python");
}
void StringEngine(benchmark::State& state)
{
    RunMain(state, StringScript, "string");
}
void StringPython3(benchmark::State& state)
{
    RunPython(state, StringPython, "string-python");
}

void TicketRowFresh(benchmark::State& state)
{
    constexpr int Calls = 10000;
    vbs::ScriptError error;
    const auto compiled = vbs::ScriptEngine::Compile(QString::fromUtf8(RowScript), &error);
    if (!compiled) {
        state.SkipWithError(qPrintable(error.description));
        return;
    }
    auto fields = std::make_shared<vbs::FieldCollection>();
    fields->Set(QStringLiteral("Nome"), vbs::Variant::Str(QStringLiteral("Tagliatelle al ragù")));
    fields->Set(QStringLiteral("Importo_Riga"), vbs::Variant::CurrencyUnits(245000));
    fields->Set(QStringLiteral("Quantità"), vbs::Variant::Int(2));
    fields->Set(QStringLiteral("Descrizione"), vbs::Variant::Str(QStringLiteral("senza formaggio")));
    auto printer = std::make_shared<vbs::HostObject>(QStringLiteral("clsScriptPrinter"));
    qint64 drawn = 0;
    printer->AddMethod(QStringLiteral("TxtOut"), [&drawn](vbs::Args a) {
        drawn += a.size();
        return vbs::Variant();
    });
    printer->AddMethod(QStringLiteral("SetFont"), [](vbs::Args) { return vbs::Variant(); });
    for (auto _ : state) {
        for (int row = 1; row <= Calls; ++row) {
            vbs::ScriptEngine engine(compiled);
            std::vector<vbs::Variant> args{vbs::Variant::Object(fields), vbs::Variant::Object(printer),
                                           vbs::Variant::Long(row)};
            vbs::Variant result;
            if (!engine.Run(QStringLiteral("PrintTicketRow"), args, &result, &error)) {
                state.SkipWithError(qPrintable(error.description));
                return;
            }
        }
    }
    state.SetItemsProcessed(state.iterations() * Calls);
    benchmark::DoNotOptimize(drawn);
}

BENCHMARK(Fib27Engine)->Name("Fib27/engine")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(Fib27Python)->Name("Fib27/python3")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(StringEngine)->Name("String100k/engine")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(StringPython3)->Name("String100k/python3")->UseManualTime()->Unit(benchmark::kMillisecond)->Iterations(5);
BENCHMARK(TicketRowFresh)->Name("PrintTicketRow/10000-fresh")->Unit(benchmark::kMillisecond);

void PrintRatio(const char* label, const char* engine, const char* python)
{
    const auto e = g_seconds.find(engine);
    const auto p = g_seconds.find(python);
    if (e == g_seconds.end() || p == g_seconds.end() || p->second <= 0)
        return;
    std::printf("%-12s motore %8.1f ms   python3 %8.1f ms   rapporto %.2f (CPU, esecuzione piu' rapida; sotto 1: piu' veloce)\n", label,
                e->second * 1000, p->second * 1000, e->second / p->second);
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    std::printf("\n");
    PrintRatio("fib(27)", "fib", "fib-python");
    PrintRatio("stringa", "string", "string-python");
    return 0;
}
