#pragma once
// The records related to the current record of a data object, as the
// archive's definitions relate them: the records it is associated with
// through its reference fields, the records it refers to, and the records
// that contain it (that refer to it, or own it). Each relation opens as a
// data object over the related records whose parent is the data object it
// came from, so that a chain of opened objects can be walked back.

#include <QList>
#include <QString>
#include <memory>
#include <optional>

class DataObject;

struct RelatedItem
{
    enum class Group {
        Associated, // one per reference field of the table
        Referred,   // one per table the table refers to
        Container   // one per table whose records contain the table's records
    };

    Group group = Group::Associated;
    QString caption;
    bool navigable = true;
    // Associated: the reference opens a collection of records (the rows of a
    // receipt) rather than one record.
    bool collection = false;

    // What the relation is made of: the table at the other end, the
    // reference (its name on the table that holds it) and whether the other
    // table holds it (containers) or this one does.
    QString otherTable;
    QString reference;
    bool ownedBy = false; // Container: the other table owns this one's records
};

namespace RelatedItems {

// The relations of one data object's table, in definition order.
QList<RelatedItem> Of(const DataObject& data, RelatedItem::Group group);

// The data object and the data objects it was opened from, nearest first.
QList<std::shared_ptr<DataObject>> Chain(const std::shared_ptr<DataObject>& data);

// " con stessi ", " con stessa ", " con stesse " or " con stesso ", agreeing
// with the last letter of a field's caption (and its being plural).
QString AgreementPhrase(const QString& fieldCaption, bool plural);

// Whether the related records of the current record can be opened now: not
// while the record is being edited, nor without a current record.
bool NavigationAllowed(DataObject& data);

// The relation numbered `number` (1-based) of a group, counted across the
// chain that starts at `data`: the data object's own relations first, then
// its parent's, and so on. nullopt beyond the last.
struct Target
{
    std::shared_ptr<DataObject> object;
    RelatedItem item;
};
std::optional<Target> Resolve(const std::shared_ptr<DataObject>& data, RelatedItem::Group group, int number);

// A data object over the records of the relation for the current record of
// `data`, with `data` as its parent. Throws Exception(NoCurrentRecord)
// without a current record.
std::shared_ptr<DataObject> Open(const std::shared_ptr<DataObject>& data, const RelatedItem& item);

} // namespace RelatedItems
