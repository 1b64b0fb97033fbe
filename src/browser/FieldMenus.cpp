#include "browser/FieldMenus.h"

#include "component/DataObject.h"
#include "component/SqlDialect.h"

FieldMenus BuildFieldMenus(const DataObject& view)
{
    FieldMenus menus;
    int remembered = 0;
    for (int i = 0; i < view.FieldCount(); ++i) {
        const FieldInfo& f = view.Field(i);
        if (FieldType::IsText(f.type)) {
            menus.search.append({f.caption, f.name});
            menus.filter.append({f.name, f.name});
            menus.find.append({f.caption, f.name});
            // The first text of a middle length is what people look for.
            if (remembered == 0 && f.size > 16 && f.size < 129)
                remembered = int(menus.find.size());
        }
        if (!f.excluded)
            menus.order.append({f.caption, f.name});
        const bool numeric = f.type == FieldType::Currency || f.type == FieldType::Double || f.type == FieldType::Long;
        if (!f.excluded && numeric && !f.name.startsWith(QLatin1String("OID"), Qt::CaseInsensitive)) {
            menus.total.append({f.name, f.name});
            menus.average.append({f.name, f.name});
        }
    }
    if (!menus.find.isEmpty())
        menus.findDefault = remembered > 0 ? remembered : 1;
    return menus;
}
