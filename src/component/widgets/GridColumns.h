#pragma once
// Column widths that fit a grid's headers and its first rows, for the
// engine's list windows (the main grid keeps the user's own widths).

class QTableView;

// Sizes every column to its header and the texts of the first `sampleRows`
// rows, between 60 and 320 pixels. Returns the total width of the columns.
int FitColumnsToContents(QTableView& view, int sampleRows = 50);
