#include "browser/GridTotals.h"

#include "component/DataObject.h"
#include "component/SqlDialect.h"

#include <cmath>

namespace GridTotals {

QString Message(DataObject& data, const QString& field, Kind kind)
{
    const FieldInfo& info = data.RequireField(field);
    const int index = data.FieldIndex(field);
    QVariant value = data.Aggregate(info.name, int(kind));
    // The average of whole numbers is shown as the field shows its values.
    if (kind == Kind::Average && info.type == FieldType::Long)
        value = QVariant(qint64(std::llround(value.toDouble())));
    const QString head = kind == Kind::Total ? QStringLiteral("Totale < ") : QStringLiteral("Media < ");
    return head + info.caption + QStringLiteral(" >\r\r") + data.FormatValue(index, value);
}

} // namespace GridTotals
