#pragma once
// The print object that the layout scripts receive as `prn`. It works in
// millimetres and keeps where the current ticket lies on the page (tickets
// side by side in columns, lines of tickets below each other, a new page when
// a line no longer fits) and where the current row slot lies inside the
// ticket's row area. Positions the scripts give are relative to the ticket
// while the mask is printed and to the row slot while rows are printed.

#include "printing/TicketTarget.h"

#include <QString>
#include <memory>

namespace vbs {
class ScriptObject;
}

class clsScriptPrinter
{
public:
    clsScriptPrinter();
    // Releasing the object ends the print job (EndTickets).
    ~clsScriptPrinter();
    clsScriptPrinter(const clsScriptPrinter&) = delete;
    clsScriptPrinter& operator=(const clsScriptPrinter&) = delete;

    // Chooses the target, stores the geometry, then InitializeVars.
    void SetPrinter(std::unique_ptr<TicketTarget> target, float ticketHeight, float ticketWidth, float ticketTop,
                    float ticketLeft, qint16 columns, float ticketRowsDim, float ticketRowsTop, float ticketRowsBottom);
    void SetPrinter(std::unique_ptr<TicketTarget> target, const TicketGeometry& geometry);
    // A printer chosen by name (see CreateTicketTarget).
    void SetPrinter(const QString& printerName, const TicketGeometry& geometry);

    // Back to the first ticket; a height or width of 0 becomes the printable size.
    void InitializeVars();
    void TxtOut(float nYPos, float nXPos, const QString& sText);
    void BoxOut(float nYPos, float nXPos, float nYDim, float nXDim);
    void NextTicket();
    void NextTicketRow();
    // An empty font name keeps the current font; sizes are points.
    void SetFont(qint16 nSize, bool bBold, bool bItalic, const QString& sFontName);
    // Ends the document: it goes to the printer. False when it could not be
    // printed (LastError tells why).
    bool EndTickets();
    // Drops the job: nothing drawn so far is printed.
    void Abort();

    bool RowPrinting() const { return m_rowPrinting; }
    // A change of value first puts the row slot back to the first one.
    void SetRowPrinting(bool value);
    float CurX() const;
    float CurY() const;
    // Whether the row just printed filled the last slot that the next row
    // could still use.
    bool LastRow() const;

    const TicketGeometry& Geometry() const { return m_geometry; }
    float ColumnOffset() const { return m_columnOffset; }
    float TicketOffset() const { return m_ticketOffset; }
    float RowOffset() const { return m_rowOffset; }
    qint16 ColumnIndex() const { return m_columnIndex; }
    const TicketFont& Font() const { return m_font; }
    TicketTarget* Target() const { return m_target.get(); }
    QString LastError() const { return m_lastError; }

    // The object the scripts see as `prn`.
    std::shared_ptr<vbs::ScriptObject> ScriptObject();

private:
    void DrawTicketFrame();

    std::unique_ptr<TicketTarget> m_target;
    TicketGeometry m_geometry;
    float m_columnOffset = 0.0f;
    float m_ticketOffset = 0.0f;
    float m_rowOffset = 0.0f;
    qint16 m_columnIndex = 0;
    bool m_rowPrinting = false;
    bool m_pending = false; // a job that EndTickets has not ended yet
    TicketFont m_font;
    QString m_lastError;
    std::shared_ptr<class ScriptPrinterObject> m_scriptObject;
};
