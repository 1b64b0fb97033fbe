#pragma once
// Opening the records related to the current record of a data object (see
// RelatedItems): in the data window, or, for a reference to one record, in
// the record editor. The data window offers the same relations on a right
// click, numbered across the chain of data objects it was opened from.

#include "component/RelatedItems.h"

#include <functional>
#include <memory>

class DataObject;
class QMenu;

namespace RelatedNavigation {

// The header captions of the three groups.
QString GroupCaption(RelatedItem::Group group);

// Opens relation `number` of `group` counted across the chain from `data`.
// A refused navigation shows "Operazione non abilitata in questa fase" and
// does nothing else. Throws Exception when the archive fails.
void Open(const std::shared_ptr<DataObject>& data, RelatedItem::Group group, int number);

// Adds the three groups to `menu`: each group's header (disabled) then its
// entries, numbered across the chain; a group without entries is left out.
// `chosen` runs with the group and number of the entry the user picks.
void Fill(QMenu& menu, const std::shared_ptr<DataObject>& data,
          const std::function<void(RelatedItem::Group, int)>& chosen);

} // namespace RelatedNavigation
