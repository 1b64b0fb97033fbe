#include "script/StringLimit.h"

#include "script/ScriptError.h"

namespace vbs::StringLimit {

namespace {
thread_local qint64 t_max = qint64(1) << 24;
}

qint64 Max()
{
    return t_max;
}

void Set(qint64 maxLength)
{
    t_max = maxLength;
}

void Check(qint64 length)
{
    if (length > t_max)
        throw VbError(Err::OutOfStringSpace);
}

} // namespace vbs::StringLimit
