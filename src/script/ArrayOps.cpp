#include "script/ArrayOps.h"

#include "script/ArgList.h"

#include "script/Convert.h"
#include "script/ScriptError.h"

namespace vbs::ArrayOps {

namespace {
qint64 Count(const std::vector<qint32>& upper, qint64 maxElements)
{
    qint64 count = upper.empty() ? 0 : 1;
    for (qint32 b : upper) {
        if (b < -1)
            throw VbError(Err::SubscriptRange);
        count *= qint64(b) + 1;
        if (count > maxElements)
            throw VbError(Err::OutOfMemory);
    }
    return count;
}

size_t Offset(const VbArray& array, Args indexes)
{
    if (indexes.size() != array.upper.size() || indexes.empty())
        throw VbError(Err::SubscriptRange);
    size_t offset = 0;
    size_t stride = 1;
    for (size_t d = 0; d < indexes.size(); ++d) {
        const qint32 i = Convert::ToLong(*indexes[d]);
        if (i < 0 || i > array.upper[d])
            throw VbError(Err::SubscriptRange);
        offset += size_t(i) * stride;
        stride *= size_t(array.upper[d]) + 1;
    }
    return offset;
}
} // namespace

std::shared_ptr<VbArray> Make(const std::vector<qint32>& upper, qint64 maxElements)
{
    const qint64 count = Count(upper, maxElements);
    auto array = std::make_shared<VbArray>();
    array->upper = upper;
    array->data.resize(size_t(count));
    return array;
}

Variant FromValues(std::vector<Variant> values)
{
    auto array = std::make_shared<VbArray>();
    array->upper = {qint32(values.size()) - 1};
    array->data = std::move(values);
    return Variant::Array(std::move(array));
}

Variant& Element(VbArray& array, Args indexes)
{
    return array.data[Offset(array, indexes)];
}

const Variant& Element(const VbArray& array, Args indexes)
{
    return array.data[Offset(array, indexes)];
}

void Resize(VbArray& array, const std::vector<qint32>& upper, qint64 maxElements)
{
    const qint64 count = Count(upper, maxElements);
    if (!array.upper.empty()) {
        if (array.upper.size() != upper.size())
            throw VbError(Err::SubscriptRange);
        for (size_t d = 0; d + 1 < upper.size(); ++d)
            if (array.upper[d] != upper[d])
                throw VbError(Err::SubscriptRange);
    }
    array.upper = upper;
    array.data.resize(size_t(count));
}

qint32 UpperBound(const VbArray& array, int dimension)
{
    if (dimension < 1 || dimension > array.Dimensions())
        throw VbError(Err::SubscriptRange);
    return array.upper[size_t(dimension - 1)];
}

} // namespace vbs::ArrayOps

namespace vbs {

void ArgList::WriteBackElements()
{
    for (Element& e : m_elements) {
        if (!e.array->IsArray())
            continue;
        std::vector<Variant*> indexes;
        for (Variant& i : e.indexes)
            indexes.push_back(&i);
        try {
            ArrayOps::Element(e.array->MutableArray(), indexes) = m_values[e.arg];
        } catch (const VbError&) {
            // The element is gone: the array was made smaller by the callee.
        }
    }
}

} // namespace vbs
