#pragma once
// The euro conversion as the user runs it: the questions, the message window
// with progress and stop, one transaction, and the closing messages.

class DatabaseObject;
class QWidget;

// Converts every amount of the archive to euro after asking; `owner` is the
// window the message window covers. True when the conversion was committed.
bool ConvertToEuro(DatabaseObject& database, QWidget* owner);
