#pragma once
// A record's fields as the layout scripts see them (flds("Nome"),
// flds("Nome").Value, flds(0), flds.Count, For Each): amounts as the
// Currency subtype, dates as dates, Null as Null, references as the
// referenced record's display value.

#include "script/Variant.h"

#include <QVariant>
#include <memory>

class DataObject;
namespace vbs {
class FieldCollection;
}

namespace TicketFields {

// The script value of a value read from the archive.
vbs::Variant ScriptValue(const QVariant& value);

// Every field of the current record; every field Null when there is none.
std::shared_ptr<vbs::FieldCollection> Current(DataObject& data);

// The fields of the record that a look-up reference of the current record
// points to; every field Null when the reference is empty.
std::shared_ptr<vbs::FieldCollection> Referenced(DataObject& data, const QString& reference);

} // namespace TicketFields
