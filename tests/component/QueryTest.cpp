// Reading through data objects: filters, sorts, finds, aggregates, select
// lists and criteria that reach other tables, and paged access that must
// agree with a plain ordered query whatever the order and the NULLs.

#include "TestArchive.h"

#include "component/ComponentErrors.h"
#include "component/Currency.h"
#include "component/Exception.h"
#include "component/Sqlite.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

class Queries : public ::testing::Test
{
protected:
    void SetUp() override
    {
        archive.engine->BeginTransaction();
        auto items = archive.Open(QStringLiteral("Articoli"));
        // 300 items: names with repeats and NULLs, orders with repeats.
        for (int i = 0; i < 300; ++i) {
            QVariantList pairs{QStringLiteral("Prezzo"), QVariant::fromValue(Currency::FromUnits(1000 * (i % 17 + 1))),
                               QStringLiteral("Ordine"), i % 7, QStringLiteral("Categoria"),
                               i % 3 == 0 ? QStringLiteral("Dolci") : QStringLiteral("Bevande")};
            if (i % 11 != 0)
                pairs << QStringLiteral("Nome") << QStringLiteral("Art%1").arg(i % 40, 2, 10, QLatin1Char('0'));
            items->AddRecord(pairs);
        }
        auto documents = archive.Open(QStringLiteral("Documenti"));
        documents->AddRecord({QStringLiteral("Numero"), 1, QStringLiteral("Data"), QDateTime(QDate(2026, 3, 1), QTime(9, 0)),
                              QStringLiteral("Note"), QStringLiteral("primo")});
        documents->AddRecord({QStringLiteral("Numero"), 2, QStringLiteral("Data"), QDateTime(QDate(2026, 3, 31), QTime(22, 30)),
                              QStringLiteral("Note"), QStringLiteral("àncora")});
        documents->AddRecord({QStringLiteral("Numero"), 3, QStringLiteral("Data"), QDateTime(QDate(2026, 4, 1), QTime(0, 0)),
                              QStringLiteral("Categoria"), QStringLiteral("Dolci")});
        archive.engine->CommitTransaction();
    }

    // OIDs in the order a plain SQLite query gives.
    QList<qint64> Expected(const QString& orderBy, const QString& where = QStringLiteral("1"))
    {
        Statement s(archive.engine->Db(),
                    QStringLiteral("SELECT Articoli.OID FROM Articoli LEFT JOIN Categorie ON Categorie.OID = Articoli.OID_Categoria "
                                   "WHERE %1 ORDER BY %2").arg(where, orderBy));
        QList<qint64> oids;
        while (s.Step())
            oids.append(s.ColumnInt(0));
        return oids;
    }

    static QList<qint64> Walk(DataObject& ds)
    {
        QList<qint64> oids;
        for (bool ok = ds.MoveFirst(); ok; ok = ds.MoveNext())
            oids.append(ds.ValueAt(0).toLongLong());
        return oids;
    }

    TestArchive archive;
};

TEST_F(Queries, WalkingAndPagingAgreeWithSqlWhateverTheOrder)
{
    const QList<std::pair<QString, QString>> orders = {
        {QString(), QStringLiteral("Articoli.OID")},
        {QStringLiteral("Nome"), QStringLiteral("Articoli.Nome COLLATE NOCASE, Articoli.OID")},
        {QStringLiteral("Nome DESC"), QStringLiteral("Articoli.Nome COLLATE NOCASE DESC, Articoli.OID DESC")},
        {QStringLiteral("Ordine DESC, Nome"), QStringLiteral("Articoli.Ordine DESC, Articoli.Nome COLLATE NOCASE, Articoli.OID")},
        {QStringLiteral("Categorie.Descrizione, Prezzo DESC"),
         QStringLiteral("Categorie.Descrizione COLLATE NOCASE, Articoli.Prezzo DESC, Articoli.OID DESC")},
    };
    for (const auto& [order, sql] : orders) {
        SCOPED_TRACE(order.toStdString());
        auto items = archive.Open(QStringLiteral("Articoli"), {}, order);
        const QList<qint64> expected = Expected(sql);
        ASSERT_EQ(expected.size(), 300);
        EXPECT_EQ(Walk(*items), expected);
        // Backwards from the end.
        QList<qint64> backwards;
        for (bool ok = items->MoveLast(); ok; ok = items->MovePrevious())
            backwards.prepend(items->ValueAt(0).toLongLong());
        EXPECT_EQ(backwards, expected);
        // Random positions, far jumps first, then the neighbours.
        for (qint64 p : {299, 0, 150, 64, 63, 200, 128, 1, 298}) {
            const RowPager::Row* row = items->RowAt(p);
            ASSERT_NE(row, nullptr);
            EXPECT_EQ(row->oid, expected[p]) << "position " << p;
        }
        EXPECT_EQ(items->RowAt(300), nullptr);
        ASSERT_TRUE(items->MoveTo(77));
        EXPECT_EQ(items->AbsolutePosition(), 77);
        ASSERT_TRUE(items->FindKey(expected[211]));
        EXPECT_EQ(items->AbsolutePosition(), 211);
    }
}

TEST_F(Queries, FilterNarrowsAndSortKeepsTheCurrentRecord)
{
    auto items = archive.Open(QStringLiteral("Articoli"));
    items->SetFilter(QStringLiteral("Nome Like 'art0*' AND Categoria = 'Dolci'"));
    EXPECT_EQ(Walk(*items), Expected(QStringLiteral("Articoli.OID"),
                                     QStringLiteral("Articoli.Nome LIKE 'art0%' AND Categorie.Descrizione = 'Dolci'")));
    items->SetFilter(QString());
    EXPECT_EQ(items->RecordCount(), 300);

    ASSERT_TRUE(items->MoveTo(42));
    const qint64 oid = items->ValueAt(0).toLongLong();
    items->SetSort(QStringLiteral("Prezzo DESC"));
    EXPECT_EQ(items->ValueAt(0).toLongLong(), oid);
    EXPECT_EQ(items->Sort(), QStringLiteral("Prezzo DESC"));

    // A criteria that cannot be parsed changes nothing.
    EXPECT_THROW(items->SetFilter(QStringLiteral("Nome = 'x")), Exception);
    EXPECT_EQ(items->Filter(), QString());
    EXPECT_EQ(items->RecordCount(), 300);
}

TEST_F(Queries, FindFirstFromTheStartAndFromTheNextRecord)
{
    auto items = archive.Open(QStringLiteral("Articoli"), {}, QStringLiteral("Nome"));
    const QList<qint64> expected =
        Expected(QStringLiteral("Articoli.Nome COLLATE NOCASE, Articoli.OID"), QStringLiteral("Articoli.Nome LIKE 'art1%'"));
    ASSERT_TRUE(items->FindFirst(QStringLiteral("Nome Like 'ART1*'")));
    EXPECT_EQ(items->ValueAt(0).toLongLong(), expected[0]);
    ASSERT_TRUE(items->FindFirst(QStringLiteral("Nome Like 'ART1*'"), true));
    EXPECT_EQ(items->ValueAt(0).toLongLong(), expected[1]);
    ASSERT_TRUE(items->FindFirst(QStringLiteral("Nome Like 'ART1*'")));
    EXPECT_EQ(items->ValueAt(0).toLongLong(), expected[0]);

    const qint64 before = items->ValueAt(0).toLongLong();
    EXPECT_FALSE(items->FindFirst(QStringLiteral("Nome = 'nessuno'")));
    EXPECT_EQ(items->ValueAt(0).toLongLong(), before) << "a failed search must not move the current record";
    // Criteria on another table's columns.
    ASSERT_TRUE(items->FindFirst(QStringLiteral("Categorie.Descrizione = 'Dolci' AND Ordine = 3")));
    EXPECT_EQ(items->GetValue(QStringLiteral("Categoria")).toString(), QStringLiteral("Dolci"));
}

TEST_F(Queries, AggregatesFollowTheFilterAndAnEmptySetCountsAsZero)
{
    auto items = archive.Open(QStringLiteral("Articoli"));
    Statement s(archive.engine->Db(), QStringLiteral("SELECT sum(Prezzo), max(Ordine) FROM Articoli WHERE OID_Categoria = 2"));
    ASSERT_TRUE(s.Step());
    items->SetFilter(QStringLiteral("Categoria = 'Dolci'"));
    EXPECT_EQ(items->Aggregate(QStringLiteral("Prezzo"), 0).value<Currency>().Units(), s.ColumnInt(0));
    EXPECT_EQ(items->Aggregate(QStringLiteral("Ordine"), 2).toLongLong(), s.ColumnInt(1));
    items->SetFilter(QStringLiteral("Nome = 'nessuno'"));
    EXPECT_EQ(items->Aggregate(QStringLiteral("Ordine"), 2).toLongLong(), 0);
    EXPECT_EQ(items->Aggregate(QStringLiteral("Prezzo"), 0).value<Currency>(), Currency());
    EXPECT_TRUE(items->IsEmptySet());
    EXPECT_TRUE(items->NoCurrentRecord());
    EXPECT_TRUE(items->IsBOF() && items->IsEOF());
    EXPECT_THROW(items->Aggregate(QStringLiteral("Nome"), 0), Exception);
}

TEST_F(Queries, DatesSelectByDayMonthAndPeriod)
{
    auto count = [&](const QString& criteria) { return archive.Open(QStringLiteral("Documenti"), criteria)->RecordCount(); };
    EXPECT_EQ(count(QStringLiteral("Month(Data) = 3 AND Year(Data) = 2026")), 2);
    EXPECT_EQ(count(QStringLiteral("Data >= #03/31/2026# AND Data < #04/01/2026#")), 1);
    EXPECT_EQ(count(QStringLiteral("Documenti.Data >= #03/01/2026# AND Documenti.Data < #04/01/2026#AND Numero=2")), 1);
    EXPECT_EQ(count(QStringLiteral("(Note Is Null OR Note Like '*ncor*') AND NOT Numero = 2")), 1);
    EXPECT_EQ(count(QStringLiteral("Note Like 'ÀNCORA'")), 1) << "Like is case-insensitive beyond ASCII";
    EXPECT_EQ(count(QStringLiteral("Categorie.OID = 2")), 1);
}

TEST_F(Queries, SelectListBringsColumnsOfTheOwner)
{
    auto documents = archive.Open(QStringLiteral("Documenti"), QStringLiteral("Numero = 1"));
    auto rows = documents->OpenReference(QStringLiteral("Righe"));
    auto items = archive.Open(QStringLiteral("Articoli"), QStringLiteral("Nome = 'Art05'"));
    rows->AddRecord({QStringLiteral("OID_Articoli"), items->ValueAt(0)});

    const QString join = archive.database->Tables().Item(QStringLiteral("Documenti")).GetRelation(QStringLiteral("Righe")).JoinCriteria();
    auto sold = archive.Open(QStringLiteral("Righe"), join + QStringLiteral(" AND Data >= #03/01/2026#"),
                             QStringLiteral("Documenti.Data"), QStringLiteral("*, Documenti.Data"));
    ASSERT_EQ(sold->RecordCount(), 1);
    EXPECT_EQ(sold->GetValue(QStringLiteral("Data")).toDateTime(), QDateTime(QDate(2026, 3, 1), QTime(9, 0)));
    EXPECT_EQ(sold->Field(0).name, QStringLiteral("OID"));
    EXPECT_TRUE(sold->RequireField(QStringLiteral("Data")).readOnly);

    auto ordered = archive.Open(QStringLiteral("Righe"), {}, {}, QStringLiteral("*,Quantità, Nome, Prezzo, Importo"));
    EXPECT_EQ(ordered->Field(0).name, QStringLiteral("OID"));
    EXPECT_EQ(ordered->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Art05"));
}

TEST_F(Queries, MalformedStringsRaiseTheEnginesError)
{
    for (const QString& bad : {QStringLiteral("Nome = "), QStringLiteral("(Nome = 'a'"), QStringLiteral("Boh = 1"),
                               QStringLiteral("Data > #13/45/2026#"), QStringLiteral("Nome = 'a' AND")}) {
        SCOPED_TRACE(bad.toStdString());
        try {
            archive.Open(QStringLiteral("Articoli"), bad)->RecordCount();
            FAIL() << "accepted";
        } catch (const Exception& e) {
            EXPECT_GE(quint32(e.Number()), 0x80040000u);
            EXPECT_FALSE(e.Description().isEmpty());
        }
    }
    EXPECT_THROW(archive.Open(QStringLiteral("Articoli"), {}, QStringLiteral("Nessuno DESC")), Exception);
}

} // namespace
