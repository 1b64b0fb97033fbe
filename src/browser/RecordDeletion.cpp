#include "browser/RecordDeletion.h"

#include "component/DataObject.h"

namespace RecordDeletion {

Outcome DeleteSelected(DataObject& data, const QList<qint64>& oids, const std::function<bool()>& keepGoing)
{
    for (const qint64 oid : oids) {
        if (keepGoing && !keepGoing())
            data.Interrupt(QStringLiteral("Operazione interrotta"));
        if (!data.FindKey(oid))
            continue;
        if (data.IsInUse())
            return Outcome::InUse;
        if (!data.NoCurrentRecord())
            data.DeleteRecord();
    }
    return Outcome::Done;
}

} // namespace RecordDeletion
