// Criteria of the query dialect, checked by running the translated SQL on a
// small archive and comparing the rows selected.

#include "SqlDialectTestDb.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"

#include <QDateTime>

using namespace SqlDialectTest;

namespace {

class SqlDialectCriteria : public ::testing::Test
{
protected:
    Oids Receipts(const QString& criteria) { return m_db.Select(QStringLiteral("Ricevute"), criteria); }
    Oids Rows(const QString& criteria) { return m_db.Select(QStringLiteral("RigheRicevute"), criteria); }
    QVariant ReceiptValue(qint64 oid, const QString& expression)
    {
        return m_db.Evaluate(QStringLiteral("Ricevute"), oid, expression);
    }

    TestDb m_db;
};

SqlFragment Translate(const QString& criteria, const QString& table = QStringLiteral("Ricevute"))
{
    FakeResolver resolver(table);
    return SqlDialect::TranslateCriteria(criteria, resolver);
}

} // namespace

TEST_F(SqlDialectCriteria, StringsTheApplicationBuilds)
{
    EXPECT_EQ(Rows("Nome Like 'Coperto%'"), (Oids{1, 2}));
    EXPECT_EQ(m_db.Select("TipiDocumento", "Descrizione= 'Ricevuta fiscale'"), (Oids{2}));
    EXPECT_EQ(m_db.Select("TipiDocumento", "Descrizione= 'ricevuta FISCALE'"), (Oids{2}));
    EXPECT_EQ(Rows("Nome Like 'cop*' AND Nome Like '*bamb*'"), (Oids{2}));
    EXPECT_EQ(Receipts("Ricevute.Data >= #03/01/2026# AND Ricevute.Data <= #03/31/2026#AND OID_TipoDocumento=2"),
              (Oids{1}));
    EXPECT_EQ(Receipts("Ricevute.Data >= #03/01/2026# AND Ricevute.Data <= #03/31/2026 10:05:00#"), (Oids{1, 2}));
    EXPECT_EQ(Receipts("Month(Data) = 3 AND Year(Data) = 2026"), (Oids{1, 2}));
    EXPECT_EQ(Receipts("Data >= #12/07/2026# AND Data < #12/08/2026#"), (Oids{3}));
    EXPECT_EQ(Receipts("(Note Like '*a*') AND Month(Data) = 3 AND Year(Data) = 2026"), (Oids{1}));
    EXPECT_EQ(Receipts(""), (Oids{1, 2, 3, 4, 5}));
    EXPECT_EQ(Receipts("   "), (Oids{1, 2, 3, 4, 5}));
}

TEST_F(SqlDialectCriteria, NamesOfOtherTablesUseTheResolversJoins)
{
    EXPECT_EQ(Receipts("TipiDocumento.OID = 2 AND AnnoFiscale = 2026"), (Oids{1, 2, 5}));
    EXPECT_EQ(Receipts("TipiDocumento.Descrizione Like 'Ricevuta*' AND Clienti.Ragione_Sociale = 'rossi s.r.l.'"),
              (Oids{3}));
    EXPECT_EQ(Rows("Ricevute.Data >= #03/01/2026# AND Ricevute.Data < #04/01/2026#"), (Oids{1, 2, 3, 4, 5}));
    EXPECT_EQ(Rows("[Portate].[Descrizione] = 'PRIMI'"), (Oids{3, 7}));
}

TEST_F(SqlDialectCriteria, ComparisonsAndLogic)
{
    EXPECT_EQ(Receipts("Numero = 1 OR Numero = 3"), (Oids{1, 3, 4, 5}));
    EXPECT_EQ(Receipts("Not (Numero = 1)"), (Oids{2, 5}));
    EXPECT_EQ(Receipts("Not Numero = 1 And AnnoFiscale = 2026"), (Oids{2, 5}));
    EXPECT_EQ(Receipts("Numero = 1 Or Numero = 2 And AnnoFiscale = 2025"), (Oids{1, 3, 4}));
    EXPECT_EQ(Receipts("Numero <> 1"), (Oids{2, 5}));
    EXPECT_EQ(Receipts("Numero < 2"), (Oids{1, 3, 4}));
    EXPECT_EQ(Receipts("Numero <= 2"), (Oids{1, 2, 3, 4}));
    EXPECT_EQ(Receipts("Numero > 1"), (Oids{2, 5}));
    EXPECT_EQ(Receipts("Numero >= 2"), (Oids{2, 5}));
    EXPECT_EQ(Receipts("Numero Between 2 And 3"), (Oids{2, 5}));
    EXPECT_EQ(Receipts("Numero Not Between 2 And 3 AND AnnoFiscale = 2026"), (Oids{1, 3}));
    EXPECT_EQ(Receipts("Numero In (2, 3)"), (Oids{2, 5}));
    EXPECT_EQ(Receipts("Numero Not In (1)"), (Oids{2, 5}));
    EXPECT_EQ(Receipts("Note Is Null"), (Oids{2}));
    EXPECT_EQ(Receipts("Note Is Not Null"), (Oids{1, 3, 4, 5}));
    EXPECT_EQ(Receipts("Note = Null"), (Oids{}));
    EXPECT_EQ(m_db.Select("TipiDocumento", "Fattura = True"), (Oids{1}));
    EXPECT_EQ(m_db.Select("TipiDocumento", "Fattura = False"), (Oids{2, 3, 4}));
    EXPECT_EQ(m_db.Select("TipiDocumento", "Not Fattura"), (Oids{2, 3, 4}));
    EXPECT_EQ(m_db.Select("TipiDocumento", "Fattura"), (Oids{1}));
    // Text compared without case even when no column gives the collation.
    EXPECT_EQ(Receipts("UCase(Note) = 'tavolo 4'"), (Oids{1}));
}

TEST_F(SqlDialectCriteria, ArithmeticAndConcatenation)
{
    EXPECT_EQ(Receipts("Numero + 1 = 3"), (Oids{2}));
    EXPECT_EQ(Receipts("Numero * 2 - 1 = 5"), (Oids{5}));
    EXPECT_EQ(Receipts("Numero / 2 = 1.5"), (Oids{5}));
    EXPECT_EQ(Receipts("Numero = 1 + 2 * 1"), (Oids{5}));
    EXPECT_EQ(Receipts("Numero = 10 Mod 4 + 1"), (Oids{5}));
    EXPECT_EQ(Receipts("Numero = 2 * 3 \\ 2"), (Oids{5}));
    EXPECT_EQ(Receipts("Numero = 6.5 \\ 2"), (Oids{5})); // 6.5 rounds to 6, halves to even
    EXPECT_EQ(Receipts("AnnoFiscale Mod 2 = 1"), (Oids{4}));
    EXPECT_EQ(Receipts("-Numero = -3"), (Oids{5}));
    EXPECT_EQ(Receipts("- (Numero + 0) < -2"), (Oids{5}));
    EXPECT_EQ(Receipts("Note & 'x' = 'Tavolo 4x'"), (Oids{1}));
    EXPECT_EQ(Receipts("Note & 'x' = 'x'"), (Oids{2})); // Null reads as empty text
    EXPECT_EQ(Receipts("Numero & '-' & AnnoFiscale = '3-2026'"), (Oids{5}));
    EXPECT_EQ(Receipts("Note + 'x' = 'Tavolo 4x'"), (Oids{1}));
    EXPECT_EQ(Receipts("Data + 1 = #03/02/2026 12:30:00#"), (Oids{1}));
    EXPECT_EQ(Receipts("Data - 0.5 = #03/01/2026 00:30:00#"), (Oids{1}));
    EXPECT_EQ(Receipts("Data - #03/01/2026# > 30"), (Oids{2, 3, 5}));
}

TEST_F(SqlDialectCriteria, LiteralsAndNames)
{
    EXPECT_EQ(Receipts("Note = 'it''s'"), (Oids{5}));
    EXPECT_EQ(Receipts("Note = \"it's\""), (Oids{5}));
    EXPECT_EQ(Receipts("Note = \"say \"\"hi\"\"\""), (Oids{}));
    EXPECT_EQ(Receipts("Importo_Ricevuta >= 1E3"), (Oids{4}));
    EXPECT_EQ(Receipts("Importo_Ricevuta = 15.50"), (Oids{1}));
    EXPECT_EQ(Receipts("Data = #2026-03-31 10:05:00#"), (Oids{2}));
    EXPECT_EQ(Receipts("Data = #3/31/26 10:05 AM#"), (Oids{2}));
    EXPECT_EQ(Receipts("Data = #03/31/2026 10:05:00 PM#"), (Oids{}));
    EXPECT_EQ(Receipts("Data = '03/31/2026 10:05:00'"), (Oids{2}));
    EXPECT_EQ(Rows("[Quantità] = 0.5"), (Oids{6}));
    EXPECT_EQ(Rows("Ordine_Menù >= 20"), (Oids{6, 7}));
    EXPECT_EQ(Rows("RigheRicevute.Quantità > 1"), (Oids{1}));
    EXPECT_EQ(Rows("[righericevute].[QUANTITÀ] > 1"), (Oids{1}));
}

TEST_F(SqlDialectCriteria, EveryLiteralIsBound)
{
    const SqlFragment f = Translate("Note = 'x'' OR 1=1 --' AND Numero = 5 AND Data < #01/01/2027#");
    EXPECT_FALSE(f.sql.contains("1=1"));
    EXPECT_FALSE(f.sql.contains(u'5'));
    EXPECT_FALSE(f.sql.contains("2027"));
    EXPECT_EQ(f.sql.count(u'?'), 3);
    EXPECT_EQ(f.params, (QVariantList{QString("x' OR 1=1 --"), qint64(5), QString("2027-01-01 00:00:00")}));
    EXPECT_EQ(Translate("Fattura = True", "TipiDocumento").params, (QVariantList{qint64(1)}));

    // A pattern that starts with a wildcard is written into the statement
    // (it can use no index, and a bound one is prepared again at every run):
    // its quotes are doubled, so it stays one text.
    const SqlFragment contains = Translate("Note Like '*x'' OR 1=1 --*'");
    EXPECT_TRUE(contains.params.isEmpty());
    EXPECT_TRUE(contains.sql.contains(QStringLiteral("'%x'' OR 1=1 --%'"))) << contains.sql.toStdString();
    EXPECT_EQ(Receipts("Note Like '*x'' OR 1=1 --*'"), Oids());
    EXPECT_EQ(Translate("Note Like 'Tav*'").params, (QVariantList{QStringLiteral("Tav%")})) << "a prefix stays bound";
    const QString withNul = QStringLiteral("Note Like '*a") + QChar(0) + QStringLiteral("b*'");
    EXPECT_EQ(Translate(withNul).params.size(), 1) << "a control character is bound, never written";
}

TEST_F(SqlDialectCriteria, Functions)
{
    EXPECT_EQ(ReceiptValue(2, "Year(Data)"), QVariant(qint64(2026)));
    EXPECT_EQ(ReceiptValue(2, "month(Data)"), QVariant(qint64(3)));
    EXPECT_EQ(ReceiptValue(2, "DAY(Data)"), QVariant(qint64(31)));
    EXPECT_EQ(ReceiptValue(2, "Hour(Data)"), QVariant(qint64(10)));
    EXPECT_EQ(ReceiptValue(2, "Minute(Data)"), QVariant(qint64(5)));
    EXPECT_EQ(ReceiptValue(4, "Second(Data)"), QVariant(qint64(59)));
    EXPECT_EQ(ReceiptValue(2, "Weekday(Data)"), QVariant(qint64(3))); // a Tuesday; Sunday is 1
    EXPECT_EQ(ReceiptValue(2, "Weekday(Data, 2)"), QVariant(qint64(2)));
    EXPECT_EQ(ReceiptValue(1, "Weekday(#03/01/2026#)"), QVariant(qint64(1)));
    EXPECT_EQ(ReceiptValue(1, "Date()"), QVariant(QDate::currentDate().toString("yyyy-MM-dd") + " 00:00:00"));
    EXPECT_TRUE(ReceiptValue(1, "Now()").toString().startsWith(QDate::currentDate().toString("yyyy-MM-dd")));
    EXPECT_EQ(Receipts("Data < Date() + 100000 AND Now() > #01/01/2000#"), (Oids{1, 2, 3, 4, 5}));
    EXPECT_EQ(ReceiptValue(1, "DateSerial(2026, 13, 1)"), QVariant("2027-01-01 00:00:00"));
    EXPECT_EQ(ReceiptValue(1, "DateSerial(2026, 3, 0)"), QVariant("2026-02-28 00:00:00"));
    EXPECT_EQ(ReceiptValue(2, "DateSerial(Year(Data), Month(Data) + 1, 1)"), QVariant("2026-04-01 00:00:00"));
    EXPECT_EQ(Receipts("Data >= DateSerial(2026, 12, 1)"), (Oids{3}));
    EXPECT_EQ(ReceiptValue(3, "UCase(Note)"), QVariant("CAFFÈ"));
    EXPECT_EQ(ReceiptValue(3, "LCase('ÑOQUIS')"), QVariant("ñoquis"));
    EXPECT_EQ(ReceiptValue(1, "Len(Note)"), QVariant(qint64(8)));
    EXPECT_EQ(ReceiptValue(2, "Len(Note)"), QVariant());
    EXPECT_EQ(ReceiptValue(1, "Left(Note, 6)"), QVariant("Tavolo"));
    EXPECT_EQ(ReceiptValue(1, "Right(Note, 1)"), QVariant("4"));
    EXPECT_EQ(ReceiptValue(1, "Right(Note, 0)"), QVariant(""));
    EXPECT_EQ(ReceiptValue(1, "Right(Note, 20)"), QVariant("Tavolo 4"));
    EXPECT_EQ(ReceiptValue(1, "Mid(Note, 8)"), QVariant("4"));
    EXPECT_EQ(ReceiptValue(1, "Mid(Note, 1, 3)"), QVariant("Tav"));
    EXPECT_EQ(ReceiptValue(1, "Trim('  a  ')"), QVariant("a"));
    EXPECT_EQ(ReceiptValue(1, "LTrim('  a  ')"), QVariant("a  "));
    EXPECT_EQ(ReceiptValue(1, "RTrim('  a  ')"), QVariant("  a"));
    EXPECT_EQ(ReceiptValue(1, "Abs(-3)"), QVariant(qint64(3)));
    EXPECT_EQ(Receipts("Abs(-Importo_Ricevuta) = 15.5"), (Oids{1}));
    EXPECT_EQ(ReceiptValue(1, "Int(-2.5)"), QVariant(qint64(-3)));
    EXPECT_EQ(ReceiptValue(1, "Fix(-2.5)"), QVariant(qint64(-2)));
    EXPECT_EQ(ReceiptValue(2, "IIf(Numero > 1, 'a', 'b')"), QVariant("a"));
    EXPECT_EQ(Receipts("IIf(Importo_Ricevuta > 12, Importo_Ricevuta, 0) = 0"), (Oids{2, 3, 5}));
    EXPECT_EQ(ReceiptValue(2, "Nz(Note, 'vuoto')"), QVariant("vuoto"));
    EXPECT_EQ(ReceiptValue(2, "Nz(Note)"), QVariant(""));
    EXPECT_EQ(Receipts("Nz(Importo_Ricevuta) = 0"), (Oids{5}));
    EXPECT_EQ(Receipts("IsNull(Note)"), (Oids{2}));
    EXPECT_EQ(ReceiptValue(2, "CStr(Numero)"), QVariant("2"));
    EXPECT_EQ(ReceiptValue(2, "CStr(Importo_Ricevuta)"), QVariant("10"));
    EXPECT_EQ(ReceiptValue(1, "CStr(Importo_Ricevuta)"), QVariant("15.5"));
    EXPECT_EQ(ReceiptValue(2, "CLng(2.5)"), QVariant(qint64(2)));
    EXPECT_EQ(ReceiptValue(2, "CLng(3.5)"), QVariant(qint64(4)));
    EXPECT_EQ(ReceiptValue(2, "CDbl('2.5')"), QVariant(2.5));
    EXPECT_EQ(Receipts("CCur(Numero / 3) = 0.6667"), (Oids{2}));
    EXPECT_EQ(Receipts("CCur(1.00005) = Importo_Ricevuta * 10000"), (Oids{3})); // 1.00005 -> 1.0000, to even
    EXPECT_EQ(Receipts("CCur(0.00015) = Importo_Ricevuta * 2"), (Oids{3}));  // 1.5 units -> 2
}

TEST_F(SqlDialectCriteria, CurrencyComparesExactly)
{
    const SqlFragment f = Translate("Prezzo > 5.5", "RigheRicevute");
    EXPECT_EQ(f.params, (QVariantList{qint64(55000)}));
    EXPECT_FALSE(f.sql.contains("10000"));
    EXPECT_EQ(Rows("Prezzo > 5.5"), (Oids{3, 6, 7}));
    EXPECT_EQ(Rows("Prezzo = 1.2"), (Oids{4}));
    EXPECT_EQ(Rows("1.2 = Prezzo"), (Oids{4}));
    EXPECT_EQ(Rows("Prezzo = -(-1.2)"), (Oids{4}));
    EXPECT_EQ(Rows("Prezzo Between 1 And 2.5"), (Oids{1, 2, 4, 5}));
    EXPECT_EQ(Rows("Prezzo In (2, 2.5)"), (Oids{1, 5}));
    EXPECT_EQ(Rows("Prezzo = '2,50'"), (Oids{5}));
    EXPECT_EQ(Rows("Prezzo > 1.23456"), (Oids{1, 3, 5, 6, 7}));
    EXPECT_EQ(Rows("Prezzo = Importo_Riga"), (Oids{2, 3, 4, 5}));
    EXPECT_EQ(Rows("Importo_Riga = Prezzo * Quantità"), (Oids{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Rows("Prezzo + Importo_Riga = 3.5"), (Oids{}));
    EXPECT_EQ(Rows("Prezzo + Importo_Riga = 2.4"), (Oids{4}));
    EXPECT_EQ(Rows("Prezzo * 3 = 3.6"), (Oids{4}));
    EXPECT_EQ(Rows("Prezzo / 3 = 0.4"), (Oids{4}));
    EXPECT_EQ(Rows("Prezzo + 0.1 = 1.3"), (Oids{4}));
    EXPECT_EQ(Rows("Prezzo > Quantità * 5"), (Oids{3, 6}));
    EXPECT_EQ(Receipts("Importo_Ricevuta = 0.0001"), (Oids{3}));
    EXPECT_EQ(Receipts("Importo_Ricevuta < 0.001"), (Oids{3}));
    EXPECT_EQ(Receipts("Importo_Ricevuta > 19362.69"), (Oids{4}));
    EXPECT_EQ(Receipts("Importo_Ricevuta / 1936.27 = 10"), (Oids{4}));
}

TEST_F(SqlDialectCriteria, LikePatterns)
{
    const SqlFragment ascii = Translate("Nome Like 'Coperto%'", "RigheRicevute");
    EXPECT_TRUE(ascii.sql.contains("LIKE ?")) << ascii.sql.toStdString();
    EXPECT_FALSE(ascii.sql.contains("ESCAPE"));
    EXPECT_EQ(ascii.params, (QVariantList{QString("Coperto%")}));
    const SqlFragment escaped = Translate("Nome Like '*100[%]*'", "RigheRicevute");
    EXPECT_TRUE(escaped.sql.contains("ESCAPE '\\'"));
    EXPECT_TRUE(escaped.sql.contains("LIKE '%100\\%%'")) << "no index serves it: written into the statement";
    EXPECT_TRUE(Translate("Nome Like 'caffè*'", "RigheRicevute").sql.startsWith("mens_like("));

    EXPECT_EQ(Rows("Nome Like '*100[%]*'"), (Oids{6}));
    EXPECT_EQ(Rows("Nome Like '*[_]*'"), (Oids{6}));
    EXPECT_EQ(Rows("Nome Like '*_extra'"), (Oids{6}));
    EXPECT_EQ(Rows("Nome Like 'caff?'"), (Oids{4}));
    EXPECT_EQ(Rows("Nome Like 'caffè*'"), (Oids{4, 5}));
    EXPECT_EQ(Rows("Nome Like 'ñ*'"), (Oids{7}));
    EXPECT_EQ(Rows("Nome Like '*[[]chef]'"), (Oids{7}));
    EXPECT_EQ(Rows("Nome Like '[a-d]*'"), (Oids{1, 2, 4, 5}));
    EXPECT_EQ(Rows("Nome Like '[!a-d]*'"), (Oids{3, 6, 7}));
    EXPECT_EQ(Rows("Nome Like 'Tagliata ###*'"), (Oids{6}));
    EXPECT_EQ(Rows("Nome Like '*[*]*'"), (Oids{}));
    EXPECT_EQ(Rows("Nome Like '*[?]*' OR Nome Like '*[#]*'"), (Oids{}));
    EXPECT_EQ(Rows("Nome Like 'Spag[]hetti'"), (Oids{3}));
    EXPECT_EQ(Rows("Nome Like ''"), (Oids{}));
    EXPECT_EQ(Rows("Nome Like Nome"), (Oids{1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(Rows("Nome Like 'sp' & '*'"), (Oids{3}));
    EXPECT_EQ(Receipts("Note Like '*'"), (Oids{1, 3, 4, 5}));
    EXPECT_EQ(Receipts("Note Not Like 'x*'"), (Oids{1, 3, 4, 5}));
    EXPECT_EQ(Receipts("Note Like '*è*'"), (Oids{3}));
    EXPECT_EQ(Receipts("Note Not Like '*è*'"), (Oids{1, 4, 5}));
}

TEST(SqlDialectOrder, OrdersTheApplicationBuilds)
{
    TestDb db;
    const auto ordered = [&](const QString& table, const QString& order) {
        FakeResolver resolver(table);
        const QList<SqlOrderTerm> terms = SqlDialect::TranslateOrder(order, resolver);
        QStringList parts;
        QVariantList params;
        for (const SqlOrderTerm& t : terms) {
            parts << t.expr.sql + (t.descending ? " DESC" : "");
            params += t.expr.params;
        }
        parts << QStringLiteral("\"%1\".\"OID\"").arg(table);
        Oids oids;
        StmtPtr stmt = db.Prepare(QStringLiteral("SELECT \"%1\".\"OID\" FROM \"%1\" %2 ORDER BY %3")
                                      .arg(table, resolver.Joins(), parts.join(", ")),
                                  params);
        while (stmt && sqlite3_step(stmt.get()) == SQLITE_ROW)
            oids.append(sqlite3_column_int64(stmt.get(), 0));
        return oids;
    };
    EXPECT_EQ(ordered("RigheRicevute", "Portate.Ordine_Di_Stampa,RigheRicevute.OID"), (Oids{1, 2, 4, 5, 3, 7, 6}));
    EXPECT_EQ(ordered("Menu", "Menu.OID_Portata,Menu.Ordine_Menù"), (Oids{1, 3, 2}));
    EXPECT_EQ(ordered("Ricevute", "AnnoFiscale,Numero"), (Oids{4, 1, 3, 2, 5}));
    EXPECT_EQ(ordered("Ricevute", "Numero DESC"), (Oids{5, 2, 1, 3, 4}));
    EXPECT_EQ(ordered("Ricevute", "Numero ASC"), (Oids{1, 3, 4, 2, 5}));
    EXPECT_EQ(ordered("Ricevute", "Ricevute.OID_TipoDocumento, Ricevute.Numero"), (Oids{4, 1, 2, 5, 3}));
    EXPECT_EQ(ordered("Ricevute", "Importo_Ricevuta desc"), (Oids{4, 1, 2, 3, 5}));
    EXPECT_EQ(ordered("Ricevute", "Month(Data) DESC, Numero"), (Oids{3, 4, 5, 1, 2}));
    EXPECT_EQ(ordered("RigheRicevute", "Ricevute.Data"), (Oids{7, 1, 2, 3, 4, 5, 6}));
    EXPECT_EQ(ordered("Ricevute", ""), (Oids{1, 2, 3, 4, 5}));

    FakeResolver resolver("Ricevute");
    const QList<SqlOrderTerm> terms = SqlDialect::TranslateOrder("Numero DESC, Year(Data), Importo_Ricevuta", resolver);
    ASSERT_EQ(terms.size(), 3);
    EXPECT_TRUE(terms[0].descending);
    EXPECT_EQ(terms[0].typeCode, FieldType::Long);
    EXPECT_FALSE(terms[1].descending);
    EXPECT_EQ(terms[1].typeCode, -1);
    EXPECT_EQ(terms[2].typeCode, FieldType::Currency);
}

TEST(SqlDialectSelect, SelectLists)
{
    QList<SqlSelectItem> items = SqlDialect::ParseSelectList("*, Ricevute.Data");
    ASSERT_EQ(items.size(), 2);
    EXPECT_TRUE(items[0].star);
    EXPECT_TRUE(items[0].qualifier.isEmpty());
    EXPECT_FALSE(items[1].star);
    EXPECT_EQ(items[1].qualifier, "Ricevute");
    EXPECT_EQ(items[1].name, "Data");

    items = SqlDialect::ParseSelectList("*,Quantità, Nome, Prezzo, Importo_Riga");
    ASSERT_EQ(items.size(), 5);
    EXPECT_EQ(items[1].name, "Quantità");
    EXPECT_EQ(items[4].name, "Importo_Riga");

    items = SqlDialect::ParseSelectList("Ricevute.*, [Ragione Sociale], [T].[C]");
    ASSERT_EQ(items.size(), 3);
    EXPECT_TRUE(items[0].star);
    EXPECT_EQ(items[0].qualifier, "Ricevute");
    EXPECT_EQ(items[1].name, "Ragione Sociale");
    EXPECT_EQ(items[2].qualifier, "T");
    EXPECT_EQ(items[2].name, "C");
    EXPECT_TRUE(SqlDialect::ParseSelectList("  ").isEmpty());

    for (const char* bad : {"Nome +", "Year(Data)", "Nome,", "a b", "*.Nome", "'x'"}) {
        try {
            SqlDialect::ParseSelectList(bad);
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const Exception& e) {
            EXPECT_EQ(e.Number(), ComponentError::Syntax) << bad;
            EXPECT_TRUE(e.Description().startsWith("Elenco dei campi non valido: ")) << e.what();
        }
    }
}

TEST(SqlDialectLiterals, ComposedLiteralsReadBack)
{
    TestDb db;
    EXPECT_EQ(SqlDialect::TextLiteral("it's"), "'it''s'");
    EXPECT_EQ(db.Select("Ricevute", "Note = " + SqlDialect::TextLiteral("it's")), (Oids{5}));
    EXPECT_EQ(SqlDialect::NumberLiteral(1936.27), "1936.27");
    EXPECT_EQ(SqlDialect::NumberLiteral(0.0001), "0.0001");
    EXPECT_EQ(SqlDialect::NumberLiteral(-3), "-3");
    EXPECT_EQ(db.Select("Ricevute", "Importo_Ricevuta = " + SqlDialect::NumberLiteral(0.0001)), (Oids{3}));
    EXPECT_EQ(db.Select("Ricevute", "Numero < " + SqlDialect::NumberLiteral(1e20)), (Oids{1, 2, 3, 4, 5}));
    EXPECT_EQ(db.Select("Ricevute", "Numero > " + SqlDialect::NumberLiteral(1e-7)), (Oids{1, 2, 3, 4, 5}));
    EXPECT_THROW(SqlDialect::NumberLiteral(std::nan("")), Exception);

    const QDateTime day(QDate(2026, 3, 31), QTime(0, 0));
    const QDateTime moment(QDate(2026, 3, 31), QTime(10, 5));
    EXPECT_EQ(SqlDialect::DateLiteral(day), "#03/31/2026#");
    EXPECT_EQ(SqlDialect::DateLiteral(moment), "#03/31/2026 10:05:00#");
    EXPECT_EQ(db.Select("Ricevute", "Data = " + SqlDialect::DateLiteral(moment)), (Oids{2}));
    EXPECT_EQ(db.Select("Ricevute", "Data >= " + SqlDialect::DateLiteral(QDateTime(QDate(26, 1, 1), QTime(0, 0)))),
              (Oids{1, 2, 3, 4, 5}));
    EXPECT_THROW(SqlDialect::DateLiteral(QDateTime()), Exception);
}

TEST_F(SqlDialectCriteria, YearAndMonthOfADateSelectAsARangeOfTheDate)
{
    // The view of a month or a year reaches its rows through the date's index.
    const SqlFragment month = Translate("Month(Data) = 3 AND Year(Data) = 2026");
    EXPECT_FALSE(month.sql.contains(QStringLiteral("strftime"))) << month.sql.toStdString();
    EXPECT_EQ(month.params, (QVariantList{QStringLiteral("2026-03-01 00:00:00"), QStringLiteral("2026-04-01 00:00:00")}));
    const SqlFragment year = Translate("Year(Data) = 2026");
    EXPECT_EQ(year.params, (QVariantList{QStringLiteral("2026-01-01 00:00:00"), QStringLiteral("2027-01-01 00:00:00")}));

    // Whatever the form, the rows are those of the date functions.
    const auto same = [this](const QString& ranged, const QString& computed) {
        EXPECT_EQ(Receipts(ranged), Receipts(computed)) << ranged.toStdString();
    };
    same(QStringLiteral("Year(Data) = 2026"), QStringLiteral("Year(Data) + 0 = 2026"));
    same(QStringLiteral("2026 = Year(Data)"), QStringLiteral("Year(Data) + 0 = 2026"));
    same(QStringLiteral("Year(Data) = 2025"), QStringLiteral("Year(Data) + 0 = 2025"));
    same(QStringLiteral("NOT Year(Data) = 2026"), QStringLiteral("NOT Year(Data) + 0 = 2026"));
    same(QStringLiteral("Year(Data) = 2026 AND Month(Data) = 12"), QStringLiteral("Year(Data) + 0 = 2026 AND Month(Data) + 0 = 12"));
    same(QStringLiteral("Year(Data) = 2026 AND Note Is Null AND Month(Data) = 3"),
         QStringLiteral("Year(Data) + 0 = 2026 AND Note Is Null AND Month(Data) + 0 = 3"));
    same(QStringLiteral("Year(Data) = 2026 OR Month(Data) = 12"), QStringLiteral("Year(Data) + 0 = 2026 OR Month(Data) + 0 = 12"));
    same(QStringLiteral("Month(Data) = 3"), QStringLiteral("Month(Data) + 0 = 3"));
    EXPECT_EQ(Receipts("Month(Data) = 3 AND Year(Data) = 2026"), (Oids{1, 2})) << "the last second of March is in";
    // Out of range stays as written.
    EXPECT_TRUE(Translate("Month(Data) = 13 AND Year(Data) = 2026").sql.contains(QStringLiteral("strftime")));
}
