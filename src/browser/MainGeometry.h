#pragma once
// The main window's geometry as stored under "Settings": position and size
// of its normal rectangle, its state and the splitter position, in twips.

#include <QSettings>

struct MainGeometry
{
    int left = 1000;
    int top = 1000;
    int width = 6500;
    int height = 6500;
    int state = 0;     // 0 normal, 1 minimised, 2 maximised
    int split = 3500;  // the splitter's left
};

// Reads the keys; an absent key, or one whose text is no number, gives the
// first-run value.
MainGeometry ReadMainGeometry(QSettings& store);

// Writes "MainState", the normal rectangle and, only when the splitter is
// right of the left edge, "MainSplit" (a collapsed tree keeps the width
// stored before). Throws Exception when the store cannot be written.
void WriteMainGeometry(QSettings& store, const MainGeometry& geometry);
