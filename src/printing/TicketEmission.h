#pragma once
// Printing a receipt through the restaurant's layout script: PrintTicketRow
// draws each row in its slot of the ticket's row area; when a ticket's rows
// are full PrintTicketMask draws its frame with bTotal False and printing
// goes on on the next ticket; after the last row the mask is drawn with
// bTotal True. Either function stops the printing by returning False.
//
// The script text is compiled once per emission; every mask and row call
// runs on fresh script state, so no script variable survives from one call
// to the next.

#include "script/Limits.h"

#include <QString>
#include <memory>

class DataObject;
class clsScriptPrinter;

// Prints `copies` copies of the current receipt of `receipt` (a data object
// on Ricevute) on `printer`, with `scriptText` (empty: the configured
// script). The printer is released at the end, whatever the outcome, which
// ends the print job; on failure the job is dropped first, so nothing of a
// stopped receipt is printed. True when every copy was printed completely
// and the printer took the document. Errors are reported in message boxes.
bool TicketEmission(DataObject& receipt, std::unique_ptr<clsScriptPrinter>& printer, int copies,
                    const QString& scriptText);

// Runs PrintTicketMask once for the current receipt, positions relative to the
// ticket. False when the script returned False or failed (reported).
bool RunTicketMask(DataObject& receipt, clsScriptPrinter& printer, const QString& scriptText, bool bTotal);

// Runs PrintTicketRow once for the current row of `rows`, moving to the next
// row slot first when nRow > 1.
bool RunTicketRow(DataObject& rows, clsScriptPrinter& printer, const QString& scriptText, qint32 nRow);

// The limits every layout script call runs under (time limit included).
vbs::Limits& TicketScriptLimits();

// Sets the time limit of each script call for the lifetime of a scope.
class ScopedTicketTimeLimit
{
public:
    explicit ScopedTicketTimeLimit(int milliseconds);
    ~ScopedTicketTimeLimit();
    ScopedTicketTimeLimit(const ScopedTicketTimeLimit&) = delete;
    ScopedTicketTimeLimit& operator=(const ScopedTicketTimeLimit&) = delete;

private:
    int m_previous;
};

// The order the rows of a receipt print in: by their course's print order,
// then as they were added.
inline const QString TicketRowsOrder = QStringLiteral("Portate.Ordine_Di_Stampa,RigheRicevute.OID");
