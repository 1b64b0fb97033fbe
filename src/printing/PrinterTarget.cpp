#include "printing/PrinterTarget.h"

#include "printing/QueueAcceptance.h"
#include "printing/TicketPainting.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPrinterInfo>

namespace {

// A new file in `folder` for each document: "Ricevuta <date-time>.pdf", with
// a counter when that exists.
QString NewPdfFile(const QString& folder)
{
    const QDir dir(folder);
    const QString stem = QStringLiteral("Ricevuta ") + QDateTime::currentDateTime().toString(QStringLiteral("yyyy-MM-dd HH.mm.ss"));
    QString name = stem + QStringLiteral(".pdf");
    for (int n = 2; dir.exists(name); ++n)
        name = QStringLiteral("%1 (%2).pdf").arg(stem).arg(n);
    return dir.filePath(name);
}

} // namespace

PrinterTarget::PrinterTarget() : m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution)) {}

PrinterTarget::~PrinterTarget()
{
    if (m_painter.isActive())
        Abort();
}

std::unique_ptr<PrinterTarget> PrinterTarget::ForQueue(const QString& queueName)
{
    std::unique_ptr<PrinterTarget> target(new PrinterTarget);
    QPrinterInfo info;
    for (const QPrinterInfo& candidate : QPrinterInfo::availablePrinters()) {
        if (candidate.printerName() == queueName) {
            info = candidate;
            break;
        }
    }
    if (info.isNull())
        info = QPrinterInfo::defaultPrinter();
    if (info.isNull()) {
        target->m_setupFailure = queueName.isEmpty()
                                ? QStringLiteral("Nessuna stampante installata.")
                                : QStringLiteral("La stampante \"%1\" non è installata e non c'è una stampante predefinita.").arg(queueName);
        return target;
    }
    target->m_queue = info.printerName();
    target->m_printer->setPrinterName(info.printerName());
    target->m_printer->setOutputFormat(QPrinter::NativeFormat);
    // A queue that the system has stopped would keep the job without printing
    // it; one that refuses jobs would drop it without an error.
    if (info.state() == QPrinter::Error || info.state() == QPrinter::Aborted)
        target->m_setupFailure = QStringLiteral("La stampante \"%1\" non è disponibile (disattivata o in errore).").arg(info.printerName());
    else
        target->m_setupFailure = QueueRefusal(info.printerName());
    return target;
}

std::unique_ptr<PrinterTarget> PrinterTarget::ForPdf(const QString& path)
{
    std::unique_ptr<PrinterTarget> target(new PrinterTarget);
    target->m_pdfPath = path;
    target->m_printer->setOutputFormat(QPrinter::PdfFormat);
    target->m_printer->setPageSize(QPageSize(QPageSize::A4));
    target->m_printer->setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);
    target->m_printer->setFullPage(true);
    target->m_printer->setCreator(QStringLiteral("Mensora"));
    target->m_printer->setDocName(QStringLiteral("Ricevuta"));
    if (path.isEmpty())
        target->m_setupFailure = QStringLiteral("Nessun file PDF indicato.");
    return target;
}

QSizeF PrinterTarget::PrintableSize() const
{
    return m_printer->pageLayout().paintRect(QPageLayout::Millimeter).size();
}

double PrinterTarget::PixelsPerMm() const
{
    return m_printer->resolution() / 25.4;
}

bool PrinterTarget::Begin()
{
    if (m_painter.isActive())
        return true;
    if (m_failed)
        return false;
    // Nothing to print needs no printer: the failure counts once something is drawn.
    if (!m_setupFailure.isEmpty()) {
        m_failed = true;
        m_failure = m_setupFailure;
        return false;
    }
    if (!m_pdfPath.isEmpty()) {
        // A path that does not name a ".pdf" file is a folder, made when missing.
        const bool folder = QFileInfo(m_pdfPath).isDir() || !m_pdfPath.endsWith(QStringLiteral(".pdf"), Qt::CaseInsensitive);
        if (folder)
            QDir().mkpath(m_pdfPath);
        m_outputFile = folder ? NewPdfFile(m_pdfPath) : m_pdfPath;
        m_printer->setOutputFileName(m_outputFile);
    }
    if (!m_painter.begin(m_printer.get())) {
        m_failed = true;
        m_failure = m_pdfPath.isEmpty()
                        ? QStringLiteral("Impossibile avviare la stampa sulla stampante \"%1\".").arg(m_queue)
                        : QStringLiteral("Impossibile scrivere il file \"%1\".").arg(QDir::toNativeSeparators(m_outputFile));
        return false;
    }
    m_painter.setRenderHint(QPainter::Antialiasing);
    m_painter.setRenderHint(QPainter::TextAntialiasing);
    m_painter.setFont(TicketPainting::DeviceFont(m_font, m_painter, PixelsPerMm()));
    return true;
}

void PrinterTarget::SetFont(const TicketFont& font)
{
    m_font = font;
    if (m_painter.isActive())
        m_painter.setFont(TicketPainting::DeviceFont(m_font, m_painter, PixelsPerMm()));
}

bool PrinterTarget::BeginDrawing()
{
    if (!Begin())
        return false;
    if (m_pageBreak) {
        m_pageBreak = false;
        if (!m_printer->newPage()) {
            m_failed = true;
            m_failure = QStringLiteral("Impossibile passare alla pagina successiva.");
            return false;
        }
    }
    m_drawnOnPage = true;
    return true;
}

void PrinterTarget::Text(QPointF topLeft, const QString& text)
{
    if (!BeginDrawing())
        return;
    TicketOp op;
    op.kind = TicketOp::Kind::Text;
    op.rect = QRectF(topLeft, QSizeF());
    op.text = text;
    TicketPainting::Paint(m_painter, op, PixelsPerMm());
}

void PrinterTarget::Box(const QRectF& box, const QColor& colour)
{
    if (!BeginDrawing())
        return;
    TicketOp op;
    op.kind = TicketOp::Kind::Box;
    op.rect = box;
    op.colour = colour;
    TicketPainting::Paint(m_painter, op, PixelsPerMm());
}

void PrinterTarget::NewPage()
{
    // The page is fed out when something is drawn on the next one: no blank
    // pages, neither in the middle nor at the end.
    if (m_drawnOnPage) {
        m_pageBreak = true;
        m_drawnOnPage = false;
    }
}

bool PrinterTarget::End(QString* error)
{
    bool ok = !m_failed;
    if (m_painter.isActive()) {
        if (!m_painter.end() && ok) {
            ok = false;
            m_failure = QStringLiteral("La stampa non è stata completata.");
        }
        if (m_printer->printerState() == QPrinter::Error && ok) {
            ok = false;
            m_failure = QStringLiteral("La stampante ha segnalato un errore.");
        }
    }
    if (!ok && error)
        *error = m_failure;
    // The next document starts afresh.
    m_failed = false;
    m_drawnOnPage = false;
    m_pageBreak = false;
    m_failure.clear();
    return ok;
}

void PrinterTarget::Abort()
{
    m_failed = false;
    m_failure.clear();
    if (!m_painter.isActive())
        return;
    m_printer->abort();
    m_painter.end();
    m_drawnOnPage = false;
    m_pageBreak = false;
    // A half-written PDF is no ticket.
    if (!m_outputFile.isEmpty())
        QFile::remove(m_outputFile);
}
