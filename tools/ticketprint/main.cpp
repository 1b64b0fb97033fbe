// ticketprint: prints one receipt of an archive through the real ticket
// emission, for support and for checking layouts without the window.
//
//   ticketprint ARCHIVE (--oid N | --number N --year Y --type T) [--script FILE]
//               [--copies N] [--columns N] [--geometry H,W,TOP,LEFT,ROWDIM,ROWTOP,ROWBOTTOM]
//               [--dots 576|384]
//               --to record|pdf:FILE|cups:QUEUE|escpos:FILE|escpos:HOST:PORT
//
// Without --script and --geometry the stored ticket settings are used.
// "--to record" prints one line per print-object call, positions absolute on
// the page in millimetres. Errors go to standard error with the texts of the
// message boxes; the exit status is 0 only when the emission succeeded.

#include "app/AppInfo.h"
#include "app/AppSettings.h"
#include "component/ComponentGlobal.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/Table.h"
#include "component/widgets/QtDialogService.h"
#include "data/DB.h"
#include "printing/EscPosTarget.h"
#include "printing/PrinterTarget.h"
#include "printing/RecordingTarget.h"
#include "printing/TicketEmission.h"
#include "printing/TicketPrinters.h"
#include "script/ConsoleRunner.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace {

void Error(const QString& text)
{
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n")).replace(u'\r', u'\n');
    std::fprintf(stderr, "%s\n", shown.toLocal8Bit().constData());
}

// Message boxes become lines on standard error; no window opens.
class ConsoleDialogs : public QtDialogService
{
public:
    MsgResult MessageBox(const QString& text, MsgButtons buttons, MsgIcon, MsgDefault, const QString&) override
    {
        Error(text);
        return buttons == MsgButtons::YesNo ? MsgResult::No : MsgResult::Ok;
    }
};

std::optional<TicketGeometry> ParseGeometry(const QString& text, qint16 columns)
{
    const QStringList parts = text.split(u',');
    if (parts.size() != 7)
        return std::nullopt;
    float v[7];
    for (int i = 0; i < 7; ++i) {
        bool ok = false;
        v[i] = parts[i].trimmed().toFloat(&ok);
        if (!ok)
            return std::nullopt;
    }
    return TicketGeometry{v[0], v[1], v[2], v[3], columns, v[4], v[5], v[6]};
}

int Usage(const QString& problem)
{
    Error(problem);
    Error(QStringLiteral("uso: %1 ARCHIVIO (--oid N | --number N --year A --type T) [--script FILE] [--copies N]\n"
                         "       [--columns N] [--geometry H,W,TOP,LEFT,ROWDIM,ROWTOP,ROWBOTTOM] [--dots 576|384]\n"
                         "       --to record|pdf:FILE|cups:CODA|escpos:FILE|escpos:HOST:PORTA")
              .arg(QFileInfo(QCoreApplication::applicationFilePath()).fileName()));
    return 64;
}

} // namespace

int main(int argc, char** argv)
{
    // No display is needed: the tool draws on printers and files only.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(AppInfo::ProductName());

    QCommandLineParser parser;
    const QCommandLineOption oid(QStringLiteral("oid"), QString(), QStringLiteral("N"));
    const QCommandLineOption number(QStringLiteral("number"), QString(), QStringLiteral("N"));
    const QCommandLineOption year(QStringLiteral("year"), QString(), QStringLiteral("A"));
    const QCommandLineOption type(QStringLiteral("type"), QString(), QStringLiteral("T"));
    const QCommandLineOption script(QStringLiteral("script"), QString(), QStringLiteral("FILE"));
    const QCommandLineOption copies(QStringLiteral("copies"), QString(), QStringLiteral("N"), QStringLiteral("1"));
    const QCommandLineOption columns(QStringLiteral("columns"), QString(), QStringLiteral("N"));
    const QCommandLineOption geometry(QStringLiteral("geometry"), QString(), QStringLiteral("G"));
    const QCommandLineOption dots(QStringLiteral("dots"), QString(), QStringLiteral("N"), QStringLiteral("576"));
    const QCommandLineOption to(QStringLiteral("to"), QString(), QStringLiteral("DEST"));
    parser.addOptions({oid, number, year, type, script, copies, columns, geometry, dots, to});
    parser.addPositionalArgument(QStringLiteral("ARCHIVIO"), QString());
    if (!parser.parse(QApplication::arguments()))
        return Usage(parser.errorText());
    if (parser.positionalArguments().size() != 1)
        return Usage(QStringLiteral("Indicare un archivio."));
    if (!parser.isSet(to))
        return Usage(QStringLiteral("Indicare la destinazione (--to)."));
    const bool byOid = parser.isSet(oid);
    const bool byNumber = parser.isSet(number) && parser.isSet(year) && parser.isSet(type);
    if (byOid == byNumber)
        return Usage(QStringLiteral("Indicare la ricevuta con --oid oppure con --number, --year e --type."));

    ConsoleDialogs dialogs;
    ScopedDialogService useDialogs(dialogs);
    LoadSettings();
    TicketSettings settings = Settings().Ticket;
    if (parser.isSet(columns))
        settings.ModuleColumns = qint16(parser.value(columns).toInt());
    TicketGeometry shape = GeometryOf(settings);
    if (parser.isSet(geometry)) {
        const std::optional<TicketGeometry> typed = ParseGeometry(parser.value(geometry), settings.ModuleColumns);
        if (!typed)
            return Usage(QStringLiteral("Geometria non valida: ") + parser.value(geometry));
        shape = *typed;
    }
    QString scriptText = settings.VBScript;
    if (parser.isSet(script)) {
        QFile file(parser.value(script));
        if (!file.open(QIODevice::ReadOnly)) {
            Error(QStringLiteral("Impossibile leggere lo script \"%1\": %2").arg(parser.value(script), file.errorString()));
            return 66;
        }
        scriptText = vbs::DecodeScriptFile(file.readAll());
    }
    // An empty text would mean the configured script: a file may be empty.
    if (scriptText.isEmpty())
        scriptText = QStringLiteral(" ");

    const QString destination = parser.value(to);
    std::unique_ptr<TicketTarget> target;
    std::shared_ptr<TicketRecord> record;
    if (destination == QLatin1String("record")) {
        record = std::make_shared<TicketRecord>();
        target = std::make_unique<RecordingTarget>(record);
    } else if (destination.startsWith(QLatin1String("pdf:"))) {
        target = PrinterTarget::ForPdf(destination.mid(4));
    } else if (destination.startsWith(QLatin1String("cups:"))) {
        target = PrinterTarget::ForQueue(destination.mid(5));
    } else if (destination.startsWith(QLatin1String("escpos:"))) {
        target = EscPosTarget::ForDestination(destination.mid(7), parser.value(dots).toInt() <= 384 ? 384 : 576);
    } else {
        return Usage(QStringLiteral("Destinazione sconosciuta: ") + destination);
    }

    const QString archive = parser.positionalArguments().constFirst();
    if (!QFileInfo::exists(archive)) {
        Error(QStringLiteral("L'archivio \"%1\" non esiste.").arg(archive));
        return 66;
    }
    bool ok = false;
    try {
        auto engine = std::make_shared<DatabaseEngine>();
        engine->OpenDatabaseFile(3, archive);
        auto database = ComponentGlobal::CreateDatabaseObject(std::make_shared<DB>(), QStringLiteral("mensora"), nullptr, nullptr);
        database->AttachEngine(engine);
        auto receipts = database->Tables().Item(QStringLiteral("Ricevute")).OpenDataObject(engine);
        QString criteria;
        if (byOid) {
            criteria = QStringLiteral("OID = %1").arg(parser.value(oid).toLongLong());
        } else {
            criteria = QStringLiteral("Numero = %1 AND AnnoFiscale = %2 AND ")
                           .arg(parser.value(number).toLongLong())
                           .arg(parser.value(year).toLongLong())
                       + receipts->BuildCriteria(QStringLiteral("TipoDocumento"), parser.value(type), QString());
        }
        receipts->SetFilter(criteria);
        if (!receipts->MoveFirst() || receipts->IsEOF()) {
            Error(QStringLiteral("Ricevuta non trovata."));
            return 1;
        }
        auto printer = std::make_unique<clsScriptPrinter>();
        printer->SetPrinter(std::move(target), shape);
        ok = TicketEmission(*receipts, printer, parser.value(copies).toInt(), scriptText);
    } catch (const Exception& e) {
        Error(e.Description());
        return 1;
    }
    if (record) {
        const QByteArray out = (record->lines.join(u'\n') + u'\n').toUtf8();
        std::fwrite(out.constData(), 1, size_t(out.size()), stdout);
    }
    return ok ? 0 : 1;
}
