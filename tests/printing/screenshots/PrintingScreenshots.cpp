// Saves pictures into docs/screenshots/ of the source tree: the ticket
// settings window, the preview of a two-ticket receipt and (at 100% only)
// the same receipt printed to PDF and turned into a picture with pdftoppm.
// The argument is the file name suffix ("@2x" for the run at 200%).

#include "printing/TicketArchive.h"

#include "app/SettingsStore.h"
#include "component/widgets/QtDialogService.h"
#include "printing/PrinterTarget.h"
#include "printing/TicketEmission.h"
#include "printing/TicketPrinters.h"
#include "printing/frmTicketPreview.h"
#include "printing/frmTicketPrintSetting.h"
#include "script/ConsoleRunner.h"
#include "support/ScreenshotSaver.h"

#include <QApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QProcess>
#include <QStandardPaths>

#include <cstdio>

namespace {

// Message boxes are printed, not shown; the preview is saved, not waited on.
class PictureDialogs : public QtDialogService
{
public:
    std::function<void(QDialog&)> onWindow;

    MsgResult MessageBox(const QString& text, MsgButtons, MsgIcon, MsgDefault, const QString&) override
    {
        std::fprintf(stderr, "%s\n", qPrintable(text));
        return MsgResult::Ok;
    }
    int ExecModal(QDialog& window) override
    {
        if (onWindow)
            onWindow(window);
        return QDialog::Rejected;
    }
};

} // namespace

int main(int argc, char** argv)
{
    QStandardPaths::setTestModeEnabled(true);
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("MensoraScreenshots"));
    QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
    const QString suffix = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QString();
    ScreenshotSaver saver(QStringLiteral(MENSORA_SOURCE_DIR "/docs/screenshots"), suffix);
    const QString work = QStringLiteral(MENSORA_SCREENSHOT_WORK "/") + (suffix.isEmpty() ? QStringLiteral("1x") : suffix);
    QDir(work).removeRecursively();
    QDir().mkpath(work);
    ScopedSettingsFile store(work + QStringLiteral("/Mensora.ini"));

    PictureDialogs dialogs;
    ScopedDialogService useDialogs(dialogs);
    QFile example(QStringLiteral(MENSORA_SOURCE_DIR "/docs/examples/RicevutaEsempio.vbs"));
    if (!example.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "cannot read the example script\n");
        return 1;
    }
    Settings().RestaurantName = QStringLiteral("Trattoria Da Mario");
    Settings().RootDir = work;
    Settings().Ticket.VBScript = vbs::DecodeScriptFile(example.readAll());
    Settings().Ticket.PrinterName = QStringLiteral("PDF: ") + work + QStringLiteral("/Ricevute PDF");

    // A table of six with a customer who wants an invoice: sixteen rows, two tickets.
    TicketArchive data;
    data.AddDish("Coperto", "2", "VARIE");
    data.AddDish("Vino rosso della casa 1/2 l", "7", "VARIE");
    data.AddDish("Tortellini in brodo", "12", "PRIMI");
    data.AddDish("Crescentine e affettati", "14", "ANTIPASTI");
    data.AddDish("Caffè", "1,50", "VARIE");
    data.AddDish("Zuppa inglese", "5,50", "VARIE");
    auto customers = data.archive.Table(QStringLiteral("Clienti"));
    customers->AddRecord({QStringLiteral("Ragione_Sociale"), QStringLiteral("Studio Bianchi & Associati S.r.l."),
                          QStringLiteral("Indirizzo"), QStringLiteral("Via Santo Stefano 38"), QStringLiteral("CAP"),
                          QStringLiteral("40125"), QStringLiteral("Comune"), QStringLiteral("Bologna"),
                          QStringLiteral("Provincia"), QStringLiteral("BO"), QStringLiteral("Partita_Iva"),
                          QStringLiteral("03456789012")});
    auto receipt = data.Receipt({"6x Coperto", "2x Vino rosso della casa 1/2 l", "Acqua", "Acqua", "2x Crescentine e affettati",
                                 "Bruschetta", "3x Tortellini in brodo", "2x Tagliatelle al ragù", "Risotto",
                                 "2x Tagliata", "Tiramisù", "2x Zuppa inglese", "6x Caffè", "Acqua", "Bruschetta",
                                 "Tiramisù"},
                                QStringLiteral("Fattura"));
    receipt->SetValue(QStringLiteral("Cliente"), QStringLiteral("Studio Bianchi & Associati S.r.l."));
    receipt->SaveRecord();

    {
        Settings().Ticket.PrinterName = QStringLiteral("PDF: /home/ristorante/Ricevute PDF");
        frmTicketPrintSetting window(nullptr, data.archive.database, data.archive.engine);
        window.resize(window.sizeHint().width() + window.fontMetrics().averageCharWidth() * 20, window.sizeHint().height());
        saver.Save(window, QStringLiteral("ticket-settings"));
    }
    {
        frmTicketPreview preview;
        auto printer = std::make_unique<clsScriptPrinter>();
        TicketGeometry geometry = GeometryOf(Settings().Ticket);
        geometry.columns = 2;
        printer->SetPrinter(std::make_unique<PreviewTarget>(&preview), geometry);
        if (!TicketEmission(*receipt, printer, 1, QString()))
            return 1;
        saver.Save(preview, QStringLiteral("ticket-preview"));
    }
    if (suffix.isEmpty()) {
        const QString pdf = work + QStringLiteral("/ricevuta.pdf");
        auto printer = std::make_unique<clsScriptPrinter>();
        TicketGeometry geometry = GeometryOf(Settings().Ticket);
        geometry.top = 5.0f;
        geometry.left = 2.0f;
        printer->SetPrinter(PrinterTarget::ForPdf(pdf), geometry);
        if (!TicketEmission(*receipt, printer, 1, QString()))
            return 1;
        const QString pdftoppm = QStandardPaths::findExecutable(QStringLiteral("pdftoppm"));
        if (pdftoppm.isEmpty()) {
            std::fprintf(stderr, "pdftoppm is missing: no picture of the PDF\n");
        } else {
            QProcess render;
            // One picture per page: ticket-pdf-1.png, ticket-pdf-2.png.
            render.start(pdftoppm, {QStringLiteral("-r"), QStringLiteral("100"), QStringLiteral("-png"), pdf, QStringLiteral(MENSORA_SOURCE_DIR "/docs/screenshots/ticket-pdf")});
            if (!render.waitForFinished(60000) || render.exitCode() != 0) {
                std::fprintf(stderr, "pdftoppm failed\n");
                return 1;
            }
        }
    }
    return saver.Failed() ? 1 : 0;
}
