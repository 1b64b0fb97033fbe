// vbsrun FILE.vbs: runs the script's top-level code with the Echo and ok
// subs and prints what it writes. Exit status 1 on a script error, 2 when
// an ok check failed.
#include "script/ConsoleRunner.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments();
    if (args.size() != 2) {
        std::fprintf(stderr, "uso: %s FILE.vbs\n", qPrintable(QFileInfo(QCoreApplication::applicationFilePath()).fileName()));
        return 64;
    }
    QFile file(args[1]);
    if (!file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "impossibile aprire %s\n", qPrintable(args[1]));
        return 66;
    }
    const vbs::ConsoleResult result = vbs::RunConsoleScript(vbs::DecodeScriptFile(file.readAll()));
    const QByteArray out = result.output.toUtf8();
    std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    return result.exitCode;
}
