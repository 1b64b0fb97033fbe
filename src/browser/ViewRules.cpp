#include "browser/ViewRules.h"

#include "component/DatabaseObject.h"
#include "component/Table.h"

QString TableOfSection(const QString& sectionKey)
{
    if (sectionKey == QLatin1String("Lista Ricevute") || sectionKey == QLatin1String("Lista Corrispettivi"))
        return QStringLiteral("Ricevute");
    if (sectionKey == QLatin1String("Lista Venduto"))
        return QStringLiteral("RigheRicevute");
    if (sectionKey == QLatin1String("Lista Clienti"))
        return QStringLiteral("Clienti");
    if (sectionKey == QLatin1String("Lista Portate"))
        return QStringLiteral("Menu");
    return sectionKey;
}

QString DateFieldOfTable(const QString& table)
{
    return table == QLatin1String("Ricevute") ? QStringLiteral("Data") : QString();
}

ViewRules RulesOfSection(const QString& sectionKey, const QString& order, const QString& joinRighe)
{
    ViewRules rules;
    rules.table = TableOfSection(sectionKey);
    rules.dateField = DateFieldOfTable(rules.table);
    if (sectionKey == QLatin1String("Lista Portate")) {
        rules.order = QStringLiteral("Menu.OID_Portata,Menu.Ordine_Menù");
        rules.dateField.clear();
    } else if (sectionKey == QLatin1String("Lista Venduto")) {
        rules.select = QStringLiteral("*, Ricevute.Data");
        rules.criteria = joinRighe;
        rules.order = QStringLiteral("Ricevute.Data");
        rules.dateField.clear();
        rules.asksForPeriod = true;
    } else if (sectionKey == QLatin1String("Lista Corrispettivi")) {
        rules.order = QStringLiteral("Ricevute.OID_TipoDocumento, Ricevute.Numero");
        rules.dateField.clear();
        rules.asksForPeriod = true;
    } else if (rules.table == QLatin1String("Menu")) {
        rules.order = QStringLiteral("Ordine_Menù");
    } else if (rules.table == QLatin1String("Ricevute")) {
        rules.order = QStringLiteral("AnnoFiscale,Numero");
        rules.dateField = QStringLiteral("Data");
    } else if (rules.table == QLatin1String("RigheRicevute")) {
        rules.select = QStringLiteral("*, Ricevute.Data");
        rules.criteria = joinRighe;
        rules.order = QStringLiteral("Ricevute.Data");
        rules.dateField = QStringLiteral("Data");
    } else {
        rules.order = order;
    }
    return rules;
}

QString RigheJoinCriteria(DatabaseObject& database)
{
    return database.Tables().Item(QStringLiteral("Ricevute")).GetRelation(QStringLiteral("Righe")).JoinCriteria(0, true);
}
