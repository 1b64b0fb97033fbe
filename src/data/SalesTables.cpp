#include "data/SalesTables.h"

#include "component/ComponentGlobal.h"
#include "component/Currency.h"
#include "component/DataObject.h"
#include "component/DatabaseObject.h"
#include "component/Table.h"

#include <QDateTime>


namespace {

// A missing amount counts as zero, so that one row without a price can never
// turn a receipt's total into Null.
Currency AmountOf(const QVariant& value)
{
    return value.isValid() && !value.isNull() ? value.value<Currency>() : Currency();
}

bool IsEmpty(const QVariant& value) { return !value.isValid() || value.isNull(); }

} // namespace

void Menu::DefineIdentity(TableIdentity& identity)
{
    identity.Caption(QStringLiteral("Menù"));
    identity.Version(1.1);
}

void Menu::DefineStructure(ColumnDefiner& columns, IndexDefiner& indexes, ReferenceDefiner& references)
{
    AddColumn(columns, QStringLiteral("Nome"), FieldType::Text, 64);
    AddColumn(columns, QStringLiteral("Descrizione"), FieldType::Text, 255);
    AddColumn(columns, QStringLiteral("Prezzo"), FieldType::Currency);
    AddColumn(columns, QStringLiteral("Ordine_Menù"), FieldType::Long);
    AddReference(references, QStringLiteral("Portata"), QStringLiteral("Portate"), false, QStringLiteral("Descrizione"));
    indexes.AddIndex(QStringLiteral("Nome"), false, QString());
}

void Menu::OnUpdatedTableStruct(DataObject& p_objDS, double, double p_dblOldVersion, bool p_blnCreated)
{
    if (p_blnCreated) {
        p_objDS.AddRecord({QStringLiteral("Nome"), QStringLiteral("Coperto"), QStringLiteral("Descrizione"),
                           QStringLiteral("Coperto"), QStringLiteral("Prezzo"), 1, QStringLiteral("Ordine_Menù"), 0,
                           QStringLiteral("Portata"), QStringLiteral("VARIE")});
        return;
    }
    if (p_dblOldVersion < 1.1) {
        Execute(p_objDS, QStringLiteral("ALTER TABLE Menu DROP Fuori_Menù"));
        Execute(p_objDS, QStringLiteral("UPDATE Menu SET Ordine_Menù = 100"));
    }
}

void RigheRicevute::DefineIdentity(TableIdentity& identity)
{
    identity.Caption(QStringLiteral("Righe Ricevute"));
    identity.BaseTable(QStringLiteral("Menu"));
    identity.ExtensionCaption(QStringLiteral("Righe Ricevute"));
    identity.Version(1.2);
    identity.BaseTableOption(false);
}

void RigheRicevute::DefineStructure(ColumnDefiner& columns, IndexDefiner&, ReferenceDefiner&)
{
    AddColumn(columns, QStringLiteral("Importo_Riga"), FieldType::Currency);
    AddColumn(columns, QStringLiteral("Quantità"), FieldType::Double);
}

void RigheRicevute::OnUpdatedTableStruct(DataObject& p_objDS, double, double p_dblOldVersion, bool)
{
    if (p_dblOldVersion < 1.2) {
        Execute(p_objDS, QStringLiteral("ALTER TABLE RigheRicevute DROP CONSTRAINT Data"));
        Execute(p_objDS, QStringLiteral("ALTER TABLE RigheRicevute DROP CONSTRAINT ProgrScaricoArticolo"));
        Execute(p_objDS, QStringLiteral("ALTER TABLE RigheRicevute DROP Data"));
        Execute(p_objDS, QStringLiteral("ALTER TABLE RigheRicevute DROP Progressivo"));
    }
}

void RigheRicevute::OnNewRow(DataObject& p_objDS) { p_objDS.SetValue(QStringLiteral("Quantità"), 1); }

void RigheRicevute::OnUpdateField(DataObject& p_objDS, const QString& p_strChangedColumnName)
{
    if (p_strChangedColumnName != QStringLiteral("Quantità") && p_strChangedColumnName != QLatin1String("Prezzo"))
        return;
    const QVariant quantity = p_objDS.GetValue(QStringLiteral("Quantità"));
    const QVariant price = p_objDS.GetValue(QStringLiteral("Prezzo"));
    if (IsEmpty(quantity) || IsEmpty(price) || price.value<Currency>() <= Currency())
        return;
    const Currency product = price.value<Currency>().Mul(quantity.toDouble());
    const Currency amount = p_objDS.Database().AdjustAmount(product, 0, 1.0);
    p_objDS.SetValue(QStringLiteral("Importo_Riga"), QVariant::fromValue(amount));
}

void Ricevute::DefineIdentity(TableIdentity& identity) { identity.Version(1.2); }

void Ricevute::DefineStructure(ColumnDefiner& columns, IndexDefiner& indexes, ReferenceDefiner& references)
{
    AddColumn(columns, QStringLiteral("Importo_Ricevuta"), FieldType::Currency, 0, 15, QStringLiteral("Importo della Ricevuta"));
    AddColumn(columns, QStringLiteral("Numero"), FieldType::Long, 0, -100, QStringLiteral("Numerazione progressiva della Ricevuta"));
    AddColumn(columns, QStringLiteral("Data"), FieldType::Date, 0, -100, QStringLiteral("Data Ricevuta"));
    AddColumn(columns, QStringLiteral("AnnoFiscale"), FieldType::Long, 0, 15, QStringLiteral("Anno Fiscale a cui si riferisce la numerazione"));
    AddColumn(columns, QStringLiteral("Note"), FieldType::Text, 128);
    AddReference(references, QStringLiteral("Righe"), QStringLiteral("RigheRicevute"), true, QStringLiteral("Nome"));
    AddReference(references, QStringLiteral("TipoDocumento"), QStringLiteral("TipiDocumento"), false, QStringLiteral("Descrizione"));
    AddReference(references, QStringLiteral("Cliente"), QStringLiteral("Clienti"), false, QStringLiteral("Ragione_Sociale"));
    AddReference(references, QStringLiteral("Pagamento"), QStringLiteral("PagamentiCliente"), true, QStringLiteral("Importo"),
                 QStringLiteral("DataPagamento"));
    IndexDefinition index = indexes.AddIndex(QStringLiteral("Numero"), true, QStringLiteral("NumFiscDoc"));
    index.AddIndexColumn(QStringLiteral("TipoDocumento"));
    index.AddIndexColumn(QStringLiteral("AnnoFiscale"));
}

void Ricevute::OnUpdatedTableStruct(DataObject& p_objDS, double, double p_dblOldVersion, bool p_blnCreated)
{
    if (!p_blnCreated && qFuzzyCompare(p_dblOldVersion, 1.1))
        Execute(p_objDS, QStringLiteral("UPDATE Ricevute SET AnnoFiscale= Year(Data)"));
}

void Ricevute::OnNewRow(DataObject& p_objDS)
{
    p_objDS.SetValue(QStringLiteral("Importo_Ricevuta"), 0);
    p_objDS.SetValue(QStringLiteral("Note"), QStringLiteral(""));
    p_objDS.SetValue(QStringLiteral("Data"), QDateTime::currentDateTime());
}

void Ricevute::OnUpdateField(DataObject& p_objDS, const QString& p_strChangedColumnName)
{
    if (p_strChangedColumnName == QLatin1String("Data")) {
        const QVariant year = p_objDS.GetValue(QStringLiteral("AnnoFiscale"));
        const QVariant date = p_objDS.GetValue(QStringLiteral("Data"));
        const QVariant dateYear = IsEmpty(date) ? QVariant() : QVariant(qint64(date.toDateTime().date().year()));
        if (ComponentGlobal::ValuesEqual(year, dateYear))
            return;
        p_objDS.SetValue(QStringLiteral("AnnoFiscale"), dateYear);
        return;
    }
    if (p_strChangedColumnName == QLatin1String("AnnoFiscale")) {
        const QVariant type = p_objDS.GetValue(QStringLiteral("TipoDocumento"));
        if (IsEmpty(type))
            return;
        Number(p_objDS, p_objDS.ReferenceKey(QStringLiteral("TipoDocumento"), type));
    }
}

void Ricevute::Number(DataObject& p_objDS, const QVariant& documentTypeOid)
{
    if (IsEmpty(documentTypeOid))
        return;
    const QVariant year = p_objDS.GetValue(QStringLiteral("AnnoFiscale"));
    const QString yearCondition = IsEmpty(year) ? QStringLiteral("AnnoFiscale Is Null")
                                                : QStringLiteral("AnnoFiscale = %1").arg(year.toLongLong());
    const QString filter = QStringLiteral("TipiDocumento.OID = %1 AND %2").arg(documentTypeOid.toLongLong()).arg(yearCondition);
    auto receipts = p_objDS.Database().Tables().Item(QStringLiteral("Ricevute")).OpenDataObject(p_objDS.EnginePtr(), filter);
    const qint64 highest = receipts->Aggregate(QStringLiteral("Numero"), 2).toLongLong();
    p_objDS.SetValue(QStringLiteral("Numero"), highest + 1);
}

void Ricevute::OnBeforeUpdateReference(DataObject& p_objDS, const QString& p_strReferenceName,
                                       DataObject* p_objReferencedDS, bool, bool)
{
    if (p_strReferenceName != QLatin1String("Righe"))
        return;
    if (!p_objReferencedDS) {
        p_objDS.SetValue(QStringLiteral("Importo_Ricevuta"), 0);
        return;
    }
    const Currency total = AmountOf(p_objDS.GetValue(QStringLiteral("Importo_Ricevuta")));
    const Currency row = AmountOf(p_objReferencedDS->GetValue(QStringLiteral("Importo_Riga")));
    p_objDS.SetValue(QStringLiteral("Importo_Ricevuta"), QVariant::fromValue(total - row));
}

void Ricevute::OnUpdateReference(DataObject& p_objDS, const QString& p_strReferenceName, DataObject* p_objReferencedDS,
                                 bool, bool)
{
    if (p_strReferenceName == QLatin1String("TipoDocumento")) {
        if (p_objReferencedDS)
            Number(p_objDS, p_objReferencedDS->ValueAt(0));
        return;
    }
    if (p_strReferenceName != QLatin1String("Righe"))
        return;
    if (!p_objReferencedDS) {
        auto rows = p_objDS.OpenReference(QStringLiteral("Righe"));
        p_objDS.SetValue(QStringLiteral("Importo_Ricevuta"), rows->Aggregate(QStringLiteral("Importo_Riga"), 0));
        return;
    }
    const Currency total = AmountOf(p_objDS.GetValue(QStringLiteral("Importo_Ricevuta")));
    const Currency row = AmountOf(p_objReferencedDS->GetValue(QStringLiteral("Importo_Riga")));
    p_objDS.SetValue(QStringLiteral("Importo_Ricevuta"), QVariant::fromValue(total + row));
}
