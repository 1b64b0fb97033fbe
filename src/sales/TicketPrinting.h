#pragma once
// The sale's one call into ticket printing: the ticket of a receipt on the
// ticket printer of the stored settings, one copy, the configured layout
// script.

class DataObject;

// True when the ticket was printed completely; a failure has been reported
// by ticket emission itself.
bool PrintReceiptTicket(DataObject& receipt);
