#include "browser/ReportPrinting.h"

#include "app/AppSettings.h"
#include "app/frmMessage.h"
#include "browser/PeriodSelection.h"
#include "browser/frmReportPreview.h"
#include "component/ComponentErrors.h"
#include "component/ComponentGlobal.h"
#include "component/DataObject.h"
#include "component/Exception.h"
#include "component/widgets/DialogService.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPdfWriter>
#include <QPrinter>

namespace ReportPrinting {

namespace {

// Draws the pages with the message window's bar and stop button.
bool RenderWithProgress(ArchiveReport& report, QPagedPaintDevice& device, int from, int to, const QString& text,
                        QWidget* owner)
{
    ScopedMessage message(text, owner);
    const int last = to < 0 ? report.PageCount() - 1 : std::min(to, report.PageCount() - 1);
    MessageWindow().StartProgress(std::max(1, last - from + 1), true);
    return report.Render(device, from, to, [](int done, int) { return MessageWindow().Progress(done); });
}

QString ErrorText(const std::exception& error)
{
    if (const auto* own = dynamic_cast<const Exception*>(&error))
        return own->Description();
    return QString::fromUtf8(error.what());
}

} // namespace

std::unique_ptr<ArchiveReport> MakeReport(std::shared_ptr<DataObject> data, const ReportDefinition& definition,
                                          const QString& sectionKey)
{
    ArchiveReport::Texts texts{sectionKey, SelectionDescription(), QDate::currentDate()};
    auto report = std::make_unique<ArchiveReport>(std::move(data), definition, texts);
    if (definition.marginsFromSettings) {
        QMarginsF margins = report->Margins();
        margins.setLeft(MarginMillimetres(Settings().PrintLeft));
        margins.setTop(MarginMillimetres(Settings().PrintTop));
        report->SetMargins(margins);
    }
    return report;
}

void PreparePrinter(QPrinter& printer, const ArchiveReport& report)
{
    printer.setFullPage(false);
    printer.setPageLayout(report.PageLayout());
    printer.setDocName(report.Definition().name);
}

bool Print(ArchiveReport& report, QWidget* owner)
{
    QPrinter printer(QPrinter::HighResolution);
    PreparePrinter(printer, report);
    report.Layout(printer, QSizeF(printer.width(), printer.height()));
    printer.setFromTo(1, report.PageCount());
    if (!Dialogs().PrintDialog(printer, QStringLiteral("Stampa")))
        return false;
    // The dialog may have changed the printer or its paper: measure again.
    report.Layout(printer, QSizeF(printer.width(), printer.height()));
    int from = 0;
    int to = -1;
    if (printer.printRange() == QPrinter::PageRange && printer.fromPage() > 0) {
        from = printer.fromPage() - 1;
        to = std::max(printer.toPage(), printer.fromPage()) - 1;
    }
    if (!RenderWithProgress(report, printer, from, to, QStringLiteral("Stampa in corso..."), owner)) {
        printer.abort();
        return false;
    }
    if (printer.printerState() == QPrinter::Error)
        throw Exception(ComponentError::Io, QStringLiteral("La stampante non ha accettato il documento"));
    return true;
}

bool ExportPdf(ArchiveReport& report, QWidget* owner)
{
    const QString folder = ComponentGlobal::DocumentsFolder();
    QString name = report.DocumentTitle();
    for (const QChar c : QStringLiteral("/\\:*?\"<>|"))
        name.replace(c, u'-');
    const auto path = Dialogs().GetSaveFileName(QStringLiteral("Esporta stampa"), folder,
                                                name + QStringLiteral(".pdf"),
                                                QStringLiteral("Documento PDF|*.pdf"));
    if (!path)
        return false;
    if (QFileInfo::exists(*path)
        && Dialogs().MessageBox(QStringLiteral("Il file «%1» esiste già.\r\rSostituirlo?").arg(QDir::toNativeSeparators(*path)),
                                MsgButtons::YesNo, MsgIcon::Question, MsgDefault::Button2, QString())
               != MsgResult::Yes)
        return false;
    return WritePdf(report, *path, owner);
}

bool WritePdf(ArchiveReport& report, const QString& path, QWidget* owner)
{
    // Written aside and put in place once whole: a stop or a failure leaves
    // the previous file as it was.
    const QString partial = path + QStringLiteral(".part");
    QFile::remove(partial);
    bool done = false;
    {
        QPdfWriter writer(partial);
        writer.setPageLayout(report.PageLayout());
        writer.setTitle(report.DocumentTitle());
        writer.setCreator(QStringLiteral("Mensora"));
        report.Layout(writer, QSizeF(writer.width(), writer.height()));
        done = RenderWithProgress(report, writer, 0, -1, QStringLiteral("Esportazione stampa in corso..."), owner);
    }
    if (!done) {
        QFile::remove(partial);
        return false;
    }
    if (!QFileInfo(partial).isFile() || QFileInfo(partial).size() == 0) {
        QFile::remove(partial);
        throw Exception(ComponentError::Io, QStringLiteral("Impossibile scrivere il file «%1»").arg(path));
    }
    QFile::remove(path);
    if (!QFile::rename(partial, path)) {
        QFile::remove(partial);
        throw Exception(ComponentError::Io, QStringLiteral("Impossibile scrivere il file «%1»").arg(path));
    }
    return true;
}

void Run(const std::shared_ptr<DataObject>& data, Mode mode, const QString& sectionKey, QWidget* owner,
         const std::function<void()>& ticketPreview)
{
    // The grid stays on its record whatever the report reads.
    QVariant current;
    try {
        if (!data->NoCurrentRecord())
            current = data->ValueAt(0);
        const ReportChoice choice = ChooseReport(data->TableName(), sectionKey);
        switch (choice.kind) {
        case ReportChoice::Kind::None:
            Dialogs().MessageBox(NoReportMessage(data->TableName()), MsgButtons::Ok, MsgIcon::Information,
                                 MsgDefault::Button1, QString());
            break;
        case ReportChoice::Kind::TicketPreview:
            if (ticketPreview)
                ticketPreview();
            break;
        case ReportChoice::Kind::List: {
            const auto report = MakeReport(data, choice.definition, sectionKey);
            if (mode == Mode::Preview) {
                frmReportPreview preview(*report, report->DocumentTitle(), owner);
                Dialogs().ExecModal(preview);
            } else if (mode == Mode::Export) {
                ExportPdf(*report, owner);
            } else {
                Print(*report, owner);
            }
            break;
        }
        }
    } catch (const std::exception& error) {
        Dialogs().MessageBox(QStringLiteral("Operazione fallita...\r\r") + ErrorText(error), MsgButtons::Ok,
                             MsgIcon::Critical, MsgDefault::Button1, QString());
    }
    try {
        if (current.isValid())
            data->FindKey(current);
    } catch (const Exception&) {
        // The record may have gone meanwhile; the grid shows where it is.
    }
}

} // namespace ReportPrinting
