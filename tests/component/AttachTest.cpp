// Definitions replayed on every attach: creation, creation rows, upgrades
// that run once, columns and indexes added to an existing file.

#include "TestArchive.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"
#include "component/SchemaStore.h"
#include "component/Table.h"

#include <gtest/gtest.h>

namespace {

QStringList Filtered(const QStringList& calls, const QString& needle)
{
    QStringList out;
    for (const QString& c : calls)
        if (c.contains(needle))
            out.append(c);
    return out;
}

TEST(Attach, NewFileCreatesTablesInOrderWithTheirCreationRows)
{
    TestArchive archive;
    EXPECT_EQ(Filtered(archive.log->calls, QStringLiteral("OnUpdatedTableStruct")),
              (QStringList{QStringLiteral("Categorie.OnUpdatedTableStruct(0,0,created)"),
                           QStringLiteral("Articoli.OnUpdatedTableStruct(1.1,1.1,created)"),
                           QStringLiteral("Righe.OnUpdatedTableStruct(1,1,created)"),
                           QStringLiteral("Documenti.OnUpdatedTableStruct(1,1,created)")}));
    auto categories = archive.Open(QStringLiteral("Categorie"));
    EXPECT_EQ(categories->RecordCount(), 2);
    EXPECT_EQ(categories->GetValue(QStringLiteral("Descrizione")).toString(), QStringLiteral("Bevande"));
    auto tables = archive.database->Tables();
    ASSERT_EQ(tables.Count(), 4);
    EXPECT_EQ(tables.Item(0).Name(), QStringLiteral("Categorie"));
    EXPECT_EQ(tables.Item(QStringLiteral("categorie")).Caption(), QStringLiteral("Categorie di articoli"));
    EXPECT_EQ(tables.Item(QStringLiteral("Documenti")).Caption(), QStringLiteral("Documenti"));
}

TEST(Attach, ReopeningSameVersionRunsNoCallbackAndAddsNoRows)
{
    TestArchive archive;
    archive.log->calls.clear();
    archive.Reopen();
    EXPECT_TRUE(Filtered(archive.log->calls, QStringLiteral("OnUpdatedTableStruct")).isEmpty());
    EXPECT_EQ(archive.Open(QStringLiteral("Categorie"))->RecordCount(), 2);
}

TEST(Attach, NewVersionUpgradesOnceAndAddsColumnsAndIndexes)
{
    TestArchive archive;
    auto items = archive.Open(QStringLiteral("Articoli"));
    items->AddRecord({QStringLiteral("Nome"), QStringLiteral("Acqua"), QStringLiteral("Prezzo"), 1});
    archive.log->calls.clear();

    TestOptions newer;
    newer.itemVersion = 1.2;
    newer.itemExtraColumn = true;
    newer.itemExtraIndex = true;
    archive.Reopen(newer);
    EXPECT_EQ(Filtered(archive.log->calls, QStringLiteral("OnUpdatedTableStruct")),
              QStringList{QStringLiteral("Articoli.OnUpdatedTableStruct(1.2,1.1,existing)")});
    items = archive.Open(QStringLiteral("Articoli"));
    EXPECT_EQ(items->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Acqua"));
    EXPECT_FALSE(items->GetValue(QStringLiteral("Codice")).isValid());
    items->SetValue(QStringLiteral("Codice"), QStringLiteral("A1"));
    items->SaveRecord();
    EXPECT_TRUE(SchemaStore::IndexesOnColumn(archive.engine->Db(), QStringLiteral("Articoli"), QStringLiteral("Ordine"))
                    .contains(QStringLiteral("Articoli.PerOrdine")));

    archive.log->calls.clear();
    archive.Reopen(newer);
    EXPECT_TRUE(Filtered(archive.log->calls, QStringLiteral("OnUpdatedTableStruct")).isEmpty());
}

TEST(Attach, FailingUpgradeChangesNothingAndIsRetriedNextTime)
{
    TestArchive archive;
    TestOptions failing;
    failing.itemVersion = 1.5;
    failing.itemExtraColumn = true;
    failing.failUpgrade = true;
    try {
        archive.Reopen(failing);
        FAIL() << "the failing upgrade was not reported";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Description(), QStringLiteral("aggiornamento fallito"));
    }
    EXPECT_EQ(archive.database->State(), DatabaseObject::StateClosed);
    // Nothing of the failed attempt stays in the file: no new column, old version.
    EXPECT_FALSE(SchemaStore::ExistingColumns(archive.engine->Db(), QStringLiteral("Articoli")).contains(QStringLiteral("Codice")));

    archive.log->calls.clear();
    failing.failUpgrade = false;
    archive.Reopen(failing);
    EXPECT_EQ(Filtered(archive.log->calls, QStringLiteral("OnUpdatedTableStruct")),
              QStringList{QStringLiteral("Articoli.OnUpdatedTableStruct(1.5,1.1,existing)")});
}

TEST(Attach, RefusesWhatIsNotAnArchive)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Mensora.mdb"));
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(4096, 'x'));
    file.close();
    DatabaseEngine engine;
    try {
        engine.OpenDatabaseFile(3, path);
        FAIL() << "a file that is not an archive was opened";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Number(), ComponentError::Io);
    }
    DatabaseEngine other;
    EXPECT_THROW(other.CreateDatabaseFile(3, path), Exception) << "an existing file must never be overwritten";
}

TEST(Attach, RelationJoinCriteriaLinksOwnerAndRows)
{
    TestArchive archive;
    const Relation relation = archive.database->Tables().Item(QStringLiteral("Documenti")).GetRelation(QStringLiteral("Righe"));
    EXPECT_EQ(relation.JoinCriteria(0, true), QStringLiteral("Documenti.OID = Righe.OID_Documenti_Righe"));
    EXPECT_EQ(archive.database->Tables().Item(QStringLiteral("Articoli")).FirstColumnName(), QStringLiteral("OID"));
}

} // namespace
