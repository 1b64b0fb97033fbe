#include "printing/TicketPrinters.h"

#include "printing/EscPosTarget.h"
#include "printing/PrinterTarget.h"

namespace {

const QString PdfPrefix = QStringLiteral("PDF:");
const QString EscPos80 = QStringLiteral("ESC/POS 80 mm:");
const QString EscPos58 = QStringLiteral("ESC/POS 58 mm:");

std::shared_ptr<TicketRecord> g_override;

} // namespace

PrinterChoice ParsePrinterName(const QString& printerName)
{
    PrinterChoice choice;
    const auto rest = [&](const QString& prefix) { return printerName.mid(prefix.size()).trimmed(); };
    if (printerName.startsWith(PdfPrefix, Qt::CaseInsensitive)) {
        choice.kind = PrinterChoice::Kind::Pdf;
        choice.target = rest(PdfPrefix);
    } else if (printerName.startsWith(EscPos80, Qt::CaseInsensitive)) {
        choice.kind = PrinterChoice::Kind::EscPos;
        choice.target = rest(EscPos80);
        choice.dots = 576;
    } else if (printerName.startsWith(EscPos58, Qt::CaseInsensitive)) {
        choice.kind = PrinterChoice::Kind::EscPos;
        choice.target = rest(EscPos58);
        choice.dots = 384;
    } else {
        choice.target = printerName;
    }
    return choice;
}

QString PdfPrinterName(const QString& path)
{
    return PdfPrefix + u' ' + path;
}

QString EscPosPrinterName(int dots, const QString& destination)
{
    return (dots <= 384 ? EscPos58 : EscPos80) + u' ' + destination;
}

std::unique_ptr<TicketTarget> CreateTicketTarget(const QString& printerName)
{
    if (g_override) {
        g_override->printerNames << printerName;
        return std::make_unique<RecordingTarget>(g_override);
    }
    const PrinterChoice choice = ParsePrinterName(printerName);
    switch (choice.kind) {
    case PrinterChoice::Kind::Pdf:
        return PrinterTarget::ForPdf(choice.target);
    case PrinterChoice::Kind::EscPos:
        return EscPosTarget::ForDestination(choice.target, choice.dots);
    case PrinterChoice::Kind::Queue:
        break;
    }
    return PrinterTarget::ForQueue(choice.target);
}

TicketGeometry GeometryOf(const TicketSettings& s)
{
    return TicketGeometry{s.TicketHeight, s.TicketWidth, s.TicketTop, s.TicketLeft, s.ModuleColumns,
                          s.TicketRowsDim, s.TicketRowsTop, s.TicketRowsBottom};
}

std::unique_ptr<clsScriptPrinter> CreateTicketPrinter(const QString& printerName, const TicketGeometry& geometry)
{
    auto printer = std::make_unique<clsScriptPrinter>();
    printer->SetPrinter(printerName, geometry);
    return printer;
}

std::unique_ptr<clsScriptPrinter> CreateTicketPrinter(const TicketSettings& settings)
{
    return CreateTicketPrinter(settings.PrinterName, GeometryOf(settings));
}

ScopedTicketPrinter::ScopedTicketPrinter() : m_record(std::make_shared<TicketRecord>()), m_previous(g_override)
{
    g_override = m_record;
}

ScopedTicketPrinter::~ScopedTicketPrinter()
{
    g_override = m_previous;
}
