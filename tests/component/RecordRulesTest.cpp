// Writing through data objects: rule callbacks and their order, references by
// display value, extension records, owned collections and their totals,
// deletion, and atomicity when a write is refused.

#include "TestArchive.h"

#include "component/ComponentErrors.h"
#include "component/Currency.h"
#include "support/Money.h"
#include "component/Exception.h"

#include <gtest/gtest.h>

namespace {

Currency AsMoney(const QVariant& v) { return v.value<Currency>(); }

class RecordRules : public ::testing::Test
{
protected:
    void SetUp() override
    {
        items = archive.Open(QStringLiteral("Articoli"));
        items->AddRecord({QStringLiteral("Nome"), QStringLiteral("Pizza"), QStringLiteral("Prezzo"), 10,
                          QStringLiteral("Categoria"), QStringLiteral("Dolci")});
        pizza = items->ValueAt(0).toLongLong();
        items->AddRecord({QStringLiteral("Nome"), QStringLiteral("Birra"), QStringLiteral("Prezzo"), QStringLiteral("5,50"),
                          QStringLiteral("Categoria"), QStringLiteral("Bevande")});
        beer = items->ValueAt(0).toLongLong();
        documents = archive.Open(QStringLiteral("Documenti"));
        documents->AddRecord({QStringLiteral("Numero"), 1, QStringLiteral("Categoria"), QStringLiteral("Bevande")});
        archive.log->calls.clear();
    }

    TestArchive archive;
    std::shared_ptr<DataObject> items;
    std::shared_ptr<DataObject> documents;
    qint64 pizza = 0;
    qint64 beer = 0;
};

TEST_F(RecordRules, CallbacksComeInThePromisedOrder)
{
    documents->AddRecord({QStringLiteral("Numero"), 2, QStringLiteral("Note"), QStringLiteral("x")});
    EXPECT_EQ(archive.log->calls,
              (QStringList{QStringLiteral("Documenti.OnNewRow"),
                           QStringLiteral("Documenti.OnBeforeUpdateField(Totale)"),
                           QStringLiteral("Documenti.OnUpdateField(Totale)"),
                           QStringLiteral("Documenti.OnBeforeUpdateField(Numero)"),
                           QStringLiteral("Documenti.OnUpdateField(Numero)"),
                           QStringLiteral("Documenti.OnBeforeUpdateField(Note)"),
                           QStringLiteral("Documenti.OnUpdateField(Note)"),
                           QStringLiteral("Documenti.OnUpdateRow")}));
}

TEST_F(RecordRules, ReferencesReadAndWriteByDisplayValueOrKey)
{
    ASSERT_TRUE(items->FindKey(pizza));
    EXPECT_EQ(items->GetValue(QStringLiteral("Categoria")).toString(), QStringLiteral("Dolci"));
    const QVariant dolci = items->GetValue(QStringLiteral("OID_Categoria"));
    EXPECT_EQ(items->ReferenceKey(QStringLiteral("Categoria"), QStringLiteral("dolci")), dolci);

    auto categories = archive.Open(QStringLiteral("Categorie"), QStringLiteral("Descrizione = 'Bevande'"));
    const qint64 drinks = categories->ValueAt(0).toLongLong();
    items->SetReference(QStringLiteral("Categoria"), drinks);
    items->SaveRecord();
    EXPECT_EQ(items->GetValue(QStringLiteral("Categoria")).toString(), QStringLiteral("Bevande"));
    EXPECT_EQ(archive.log->calls.mid(0, 2),
              (QStringList{QStringLiteral("Articoli.OnBeforeUpdateReference(Categoria,row)"),
                           QStringLiteral("Articoli.OnUpdateReference(Categoria,row)")}));

    try {
        items->SetValue(QStringLiteral("Categoria"), QStringLiteral("Pesce"));
        FAIL() << "an unknown display value was accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Number(), ComponentError::InvalidValue);
        EXPECT_TRUE(e.Description().contains(QStringLiteral("Pesce")));
    }
}

TEST_F(RecordRules, ExtensionRecordGivenOnlyItsLinkCopiesTheBaseRecord)
{
    auto rows = documents->OpenReference(QStringLiteral("Righe"));
    rows->AddRecord({QStringLiteral("OID_Articoli"), pizza});
    EXPECT_EQ(rows->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Pizza"));
    EXPECT_EQ(rows->GetValue(QStringLiteral("Categoria")).toString(), QStringLiteral("Dolci"));
    EXPECT_EQ(AsMoney(rows->GetValue(QStringLiteral("Prezzo"))), Money("10"));
    EXPECT_EQ(rows->GetValue(QStringLiteral("Quantità")).toDouble(), 1.0);
    EXPECT_EQ(AsMoney(rows->GetValue(QStringLiteral("Importo"))), Money("10"));
}

TEST_F(RecordRules, OwnerTotalFollowsEveryChangeOfItsRows)
{
    auto rows = documents->OpenReference(QStringLiteral("Righe"));
    rows->AddRecord({QStringLiteral("OID_Articoli"), pizza});
    const qint64 first = rows->ValueAt(0).toLongLong();
    rows->AddRecord({QStringLiteral("OID_Articoli"), beer});
    const qint64 second = rows->ValueAt(0).toLongLong();
    EXPECT_EQ(AsMoney(documents->GetValue(QStringLiteral("Totale"))), Money("15.50"));

    ASSERT_TRUE(rows->FindKey(first));
    rows->SetValue(QStringLiteral("Quantità"), 2);
    rows->SaveRecord();
    EXPECT_EQ(AsMoney(documents->GetValue(QStringLiteral("Totale"))), Money("25.50"));

    documents->SetReference(QStringLiteral("Righe"), second, true);
    EXPECT_EQ(AsMoney(documents->GetValue(QStringLiteral("Totale"))), Money("20"));
    EXPECT_EQ(rows->RecordCount(), 1);

    // The stored total agrees with what the object shows.
    auto fresh = archive.Open(QStringLiteral("Documenti"), QStringLiteral("Numero = 1"));
    EXPECT_EQ(AsMoney(fresh->GetValue(QStringLiteral("Totale"))), Money("20"));
}

TEST_F(RecordRules, RowsEditedWithoutTheirOwnerStillKeepItsTotal)
{
    auto rows = documents->OpenReference(QStringLiteral("Righe"));
    rows->AddRecord({QStringLiteral("OID_Articoli"), pizza});
    const qint64 row = rows->ValueAt(0).toLongLong();

    auto standalone = archive.Open(QStringLiteral("Righe"));
    ASSERT_TRUE(standalone->FindKey(row));
    standalone->SetValue(QStringLiteral("Quantità"), 3);
    standalone->SaveRecord();
    auto fresh = archive.Open(QStringLiteral("Documenti"), QStringLiteral("Numero = 1"));
    EXPECT_EQ(AsMoney(fresh->GetValue(QStringLiteral("Totale"))), Money("30"));

    standalone->DeleteRecord();
    EXPECT_TRUE(standalone->NoCurrentRecord());
    fresh->Requery();
    EXPECT_EQ(AsMoney(fresh->GetValue(QStringLiteral("Totale"))), Money("0"));
}

TEST_F(RecordRules, DeletingTheOwnerDeletesWhatItOwns)
{
    auto rows = documents->OpenReference(QStringLiteral("Righe"));
    rows->AddRecord({QStringLiteral("OID_Articoli"), pizza});
    rows->AddRecord({QStringLiteral("OID_Articoli"), beer});
    EXPECT_EQ(archive.Open(QStringLiteral("Righe"))->RecordCount(), 2);
    documents->DeleteRecord();
    EXPECT_EQ(archive.Open(QStringLiteral("Righe"))->RecordCount(), 0);
    EXPECT_EQ(archive.Open(QStringLiteral("Documenti"))->RecordCount(), 0);
}

TEST_F(RecordRules, RecordsInUseCannotBeDeleted)
{
    auto categories = archive.Open(QStringLiteral("Categorie"), QStringLiteral("Descrizione = 'Dolci'"));
    EXPECT_TRUE(categories->IsInUse());
    try {
        categories->DeleteRecord();
        FAIL() << "a referenced record was deleted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Number(), ComponentError::InUse);
    }
    EXPECT_EQ(archive.Open(QStringLiteral("Categorie"))->RecordCount(), 2);

    // A base record can go: extension records keep their copied values.
    auto rows = documents->OpenReference(QStringLiteral("Righe"));
    rows->AddRecord({QStringLiteral("OID_Articoli"), beer});
    ASSERT_TRUE(items->FindKey(beer));
    items->DeleteRecord();
    rows->Requery();
    EXPECT_EQ(rows->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Birra"));
    EXPECT_FALSE(rows->GetValue(QStringLiteral("OID_Articoli")).isValid());
}

TEST_F(RecordRules, RefusedWritesLeaveNothingHalfWritten)
{
    // A text longer than its column is refused, never cut.
    try {
        items->AddRecord({QStringLiteral("Nome"), QStringLiteral("Un nome davvero troppo lungo per la colonna")});
        FAIL() << "a long text was accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Number(), ComponentError::TextTooLong);
        EXPECT_TRUE(e.Description().contains(QStringLiteral("Nome")));
    }
    EXPECT_EQ(items->RecordCount(), 2);

    // A duplicate of a unique index, raised while the owner's total is being
    // updated, rolls back the row and the total together.
    auto rows = documents->OpenReference(QStringLiteral("Righe"));
    rows->AddRecord({QStringLiteral("OID_Articoli"), pizza});
    documents->AddRecord({QStringLiteral("Numero"), 2, QStringLiteral("Categoria"), QStringLiteral("Bevande")});
    try {
        documents->SetValue(QStringLiteral("Numero"), 1);
        documents->SaveRecord();
        FAIL() << "a duplicate number was accepted";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Number(), ComponentError::Duplicate);
    }
    documents->CancelUpdate();
    EXPECT_EQ(documents->GetValue(QStringLiteral("Numero")).toLongLong(), 2);
    EXPECT_EQ(archive.Open(QStringLiteral("Documenti"), QStringLiteral("Numero = 1"))->RecordCount(), 1);
}

TEST_F(RecordRules, FieldChangeNotificationsReachListeners)
{
    QStringList seen;
    QObject::connect(documents.get(), &DataObject::FieldUpdated, [&](const QString& name) { seen.append(name); });
    auto rows = documents->OpenReference(QStringLiteral("Righe"));
    rows->AddRecord({QStringLiteral("OID_Articoli"), beer});
    EXPECT_TRUE(seen.contains(QStringLiteral("Totale")));
}

} // namespace
