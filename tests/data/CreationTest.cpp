// A new archive holds exactly its creation rows; an archive of the first
// release is upgraded once.

#include "RestaurantArchive.h"

#include "component/Currency.h"
#include "component/SchemaStore.h"
#include "component/Sqlite.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

QStringList Column(DataObject& ds, const QString& column)
{
    QStringList values;
    for (bool ok = ds.MoveFirst(); ok; ok = ds.MoveNext())
        values.append(ds.FormattedValue(column));
    return values;
}

TEST(Creation, NewArchiveHoldsExactlyTheCreationRows)
{
    RestaurantArchive archive;
    auto payments = archive.Table(QStringLiteral("TipiPagamento"), {}, QStringLiteral("OID"));
    EXPECT_EQ(Column(*payments, QStringLiteral("Descrizione")),
              (QStringList{"Contanti", "Assegno", "Bonifico", "Posticipato", "Altro"}));

    auto documents = archive.Table(QStringLiteral("TipiDocumento"), {}, QStringLiteral("OID"));
    EXPECT_EQ(Column(*documents, QStringLiteral("Descrizione")),
              (QStringList{"Fattura", "Ricevuta fiscale", "Ricevuta non fiscale", "Preconto"}));
    EXPECT_EQ(Column(*documents, QStringLiteral("Fattura")), (QStringList{"Sì", "No", "No", "No"}));
    EXPECT_EQ(Column(*documents, QStringLiteral("Ricevuta_Fiscale")), (QStringList{"No", "Sì", "No", "No"}));

    auto courses = archive.Table(QStringLiteral("Portate"), {}, QStringLiteral("OID"));
    EXPECT_EQ(Column(*courses, QStringLiteral("Descrizione")), (QStringList{"VARIE", "ANTIPASTI", "PRIMI", "SECONDI"}));
    EXPECT_EQ(Column(*courses, QStringLiteral("Ordine_Di_Stampa")), (QStringList{"50", "100", "150", "200"}));

    auto customers = archive.Table(QStringLiteral("Clienti"));
    EXPECT_EQ(Column(*customers, QStringLiteral("Ragione_Sociale")), QStringList{"Cliente generico"});
    customers->MoveFirst();
    EXPECT_EQ(customers->GetValue(QStringLiteral("Indirizzo")).toString(), QString());
    EXPECT_TRUE(customers->GetValue(QStringLiteral("Indirizzo")).isValid()) << "empty text, not Null";

    auto menu = archive.Table(QStringLiteral("Menu"));
    ASSERT_EQ(menu->RecordCount(), 1);
    EXPECT_EQ(menu->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Coperto"));
    EXPECT_EQ(menu->GetValue(QStringLiteral("Descrizione")).toString(), QStringLiteral("Coperto"));
    EXPECT_EQ(menu->GetValue(QStringLiteral("Prezzo")).value<Currency>(), Currency::FromUnits(10000));
    EXPECT_EQ(menu->GetValue(QStringLiteral("Ordine_Menù")).toLongLong(), 0);
    EXPECT_EQ(menu->GetValue(QStringLiteral("Portata")).toString(), QStringLiteral("VARIE"));

    for (const char* empty : {"PagamentiCliente", "RigheRicevute", "Ricevute"})
        EXPECT_EQ(archive.Table(QString::fromLatin1(empty))->RecordCount(), 0) << empty;

    archive.Open();
    EXPECT_EQ(archive.Table(QStringLiteral("TipiPagamento"))->RecordCount(), 5) << "reopening adds nothing";
    const auto tables = archive.database->Tables();
    QStringList captions;
    for (int i = 0; i < tables.Count(); ++i)
        captions.append(tables.Item(i).Caption());
    EXPECT_EQ(captions, (QStringList{"Tipi Pagamento", "Tipi Documento", "Tipi Portate", "Clienti", "Pagamenti del Cliente",
                                     "Menù", "Righe Ricevute", "Ricevute"}));
}

// Turns a new archive into one written by the first release: old columns,
// named constraints and old version marks.
void MakeFirstRelease(RestaurantArchive& archive, double receiptsVersion)
{
    SqliteDb& db = archive.engine->Db();
    db.Exec(QStringLiteral(
        "ALTER TABLE Menu ADD COLUMN \"Fuori_Menù\" INTEGER;"
        "ALTER TABLE RigheRicevute ADD COLUMN Data TEXT;"
        "ALTER TABLE RigheRicevute ADD COLUMN Progressivo INTEGER;"
        "CREATE INDEX \"RigheRicevute.Data\" ON RigheRicevute(Data);"
        "CREATE UNIQUE INDEX \"RigheRicevute.ProgrScaricoArticolo\" ON RigheRicevute(Progressivo);"
        "UPDATE Menu SET \"Ordine_Menù\" = 7;"
        "UPDATE Portate SET Ordine_Di_Stampa = 7;"
        "UPDATE mensora_tables SET version = 1.0 WHERE name IN ('Menu', 'Portate', 'TipiDocumento');"
        "UPDATE mensora_tables SET version = 1.1 WHERE name = 'RigheRicevute';"));
    Statement version(db, QStringLiteral("UPDATE mensora_tables SET version = ? WHERE name = 'Ricevute'"));
    version.Bind(1, receiptsVersion);
    version.Step();
    // Receipts whose fiscal year disagrees with their date.
    db.Exec(QStringLiteral("INSERT INTO Ricevute(Numero, Data, AnnoFiscale, Importo_Ricevuta, Note) VALUES "
                           "(1, '2003-05-04 12:00:00', 0, 0, ''), (2, '2004-01-02 12:00:00', 0, 0, '')"));
}

QStringList Years(RestaurantArchive& archive)
{
    return Column(*archive.Table(QStringLiteral("Ricevute"), {}, QStringLiteral("Numero")), QStringLiteral("AnnoFiscale"));
}

TEST(Creation, FirstReleaseArchiveIsUpgradedOnce)
{
    RestaurantArchive archive;
    MakeFirstRelease(archive, 1.1);
    archive.Open();

    SqliteDb& db = archive.engine->Db();
    EXPECT_FALSE(SchemaStore::ExistingColumns(db, QStringLiteral("Menu")).contains(QStringLiteral("Fuori_Menù")));
    const QStringList rowColumns = SchemaStore::ExistingColumns(db, QStringLiteral("RigheRicevute"));
    EXPECT_FALSE(rowColumns.contains(QStringLiteral("Data")));
    EXPECT_FALSE(rowColumns.contains(QStringLiteral("Progressivo")));
    EXPECT_EQ(Column(*archive.Table(QStringLiteral("Menu")), QStringLiteral("Ordine_Menù")), QStringList{"100"});
    EXPECT_EQ(Column(*archive.Table(QStringLiteral("Portate")), QStringLiteral("Ordine_Di_Stampa")),
              (QStringList{"100", "100", "100", "100"}));
    EXPECT_EQ(Years(archive), (QStringList{"2003", "2004"}));

    // Opening again changes nothing.
    db.Exec(QStringLiteral("UPDATE Menu SET \"Ordine_Menù\" = 5; UPDATE Ricevute SET AnnoFiscale = 1999"));
    archive.Open();
    EXPECT_EQ(Column(*archive.Table(QStringLiteral("Menu")), QStringLiteral("Ordine_Menù")), QStringList{"5"});
    EXPECT_EQ(Years(archive), (QStringList{"1999", "1999"}));
}

TEST(Creation, ReceiptsAtVersionOneZeroKeepTheirFiscalYear)
{
    RestaurantArchive archive;
    MakeFirstRelease(archive, 1.0);
    archive.Open();
    EXPECT_EQ(Years(archive), (QStringList{"0", "0"}));
}

} // namespace
