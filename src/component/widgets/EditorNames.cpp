#include "component/widgets/EditorNames.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDateTimeEdit>
#include <QLineEdit>

QString EditorObjectName(const QWidget& editor, const QString& field)
{
    if (qobject_cast<const QCheckBox*>(&editor))
        return QStringLiteral("chk") + field;
    if (qobject_cast<const QComboBox*>(&editor))
        return QStringLiteral("cbo") + field;
    if (qobject_cast<const QDateTimeEdit*>(&editor))
        return QStringLiteral("dtp") + field;
    return QStringLiteral("txt") + field;
}
