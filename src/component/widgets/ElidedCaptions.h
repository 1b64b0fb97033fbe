#pragma once
// Captions that do not fit their control are elided at their end ("Importo
// della Ric…"), never cut on both sides as a centred text wider than its
// control would be: the column headers of a grid, the text of a tool button
// or a push button. The control's own text stays whole (tooltips, tests and
// accessibility read it).

class QWidget;

// From now on the widget draws its captions elided where they do not fit.
void ElideCaptions(QWidget& widget);
