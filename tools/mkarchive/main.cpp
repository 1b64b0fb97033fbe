// mkarchive [--receipts N] [--seed S] FILE
// Writes a restaurant archive of N receipts (default 1,000,000) spread over
// ten years, for trying the application and measuring it at scale.

#include "ArchiveGenerator.h"

#include "component/Exception.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    GeneratorOptions options;
    QString path;
    const QStringList args = app.arguments().mid(1);
    for (int i = 0; i < args.size(); ++i) {
        if (args[i] == QLatin1String("--receipts") && i + 1 < args.size())
            options.receipts = args[++i].toLongLong();
        else if (args[i] == QLatin1String("--seed") && i + 1 < args.size())
            options.seed = args[++i].toULongLong();
        else
            path = args[i];
    }
    if (path.isEmpty() || options.receipts <= 0) {
        std::fprintf(stderr, "uso: mkarchive [--receipts N] [--seed S] FILE\n");
        return 2;
    }
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
