#pragma once
// Creating, indexing and resizing arrays. Raises VbError: 9 for an index
// out of range or a wrong number of indexes, 7 when an array would be too
// large.

#include "script/ScriptObject.h"
#include "script/Variant.h"

#include <memory>
#include <span>
#include <vector>

namespace vbs::ArrayOps {

// An array with the given upper bounds (each -1 or more); `maxElements`
// limits the total size.
std::shared_ptr<VbArray> Make(const std::vector<qint32>& upper, qint64 maxElements);
// A one-dimensional array of the given values.
Variant FromValues(std::vector<Variant> values);
Variant& Element(VbArray& array, Args indexes);
const Variant& Element(const VbArray& array, Args indexes);
// ReDim Preserve: only the last dimension may change.
void Resize(VbArray& array, const std::vector<qint32>& upper, qint64 maxElements);
qint32 UpperBound(const VbArray& array, int dimension); // 1-based dimension

} // namespace vbs::ArrayOps
