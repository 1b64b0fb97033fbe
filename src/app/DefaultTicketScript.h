#pragma once
// The layout script a new installation prints tickets with: the mask function
// followed by the row function. Both only return True; the comments tell the
// restaurant which fields and drawing methods it can use.

#include <QString>

// The mask function, lines joined by CR LF, ending with "End Function" and
// two CR LF pairs.
QString DefaultTicketMaskScript();

// The row function, in the same form.
QString DefaultTicketRowScript();

// The mask function followed by the row function.
QString DefaultTicketScript();
