#include "sales/TicketPrinting.h"

#include "component/DataObject.h"

bool PrintReceiptTicket(DataObject&)
{
    // Ticket emission is not part of this build yet: nothing was printed.
    return false;
}
