#pragma once
// The ticket printer as the settings name it, and the print object built for
// the stored settings. The printer name is one of:
//   the name of a print queue of the system;
//   "PDF: <file or folder>"                    a PDF file (a new one per document in a folder);
//   "ESC/POS 80 mm: <device or host:port>"     a thermal receipt printer 576 dots wide;
//   "ESC/POS 58 mm: <device or host:port>"     the same, 384 dots wide.
// Queue names cannot hold spaces, so the two forms never meet.
//
// Tests of the windows that print put ScopedTicketPrinter in place: while it
// lives, every printer made here is a recording target writing into its
// record.

#include "app/AppSettings.h"
#include "printing/RecordingTarget.h"
#include "printing/TicketTarget.h"
#include "printing/clsScriptPrinter.h"

#include <QString>
#include <memory>

struct PrinterChoice
{
    enum class Kind { Queue, Pdf, EscPos };
    Kind kind = Kind::Queue;
    QString target; // queue name, PDF path, device file or host:port
    int dots = 576; // ESC/POS: dots per line
};

PrinterChoice ParsePrinterName(const QString& printerName);
QString PdfPrinterName(const QString& path);
QString EscPosPrinterName(int dots, const QString& destination);

// The target a printer name stands for.
std::unique_ptr<TicketTarget> CreateTicketTarget(const QString& printerName);

TicketGeometry GeometryOf(const TicketSettings& settings);

// The print object for a printer name and geometry, ready for an emission.
std::unique_ptr<clsScriptPrinter> CreateTicketPrinter(const QString& printerName, const TicketGeometry& geometry);
// The print object for the stored ticket settings (the configured printer).
std::unique_ptr<clsScriptPrinter> CreateTicketPrinter(const TicketSettings& settings = Settings().Ticket);

class ScopedTicketPrinter
{
public:
    ScopedTicketPrinter();
    ~ScopedTicketPrinter();
    ScopedTicketPrinter(const ScopedTicketPrinter&) = delete;
    ScopedTicketPrinter& operator=(const ScopedTicketPrinter&) = delete;

    TicketRecord& Record() { return *m_record; }
    // Makes every document end in failure with `text` (a printer that is not
    // ready); an empty text prints again.
    void FailPrinting(const QString& text) { m_record->endFailure = text; }

private:
    std::shared_ptr<TicketRecord> m_record;
    std::shared_ptr<TicketRecord> m_previous;
};
