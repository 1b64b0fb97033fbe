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
    TypeToSearch,  // a typing key while a search takes typing
};

// What a key press does. searchTakesTyping: a search on a field would
// receive a typed key (the "Find" button holds a field to search in, and the
// search is there); otherwise typing keys go on to the control. text: what
// the key types, for the letters that have no key code of their own.
PreviewCommand PreviewKey(int key, Qt::KeyboardModifiers modifiers, bool searchTakesTyping,
                          const QString& text = QString());

// The question asked before the euro conversion.
QString EuroConversionQuestion();
