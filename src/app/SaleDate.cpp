#include "app/SaleDate.h"

namespace {

const QString kFormat = QStringLiteral("dd/MM/yyyy");

QString& Stored()
{
    static QString text;
    return text;
}

} // namespace

QString SaleDate()
{
    return Stored();
}

void SetSaleDate(const QDate& date)
{
    Stored() = date.toString(kFormat);
}

QDate SaleDateValue()
{
    return QDate::fromString(Stored(), kFormat);
}
