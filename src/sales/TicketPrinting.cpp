#include "sales/TicketPrinting.h"

#include "app/AppSettings.h"
#include "component/DataObject.h"
#include "printing/TicketEmission.h"
#include "printing/TicketPrinters.h"

bool PrintReceiptTicket(DataObject& receipt)
{
    // A new print object for every attempt, set up from the stored settings.
    std::unique_ptr<clsScriptPrinter> printer = CreateTicketPrinter(Settings().Ticket);
    return TicketEmission(receipt, printer, 1, QString());
}
