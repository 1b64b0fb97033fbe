#pragma once
// The keys the main window handles before its controls see them.

#include <QString>
#include <Qt>

enum class PreviewCommand {
    None,          // the key goes on to the control
    EuroConversion,// Ctrl+Shift+Alt+R: ask, then convert the archive's amounts
    NewRecord,     // Insert or the keypad's "+"
    DeleteRecord,  // Delete
    EditRecord,    // Enter: as a double click on the grid
    TypeToSearch,  // a typing key while a search field is chosen
};

// What a key press does. searchFieldChosen: the "Find" button holds a
// field to search in.
PreviewCommand PreviewKey(int key, Qt::KeyboardModifiers modifiers, bool searchFieldChosen);

// The question asked before the euro conversion.
QString EuroConversionQuestion();
