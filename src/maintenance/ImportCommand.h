#pragma once
// "Importa dati...": the records of the current view's table from another
// archive file, as the user runs it: the warning, the file choice, the
// analysis, the look at the records, the confirmation, the copy in one
// transaction with progress and stop, and the messages.

#include <QString>
#include <memory>

class DataObject;
class DatabaseObject;
class QWidget;

// The command: beeps without a view. True when records were imported (the
// caller then reloads the view).
bool ImportData(DatabaseObject& database, const std::shared_ptr<DataObject>& current, QWidget* owner);

// The import of a chosen file into the table of `current`. True when the
// import was committed.
bool ImportArchive(DatabaseObject& database, const QString& sourcePath, const std::shared_ptr<DataObject>& current,
                   QWidget* owner);
