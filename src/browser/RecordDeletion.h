#pragma once
// Deleting the records a user selected in the grid, one by one, through the
// current data object. The selection is taken as the records' OIDs before
// anything is deleted, so that the rows that move up after each deletion
// never bring an unselected record under the knife.

#include <QList>
#include <functional>

class DataObject;

namespace RecordDeletion {

enum class Outcome {
    Done,  // every record found was deleted
    InUse  // a record referenced by others stopped the loop; it and those after it stay
};

// Deletes the records in order. Before each one `keepGoing` is asked (the
// progress window's step); when it answers false the data object's
// interruption ends the command with "Operazione interrotta" (what was
// deleted stays deleted). A record no longer in the set is skipped.
Outcome DeleteSelected(DataObject& data, const QList<qint64>& oids, const std::function<bool()>& keepGoing);

} // namespace RecordDeletion
