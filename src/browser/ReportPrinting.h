#pragma once
// Printing, previewing and exporting the archive's lists: the print dialog
// then every page to the printer, the preview window, or a PDF file, each
// drawn page by page with the message window's progress and stop button.

#include "browser/ArchiveReport.h"

#include <QString>
#include <functional>
#include <memory>

class DataObject;
class QPrinter;
class QWidget;

namespace ReportPrinting {

enum class Mode { Print = 0, Preview = 1, Export = 2 };

// The list of a view with its texts and margins (those of the receipt list
// come from the settings), ready to be laid out.
std::unique_ptr<ArchiveReport> MakeReport(std::shared_ptr<DataObject> data, const ReportDefinition& definition,
                                          const QString& sectionKey);

// A printer set up for the report's page: A4 in its orientation.
void PreparePrinter(QPrinter& printer, const ArchiveReport& report);

// The print dialog, then the pages chosen there. False when cancelled or
// stopped (nothing more is printed then). Throws Exception on failure.
bool Print(ArchiveReport& report, QWidget* owner);

// Asks for a PDF file and writes every page into it; an existing file is
// replaced only after the user agrees, and only once the new one is whole.
// False when cancelled or stopped. Throws Exception on failure.
bool ExportPdf(ArchiveReport& report, QWidget* owner);

// The same without asking: every page into `path`.
bool WritePdf(ArchiveReport& report, const QString& path, QWidget* owner);

// The report routine of the main window's three commands: the list of the
// view in the given mode, the ticket of the current receipt in a receipts
// section (through `ticketPreview`), or the message that the table has
// none. The view keeps its current record. An error ends it with
// "Operazione fallita..." and the error's description.
void Run(const std::shared_ptr<DataObject>& data, Mode mode, const QString& sectionKey, QWidget* owner,
         const std::function<void()>& ticketPreview);

} // namespace ReportPrinting
