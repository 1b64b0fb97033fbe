// The engine around the data objects: transactions and their nesting, a
// busy archive, maintenance statements, exact currency, and the helpers the
// rules and windows use.

#include "TestArchive.h"

#include "component/ComponentErrors.h"
#include "component/Currency.h"
#include "support/Money.h"
#include "component/CurrencyObject.h"
#include "component/Exception.h"
#include "component/SchemaStore.h"
#include "component/Sqlite.h"

#include <QDateTime>
#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

TEST(Engine, TransactionsRollBackAndNest)
{
    TestArchive archive;
    auto items = archive.Open(QStringLiteral("Articoli"));
    archive.engine->BeginTransaction();
    items->AddRecord({QStringLiteral("Nome"), QStringLiteral("A")});
    archive.engine->BeginTransaction();
    items->AddRecord({QStringLiteral("Nome"), QStringLiteral("B")});
    archive.engine->RollbackTransaction();
    EXPECT_TRUE(archive.engine->InTransaction());
    EXPECT_EQ(items->RecordCount(), 1);
    archive.engine->CommitTransaction();
    EXPECT_FALSE(archive.engine->InTransaction());
    EXPECT_EQ(archive.Open(QStringLiteral("Articoli"))->RecordCount(), 1);

    archive.engine->BeginTransaction();
    items->AddRecord({QStringLiteral("Nome"), QStringLiteral("C")});
    archive.engine->RollbackTransaction();
    EXPECT_EQ(archive.Open(QStringLiteral("Articoli"))->RecordCount(), 1);
    EXPECT_THROW(archive.engine->CommitTransaction(), Exception);
}

TEST(Engine, ASecondSessionWaitsBrieflyThenGetsBusy)
{
    TestArchive archive;
    DatabaseEngine::SetBusyTimeout(200);
    archive.engine->BeginTransaction();
    archive.Open(QStringLiteral("Articoli"))->AddRecord({QStringLiteral("Nome"), QStringLiteral("in corso")});

    auto other = std::make_shared<DatabaseEngine>();
    other->OpenDatabaseFile(3, archive.Path());
    auto log = std::make_shared<CallLog>();
    auto database = ComponentGlobal::CreateDatabaseObject(std::make_shared<TestDefinition>(log, TestOptions{}), {}, nullptr, nullptr);
    database->AttachEngine(other); // nothing to write: attaching only reads
    auto items = database->Tables().Item(QStringLiteral("Articoli")).OpenDataObject(other);
    EXPECT_EQ(items->RecordCount(), 0) << "the other session does not see uncommitted data";
    QElapsedTimer timer;
    timer.start();
    try {
        items->AddRecord({QStringLiteral("Nome"), QStringLiteral("concorrente")});
        FAIL() << "the second session wrote while the first held the archive";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Number(), ComponentError::Busy);
        EXPECT_TRUE(e.Description().contains(QStringLiteral("Archivio occupato")));
    }
    EXPECT_LT(timer.elapsed(), 5000);
    archive.engine->CommitTransaction();
    items->AddRecord({QStringLiteral("Nome"), QStringLiteral("dopo")});
    EXPECT_EQ(items->RecordCount(), 2);
    DatabaseEngine::SetBusyTimeout(3000);
}

TEST(Engine, EuroConversionStatementIsExact)
{
    TestArchive archive;
    auto items = archive.Open(QStringLiteral("Articoli"));
    items->AddRecord({QStringLiteral("Nome"), QStringLiteral("A"), QStringLiteral("Prezzo"), QStringLiteral("19362,70")});
    items->AddRecord({QStringLiteral("Nome"), QStringLiteral("B"), QStringLiteral("Prezzo"), QStringLiteral("0,0001")});
    items->AddRecord({QStringLiteral("Nome"), QStringLiteral("C"), QStringLiteral("Prezzo"), QStringLiteral("1000")});
    const int changed = archive.engine->Connection().Execute(QStringLiteral("UPDATE Articoli SET Prezzo=Prezzo/1936.27"));
    EXPECT_EQ(changed, 3);
    items->Requery();
    items->SetSort(QStringLiteral("Nome"));
    items->MoveFirst();
    EXPECT_EQ(items->GetValue(QStringLiteral("Prezzo")).value<Currency>(), Money("10"));
    items->MoveNext();
    EXPECT_EQ(items->GetValue(QStringLiteral("Prezzo")).value<Currency>(), Money("0"));
    items->MoveNext();
    EXPECT_EQ(items->GetValue(QStringLiteral("Prezzo")).value<Currency>(), Money("0.5165")); // 1000 / 1936.27 = 0.51645...
}

TEST(Engine, UpgradeStatementsDropOldColumnsAndConstraints)
{
    TestArchive archive;
    SqliteDb& db = archive.engine->Db();
    db.Exec(QStringLiteral("ALTER TABLE Articoli ADD COLUMN \"Fuori_Menù\" INTEGER"));
    db.Exec(QStringLiteral("CREATE UNIQUE INDEX \"Articoli.Vecchio\" ON Articoli(\"Fuori_Menù\")"));
    auto& connection = archive.engine->Connection();
    connection.Execute(QStringLiteral("ALTER TABLE Articoli DROP CONSTRAINT Vecchio"));
    EXPECT_TRUE(SchemaStore::IndexesOnColumn(db, QStringLiteral("Articoli"), QStringLiteral("Fuori_Menù")).isEmpty());
    db.Exec(QStringLiteral("CREATE INDEX \"Articoli.Altro\" ON Articoli(\"Fuori_Menù\")"));
    connection.Execute(QStringLiteral("ALTER TABLE Articoli DROP Fuori_Menù"));
    EXPECT_FALSE(SchemaStore::ExistingColumns(db, QStringLiteral("Articoli")).contains(QStringLiteral("Fuori_Menù")));
    // Repeating a drop is harmless; dropping a defined column is refused.
    EXPECT_NO_THROW(connection.Execute(QStringLiteral("ALTER TABLE Articoli DROP Fuori_Menù")));
    EXPECT_THROW(connection.Execute(QStringLiteral("ALTER TABLE Articoli DROP Nome")), Exception);

    auto documents = archive.Open(QStringLiteral("Documenti"));
    documents->AddRecord({QStringLiteral("Numero"), 7, QStringLiteral("Data"), QDateTime(QDate(2025, 12, 31), QTime(23, 0))});
    connection.Execute(QStringLiteral("UPDATE Documenti SET Numero= Year(Data)"));
    documents->Requery();
    EXPECT_EQ(documents->GetValue(QStringLiteral("Numero")).toLongLong(), 2025);
    EXPECT_THROW(connection.Execute(QStringLiteral("UPDATE Nessuna SET A = 1")), Exception);
    EXPECT_FALSE(connection.LastError().isEmpty());
}

TEST(Engine, CurrencyArithmeticIsExact)
{
    EXPECT_EQ(Money("19362.70").DivExact(Money("1936.27")), Money("10"));
    EXPECT_EQ(Money("0.1") + Money("0.2"), Money("0.3"));
    Currency sum;
    for (int i = 0; i < 100000; ++i)
        sum += Money("0.01");
    EXPECT_EQ(sum, Money("1000"));
    EXPECT_EQ(Currency::FromDouble(4.0 * 2.5), Money("10"));
    EXPECT_EQ(Currency::FromDouble(0.00005), Money("0")) << "halves go to even";
    EXPECT_EQ(Currency::FromDouble(0.00015), Money("0.0002"));
    EXPECT_EQ(Money("2.675").Rounded(2), Money("2.68"));
    EXPECT_EQ(Money("-2.675").Rounded(2), Money("-2.68"));
    EXPECT_EQ(Money("15.5").ToString(), QStringLiteral("15.5"));
    EXPECT_FALSE(Currency::FromDecimalText(QStringLiteral("12a")).has_value());
    EXPECT_THROW(Currency::FromDouble(1e300), Exception);
    EXPECT_THROW(Currency::FromUnits(std::numeric_limits<qint64>::max()) + Money("1"), Exception);
}

TEST(Engine, HelpersForRulesAndWindows)
{
    TestArchive archive;
    const DatabaseObject& db = *archive.database;
    EXPECT_EQ(db.AdjustAmount(Money("4").Mul(2.5), 0, 1.0), Money("10"));
    EXPECT_EQ(db.AdjustAmount(Money("3.333"), 0, 1.0), Money("3.33"));
    EXPECT_EQ(db.FormatNumber(QVariant::fromValue(Money("1234.5")), 20, 0), QStringLiteral("1.234,50"));
    EXPECT_EQ(db.FormatNumber(25.0, 20, 0), QStringLiteral("25,00"));
    EXPECT_EQ(db.SqlNumber(1936.27), QStringLiteral("1936.27"));
    EXPECT_EQ(db.SqlText(QStringLiteral("l'oste")), QStringLiteral("'l''oste'"));
    EXPECT_EQ(db.BaseCurrency()->Name(0), QStringLiteral("Euro"));
    ConversionCurrencyForEuro lire;
    EXPECT_EQ(lire.FromBase(Money("10")), Money("19362.7"));
    EXPECT_EQ(lire.Name(-1), QStringLiteral("Lire"));
    ConversionCurrencyForOther euro;
    EXPECT_EQ(euro.FromBase(Money("19362.7")), Money("10"));

    EXPECT_TRUE(ComponentGlobal::ValuesEqual(2026, qint64(2026)));
    EXPECT_TRUE(ComponentGlobal::ValuesEqual(2026.0, QVariant::fromValue(Money("2026"))));
    EXPECT_FALSE(ComponentGlobal::ValuesEqual(QVariant(), 0));
    EXPECT_TRUE(ComponentGlobal::ValuesEqual(QVariant(), QVariant()));
    EXPECT_FALSE(ComponentGlobal::ValuesEqual(QStringLiteral("a"), QStringLiteral("A")));
}

} // namespace
