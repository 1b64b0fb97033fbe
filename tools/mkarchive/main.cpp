// mkarchive [--receipts N] [--seed S] FILE
// Writes a restaurant archive of N receipts (default 1,000,000) spread over
// ten years, for trying the application and measuring it at scale.

#include "ArchiveGenerator.h"

#include "component/Exception.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

namespace {

// The program's own name: "mkarchive" in the build, "mensora-mkarchive" installed.
QString ProgramName()
{
    return QFileInfo(QCoreApplication::applicationFilePath()).fileName();
}

QByteArray Usage()
{
    return QStringLiteral("uso: %1 [--receipts N] [--seed S] FILE\n"
                          "Scrive in FILE (che non deve esistere) un archivio di N ricevute (predefinito 1000000)\n"
                          "distribuite su dieci anni; S fissa la sequenza casuale.\n"
                          "  --receipts N   numero di ricevute, maggiore di zero\n"
                          "  --seed S       seme della sequenza casuale\n"
                          "  --help         mostra questo testo\n")
        .arg(ProgramName())
        .toLocal8Bit();
}

int Refuse(const QString& reason)
{
    std::fprintf(stderr, "%s: %s\n%s", qPrintable(ProgramName()), qPrintable(reason), Usage().constData());
    return 2;
}

} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    GeneratorOptions options;
    QString path;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        if (arg == QLatin1String("--help") || arg == QLatin1String("-h")) {
            std::fputs(Usage().constData(), stdout);
            return 0;
        }
        if (arg == QLatin1String("--receipts") || arg == QLatin1String("--seed")) {
            if (i + 1 >= args.size())
                return Refuse(QStringLiteral("manca il valore di %1").arg(arg));
            bool ok = false;
            const QString value = args[++i];
            if (arg == QLatin1String("--receipts")) {
                options.receipts = value.toLongLong(&ok);
                ok = ok && options.receipts > 0;
            } else {
                options.seed = value.toULongLong(&ok);
            }
            if (!ok)
                return Refuse(QStringLiteral("valore non valido per %1: %2").arg(arg, value));
        } else if (arg.startsWith(u'-') && arg != QLatin1String("-")) {
            return Refuse(QStringLiteral("opzione sconosciuta: %1").arg(arg));
        } else if (!path.isEmpty()) {
            return Refuse(QStringLiteral("un solo FILE, non anche %1").arg(arg));
        } else {
            path = arg;
        }
    }
    if (path.isEmpty())
        return Refuse(QStringLiteral("manca il FILE da scrivere"));
    if (QFileInfo::exists(path)) {
        std::fprintf(stderr, "mkarchive: il file %s esiste già\n", qPrintable(path));
        return 2;
    }
    try {
        const GeneratorReport report = GenerateArchive(path, options);
        std::printf("%lld ricevute, %lld righe, %lld pagamenti in %.1f s\n", report.receipts, report.rows,
                    report.payments, report.seconds);
    } catch (const Exception& e) {
        std::fprintf(stderr, "mkarchive: %s\n", qPrintable(e.Description()));
        return 1;
    }
    return 0;
}
