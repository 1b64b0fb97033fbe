// The SQL functions that translated queries rely on.

#include "SqlDialectTestDb.h"

#include "component/Currency.h"

#include <random>

using namespace SqlDialectTest;

namespace {

class SqlFunctions : public ::testing::Test
{
protected:
    QVariant Eval(const QString& expression, const QVariantList& params = {})
    {
        return m_db.Scalar(QStringLiteral("SELECT ") + expression, params);
    }
    static bool IsError(const QVariant& v) { return v.toString().startsWith("<errore"); }

    TestDb m_db;
};

} // namespace

TEST_F(SqlFunctions, LikeOverUnicode)
{
    EXPECT_EQ(Eval("mens_like('caffè*', 'CAFFÈ corretto')"), QVariant(qint64(1)));
    EXPECT_EQ(Eval("mens_like('caffè', ?)", {QString::fromUtf8("caffe\xcc\x80")}), QVariant(qint64(1)));
    EXPECT_EQ(Eval("mens_like('[a-c]?', 'B1')"), QVariant(qint64(1)));
    EXPECT_EQ(Eval("mens_like('#', 'x')"), QVariant(qint64(0)));
    EXPECT_EQ(Eval("mens_like('%ñ_', 'AÑO')"), QVariant(qint64(1)));
    EXPECT_EQ(Eval("mens_like('a*b*c', 'aXbYbZc')"), QVariant(qint64(1)));
    EXPECT_EQ(Eval("mens_like('a*b*c', 'aXbYbZ')"), QVariant(qint64(0)));
    EXPECT_EQ(Eval("mens_like('', '')"), QVariant(qint64(1)));
    // A Null value matches nothing, not even through Not.
    EXPECT_EQ(Eval("mens_like('*', NULL)"), QVariant());
    EXPECT_EQ(Eval("NOT mens_like('x', NULL)"), QVariant());
    EXPECT_EQ(Eval("mens_like(NULL, 'x')"), QVariant());
    EXPECT_TRUE(IsError(Eval("mens_like('ab[c', 'abc')")));
    // The compiled pattern is reused row after row.
    EXPECT_EQ(m_db.Scalar("SELECT COUNT(*) FROM RigheRicevute WHERE mens_like('*caffè*', Nome)"), QVariant(qint64(2)));
}

TEST_F(SqlFunctions, CurrencyFromRealsHalvesToEven)
{
    EXPECT_EQ(Eval("mens_cur(2.5)"), QVariant(qint64(25000)));
    EXPECT_EQ(Eval("mens_cur(3)"), QVariant(qint64(30000)));
    EXPECT_EQ(Eval("mens_cur(0.00005)"), QVariant(qint64(0)));
    EXPECT_EQ(Eval("mens_cur(0.00015)"), QVariant(qint64(2)));
    EXPECT_EQ(Eval("mens_cur(0.00025)"), QVariant(qint64(2)));
    EXPECT_EQ(Eval("mens_cur(-0.00015)"), QVariant(qint64(-2)));
    EXPECT_EQ(Eval("mens_cur(19362.7)"), QVariant(qint64(193627000)));
    EXPECT_EQ(Eval("mens_cur('19362,70')"), QVariant(qint64(193627000)));
    EXPECT_EQ(Eval("mens_cur(NULL)"), QVariant());
    EXPECT_TRUE(IsError(Eval("mens_cur(1e300)")));
    EXPECT_TRUE(IsError(Eval("mens_cur(9223372036854775807)")));
    EXPECT_TRUE(IsError(Eval("mens_cur('tanto')")));
}

TEST_F(SqlFunctions, ExactDivisionAndMultiplication)
{
    EXPECT_EQ(Eval("mens_curdiv(193627000, '1936.27')"), QVariant(qint64(100000)));
    EXPECT_EQ(Eval("mens_curdiv(1, '2')"), QVariant(qint64(0)));
    EXPECT_EQ(Eval("mens_curdiv(3, '2')"), QVariant(qint64(2)));
    EXPECT_EQ(Eval("mens_curdiv(-3, '2')"), QVariant(qint64(-2)));
    EXPECT_EQ(Eval("mens_curdiv(10000, '0.00001')"), QVariant(qint64(1000000000)));
    EXPECT_EQ(Eval("mens_curdiv(10000, '1E3')"), QVariant(qint64(10)));
    EXPECT_EQ(Eval("mens_curmul(155000, '1.1')"), QVariant(qint64(170500)));
    EXPECT_EQ(Eval("mens_curmul(5, '0.5')"), QVariant(qint64(2)));
    EXPECT_EQ(Eval("mens_curmul(-7, '0.5')"), QVariant(qint64(-4)));
    EXPECT_EQ(Eval("mens_curmul(NULL, '2')"), QVariant());
    EXPECT_TRUE(IsError(Eval("mens_curdiv(1, '0')")));
    EXPECT_TRUE(IsError(Eval("mens_curdiv(1, 'abc')")));
    EXPECT_TRUE(IsError(Eval("mens_curmul(9223372036854775807, '2')")));
    EXPECT_TRUE(IsError(Eval("mens_curdiv(9223372036854775807, '0.5')")));
    EXPECT_EQ(Eval("mens_curmul(9223372036854775807, '1')"), QVariant(qint64(9223372036854775807)));

    // Against the currency type's own exact division, over many amounts.
    const Currency rate = *Currency::FromDecimalText("1936.27");
    std::mt19937_64 random(7);
    for (int i = 0; i < 500; ++i) {
        const qint64 units = qint64(random() % 20000000000ULL) - 10000000000LL;
        EXPECT_EQ(Eval("mens_curdiv(?, '1936.27')", {units}).toLongLong(),
                  Currency::FromUnits(units).DivExact(rate).Units())
            << units;
    }
}

TEST_F(SqlFunctions, SumsOfAmountsStayExact)
{
    m_db.Exec("CREATE TABLE Importi (x INTEGER)");
    m_db.Exec("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10000)"
              " INSERT INTO Importi SELECT mens_cur(0.1) FROM n");
    EXPECT_EQ(m_db.Scalar("SELECT SUM(x) FROM Importi"), QVariant(qint64(10000000)));
    m_db.Exec("UPDATE Importi SET x = mens_curdiv(x, '3')");
    EXPECT_EQ(m_db.Scalar("SELECT SUM(x) FROM Importi"), QVariant(qint64(3330000)));
    m_db.Exec("UPDATE Importi SET x = 1");
    EXPECT_EQ(m_db.Scalar("SELECT SUM(x) FROM Importi"), QVariant(qint64(10000))); // 10000 x 0.0001 = 1
}

TEST_F(SqlFunctions, HelpersOfTheTranslator)
{
    EXPECT_EQ(Eval("mens_clng(2.5)"), QVariant(qint64(2)));
    EXPECT_EQ(Eval("mens_clng(3.5)"), QVariant(qint64(4)));
    EXPECT_EQ(Eval("mens_clng(-2.5)"), QVariant(qint64(-2)));
    EXPECT_EQ(Eval("mens_clng('7')"), QVariant(qint64(7)));
    EXPECT_EQ(Eval("mens_clng(NULL)"), QVariant());
    EXPECT_TRUE(IsError(Eval("mens_clng(1e19)")));
    EXPECT_TRUE(IsError(Eval("mens_clng('sette')")));
    EXPECT_EQ(Eval("mens_int(-2.5)"), QVariant(qint64(-3)));
    EXPECT_EQ(Eval("mens_int(1e20)"), QVariant(1e20));
    EXPECT_EQ(Eval("mens_upper('caffè')"), QVariant("CAFFÈ"));
    EXPECT_EQ(Eval("mens_lower('ÑOQUIS')"), QVariant("ñoquis"));
    EXPECT_EQ(Eval("mens_upper(NULL)"), QVariant());
}

TEST_F(SqlFunctions, DeterministicFunctionsCanBeIndexed)
{
    EXPECT_EQ(m_db.Exec("CREATE INDEX i1 ON RigheRicevute(mens_cur(Quantità), mens_upper(Nome), mens_like('c*', Nome))"),
              QString());
    EXPECT_EQ(m_db.Exec("CREATE INDEX i2 ON RigheRicevute(mens_curdiv(Prezzo, '2'), mens_curmul(Prezzo, '2'))"),
              QString());
}
