#include "data/CodeTables.h"

#include "component/DataObject.h"

#include <QDateTime>


void TipiPagamento::DefineIdentity(TableIdentity& identity) { identity.Caption(QStringLiteral("Tipi Pagamento")); }

void TipiPagamento::DefineStructure(ColumnDefiner& columns, IndexDefiner& indexes, ReferenceDefiner&)
{
    AddColumn(columns, QStringLiteral("Descrizione"), FieldType::Text, 32);
    indexes.AddIndex(QStringLiteral("Descrizione"), true, QString());
}

void TipiPagamento::OnUpdatedTableStruct(DataObject& p_objDS, double, double, bool p_blnCreated)
{
    if (!p_blnCreated)
        return;
    for (const char* name : {"Contanti", "Assegno", "Bonifico", "Posticipato", "Altro"})
        p_objDS.AddRecord({QStringLiteral("Descrizione"), QString::fromUtf8(name)});
}

void TipiDocumento::DefineIdentity(TableIdentity& identity)
{
    identity.Caption(QStringLiteral("Tipi Documento"));
    identity.Version(1.1);
}

void TipiDocumento::DefineStructure(ColumnDefiner& columns, IndexDefiner& indexes, ReferenceDefiner&)
{
    AddColumn(columns, QStringLiteral("Descrizione"), FieldType::Text, 32);
    AddColumn(columns, QStringLiteral("Fattura"), FieldType::Boolean);
    AddColumn(columns, QStringLiteral("Ricevuta_Fiscale"), FieldType::Boolean);
    indexes.AddIndex(QStringLiteral("Descrizione"), true, QString());
}

void TipiDocumento::OnUpdatedTableStruct(DataObject& p_objDS, double, double, bool p_blnCreated)
{
    if (!p_blnCreated)
        return;
    p_objDS.AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Fattura"), QStringLiteral("Fattura"), true});
    p_objDS.AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Ricevuta fiscale"), QStringLiteral("Ricevuta_Fiscale"), true});
    p_objDS.AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Ricevuta non fiscale")});
    p_objDS.AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Preconto")});
}

void TipiDocumento::OnNewRow(DataObject& p_objDS)
{
    p_objDS.SetValue(QStringLiteral("Fattura"), false);
    p_objDS.SetValue(QStringLiteral("Ricevuta_Fiscale"), false);
}

void Portate::DefineIdentity(TableIdentity& identity)
{
    identity.Caption(QStringLiteral("Tipi Portate"));
    identity.Version(1.1);
}

void Portate::DefineStructure(ColumnDefiner& columns, IndexDefiner& indexes, ReferenceDefiner&)
{
    AddColumn(columns, QStringLiteral("Descrizione"), FieldType::Text, 64);
    AddColumn(columns, QStringLiteral("Ordine_Di_Stampa"), FieldType::Long);
    indexes.AddIndex(QStringLiteral("Descrizione"), true, QString());
}

void Portate::OnUpdatedTableStruct(DataObject& p_objDS, double, double p_dblOldVersion, bool p_blnCreated)
{
    if (p_blnCreated) {
        const QList<std::pair<const char*, int>> courses = {{"VARIE", 50}, {"ANTIPASTI", 100}, {"PRIMI", 150}, {"SECONDI", 200}};
        for (const auto& [name, order] : courses)
            p_objDS.AddRecord({QStringLiteral("Descrizione"), QString::fromUtf8(name), QStringLiteral("Ordine_Di_Stampa"), order});
        return;
    }
    if (p_dblOldVersion < 1.1)
        Execute(p_objDS, QStringLiteral("Update Portate set Ordine_Di_Stampa = 100"));
}

void Clienti::DefineIdentity(TableIdentity&) {}

void Clienti::DefineStructure(ColumnDefiner& columns, IndexDefiner& indexes, ReferenceDefiner&)
{
    AddColumn(columns, QStringLiteral("Ragione_Sociale"), FieldType::Text, 64);
    AddColumn(columns, QStringLiteral("Indirizzo"), FieldType::Text, 64);
    AddColumn(columns, QStringLiteral("CAP"), FieldType::Text, 5);
    AddColumn(columns, QStringLiteral("Comune"), FieldType::Text, 64);
    AddColumn(columns, QStringLiteral("Provincia"), FieldType::Text, 4);
    AddColumn(columns, QStringLiteral("Partita_Iva"), FieldType::Text, 16);
    AddColumn(columns, QStringLiteral("Telefono"), FieldType::Text, 16);
    AddColumn(columns, QStringLiteral("Cellulare"), FieldType::Text, 16);
    AddColumn(columns, QStringLiteral("Fax"), FieldType::Text, 16);
    AddColumn(columns, QStringLiteral("Note"), FieldType::Text, 128);
    indexes.AddIndex(QStringLiteral("Ragione_Sociale"), false, QString());
}

void Clienti::OnUpdatedTableStruct(DataObject& p_objDS, double, double, bool p_blnCreated)
{
    if (p_blnCreated)
        p_objDS.AddRecord({QStringLiteral("Ragione_Sociale"), QStringLiteral("Cliente generico")});
}

void Clienti::OnNewRow(DataObject& p_objDS)
{
    for (const char* column : {"Indirizzo", "CAP", "Comune", "Provincia", "Partita_Iva", "Telefono", "Fax", "Cellulare", "Note"})
        p_objDS.SetValue(QString::fromUtf8(column), QStringLiteral(""));
}

void PagamentiCliente::DefineIdentity(TableIdentity& identity) { identity.Caption(QStringLiteral("Pagamenti del Cliente")); }

void PagamentiCliente::DefineStructure(ColumnDefiner& columns, IndexDefiner& indexes, ReferenceDefiner& references)
{
    AddColumn(columns, QStringLiteral("DataPagamento"), FieldType::DateTime);
    AddColumn(columns, QStringLiteral("Importo"), FieldType::Currency);
    AddColumn(columns, QStringLiteral("Note"), FieldType::Text, 128);
    AddReference(references, QStringLiteral("Cliente"), QStringLiteral("Clienti"), false, QStringLiteral("Ragione_Sociale"));
    AddReference(references, QStringLiteral("Pagamento"), QStringLiteral("TipiPagamento"), false, QStringLiteral("Descrizione"));
    indexes.AddIndex(QStringLiteral("DataPagamento"), false, QString());
    IndexDefinition unique = indexes.AddIndex(QStringLiteral("DataPagamento"), true, QStringLiteral("DataPagamentoCliente"));
    unique.AddIndexColumn(QStringLiteral("Cliente"));
    unique.AddIndexColumn(QStringLiteral("Importo"));
}

void PagamentiCliente::OnNewRow(DataObject& p_objDS)
{
    p_objDS.SetValue(QStringLiteral("DataPagamento"), QDateTime::currentDateTime());
    p_objDS.SetValue(QStringLiteral("Note"), QStringLiteral(""));
}
