#pragma once
// Tickets on a page printer through the system's print queues, or into a PDF
// file with the same geometry. The document begins with the first drawing
// and goes to the printer (or the file) at End; a job dropped by Abort
// prints nothing.

#include "printing/TicketTarget.h"

#include <QPainter>
#include <QPrinter>
#include <memory>

class PrinterTarget : public TicketTarget
{
public:
    // The queue of that name; when no installed printer has it, the system's
    // default printer.
    static std::unique_ptr<PrinterTarget> ForQueue(const QString& queueName);
    // A PDF file on A4 paper, the whole page printable. When `path` does not
    // name a ".pdf" file it is a folder, and each document gets a new file there.
    static std::unique_ptr<PrinterTarget> ForPdf(const QString& path);

    ~PrinterTarget() override;

    QSizeF PrintableSize() const override;
    void SetFont(const TicketFont& font) override;
    void Text(QPointF topLeft, const QString& text) override;
    void Box(const QRectF& box, const QColor& colour) override;
    void NewPage() override;
    bool End(QString* error) override;
    void Abort() override;
    QString Failure() const override { return m_failure; }

    QPrinter& Printer() { return *m_printer; }
    // The file the last PDF document was written to.
    QString OutputFile() const { return m_outputFile; }

private:
    PrinterTarget();
    bool Begin();
    // Begins the document and feeds out the page before when one was asked for.
    bool BeginDrawing();
    double PixelsPerMm() const;

    std::unique_ptr<QPrinter> m_printer;
    QPainter m_painter;
    TicketFont m_font;
    QString m_queue;        // the queue printed to (empty for PDF)
    QString m_pdfPath;      // as given: a file or a folder
    QString m_outputFile;
    bool m_drawnOnPage = false;
    bool m_pageBreak = false;
    QString m_setupFailure; // no such printer, or one that cannot print
    bool m_failed = false;  // this document could not be printed
    QString m_failure;
};
