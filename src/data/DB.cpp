#include "data/DB.h"

#include "data/CodeTables.h"
#include "data/SalesTables.h"

#include <memory>

void DB::Define(DatabaseDefinition& p_objDefinition)
{
    p_objDefinition.AddTable(QStringLiteral("TipiPagamento"), std::make_shared<TipiPagamento>());
    p_objDefinition.AddTable(QStringLiteral("TipiDocumento"), std::make_shared<TipiDocumento>());
    p_objDefinition.AddTable(QStringLiteral("Portate"), std::make_shared<Portate>());
    p_objDefinition.AddTable(QStringLiteral("Clienti"), std::make_shared<Clienti>());
    p_objDefinition.AddTable(QStringLiteral("PagamentiCliente"), std::make_shared<PagamentiCliente>());
    p_objDefinition.AddTable(QStringLiteral("Menu"), std::make_shared<Menu>());
    p_objDefinition.AddTable(QStringLiteral("RigheRicevute"), std::make_shared<RigheRicevute>());
    p_objDefinition.AddTable(QStringLiteral("Ricevute"), std::make_shared<Ricevute>());
}
