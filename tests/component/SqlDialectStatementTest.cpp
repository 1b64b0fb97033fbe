// Maintenance statements of the dialect, run on a small archive.

#include "SqlDialectTestDb.h"

#include "component/ComponentErrors.h"
#include "component/Currency.h"
#include "component/Exception.h"

using namespace SqlDialectTest;

namespace {

class SqlDialectStatement : public ::testing::Test
{
protected:
    SqlStatement Translate(const QString& text)
    {
        return SqlDialect::TranslateStatement(text, [this](const QString& table) -> SqlNameResolver* {
            for (auto it = Tables().begin(); it != Tables().end(); ++it) {
                if (it.key().compare(table, Qt::CaseInsensitive) == 0) {
                    m_resolvers.push_back(std::make_unique<FakeResolver>(it.key()));
                    return m_resolvers.back().get();
                }
            }
            return nullptr;
        });
    }

    void Run(const QString& text)
    {
        const SqlStatement statement = Translate(text);
        EXPECT_EQ(m_db.Exec(statement.sql.sql, statement.sql.params), QString()) << statement.sql.sql.toStdString();
    }

    QVariantList Column(const QString& table, const QString& column)
    {
        QVariantList values;
        StmtPtr stmt = m_db.Prepare(QStringLiteral("SELECT \"%1\" FROM \"%2\" ORDER BY OID").arg(column, table));
        while (stmt && sqlite3_step(stmt.get()) == SQLITE_ROW) {
            switch (sqlite3_column_type(stmt.get(), 0)) {
            case SQLITE_NULL:
                values.append(QVariant());
                break;
            case SQLITE_INTEGER:
                values.append(qint64(sqlite3_column_int64(stmt.get(), 0)));
                break;
            default:
                values.append(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt.get(), 0))));
            }
        }
        return values;
    }

    qint32 ErrorOf(const QString& text, QString* description = nullptr)
    {
        try {
            Translate(text);
        } catch (const Exception& e) {
            if (description)
                *description = e.Description();
            return e.Number();
        }
        return 0;
    }

    TestDb m_db;
    std::vector<std::unique_ptr<FakeResolver>> m_resolvers;
};

} // namespace

TEST_F(SqlDialectStatement, AlterStatementsAreReportedForTheEngine)
{
    SqlStatement s = Translate("ALTER TABLE Menu DROP Fuori_Menù");
    EXPECT_EQ(s.kind, SqlStatement::Kind::AlterDropColumn);
    EXPECT_EQ(s.table, "Menu");
    EXPECT_EQ(s.name, "Fuori_Menù");
    EXPECT_TRUE(s.sql.sql.isEmpty());

    s = Translate("ALTER TABLE RigheRicevute DROP COLUMN Progressivo");
    EXPECT_EQ(s.kind, SqlStatement::Kind::AlterDropColumn);
    EXPECT_EQ(s.name, "Progressivo");

    s = Translate("alter table RigheRicevute drop constraint Data;");
    EXPECT_EQ(s.kind, SqlStatement::Kind::AlterDropConstraint);
    EXPECT_EQ(s.table, "RigheRicevute");
    EXPECT_EQ(s.name, "Data");

    s = Translate("ALTER TABLE Menu DROP [Column]");
    EXPECT_EQ(s.name, "Column");

    EXPECT_EQ(ErrorOf("ALTER TABLE Nessuna DROP X"), ComponentError::UnknownTable);
    EXPECT_EQ(ErrorOf("ALTER TABLE Menu DROP"), ComponentError::Syntax);
    EXPECT_EQ(ErrorOf("ALTER TABLE Menu ADD X"), ComponentError::Syntax);
}

TEST_F(SqlDialectStatement, UpgradeUpdates)
{
    Run("UPDATE Menu SET Ordine_Menù = 100");
    EXPECT_EQ(Column("Menu", "Ordine_Menù"), (QVariantList{qint64(100), qint64(100), qint64(100)}));
    Run("Update Portate set Ordine_Di_Stampa = 100");
    EXPECT_EQ(Column("Portate", "Ordine_Di_Stampa"),
              (QVariantList{qint64(100), qint64(100), qint64(100), qint64(100)}));
    m_db.Exec("UPDATE Ricevute SET AnnoFiscale = 0");
    Run("UPDATE Ricevute SET AnnoFiscale= Year(Data)");
    EXPECT_EQ(Column("Ricevute", "AnnoFiscale"),
              (QVariantList{qint64(2026), qint64(2026), qint64(2026), qint64(2025), qint64(2026)}));
}

TEST_F(SqlDialectStatement, EuroConversionIsExact)
{
    const QVariantList before = Column("RigheRicevute", "Prezzo");
    const SqlStatement s = Translate("UPDATE RigheRicevute SET Prezzo=Prezzo/1936.27,Importo_Riga=Importo_Riga/1936.27");
    EXPECT_EQ(s.kind, SqlStatement::Kind::Update);
    EXPECT_EQ(s.sql.params, (QVariantList{QString("1936.27"), QString("1936.27")}));
    EXPECT_EQ(m_db.Exec(s.sql.sql, s.sql.params), QString());
    const Currency rate = *Currency::FromDecimalText("1936.27");
    const QVariantList after = Column("RigheRicevute", "Prezzo");
    ASSERT_EQ(after.size(), before.size());
    for (qsizetype i = 0; i < before.size(); ++i)
        EXPECT_EQ(after[i].toLongLong(), Currency::FromUnits(before[i].toLongLong()).DivExact(rate).Units());

    Run("UPDATE Ricevute SET Importo_Ricevuta=Importo_Ricevuta/1936.27");
    // 19362.70 becomes exactly 10; 15.50 becomes 0.0080; Null stays Null.
    EXPECT_EQ(Column("Ricevute", "Importo_Ricevuta"),
              (QVariantList{qint64(80), qint64(52), qint64(0), qint64(100000), QVariant()}));
}

TEST_F(SqlDialectStatement, AssignmentsStoreTheColumnsForm)
{
    Run("UPDATE Ricevute SET Importo_Ricevuta = Importo_Ricevuta * 1.1 WHERE Numero = 1");
    EXPECT_EQ(Column("Ricevute", "Importo_Ricevuta"),
              (QVariantList{qint64(170500), qint64(100000), qint64(1), qint64(212989700), QVariant()}));
    Run("UPDATE Ricevute SET Importo_Ricevuta = 2.5 WHERE OID = 1");
    Run("UPDATE Ricevute SET Importo_Ricevuta = Numero / 3 WHERE OID = 2");
    Run("UPDATE Ricevute SET Importo_Ricevuta = '0,00005' WHERE OID = 3");
    Run("UPDATE Ricevute SET Importo_Ricevuta = Null WHERE OID = 4");
    EXPECT_EQ(Column("Ricevute", "Importo_Ricevuta"),
              (QVariantList{qint64(25000), qint64(6667), qint64(0), QVariant(), QVariant()}));

    Run("UPDATE Ricevute SET Data = #01/02/2027# WHERE OID = 1");
    Run("UPDATE Ricevute SET Data = Data + 1 WHERE Numero = 3");
    Run("UPDATE Ricevute SET Data = '03/04/2026' WHERE OID = 2");
    Run("UPDATE Ricevute SET Data = DateSerial(2026, 2, 30) WHERE OID = 3");
    EXPECT_EQ(Column("Ricevute", "Data"),
              (QVariantList{"2027-01-02 00:00:00", "2026-03-04 00:00:00", "2026-03-02 00:00:00",
                            "2025-12-31 23:59:59", "2026-04-02 00:00:00"}));

    Run("UPDATE Ricevute SET Numero = 2.5 WHERE OID = 1");
    Run("UPDATE Ricevute SET Numero = 3.5, Note = 'x' WHERE OID = 2");
    Run("UPDATE Ricevute SET Ricevute.Numero = Numero + 10 WHERE OID > 2;");
    EXPECT_EQ(Column("Ricevute", "Numero"), (QVariantList{qint64(2), qint64(4), qint64(11), qint64(11), qint64(13)}));
    EXPECT_EQ(Column("Ricevute", "Note").at(1), QVariant("x"));

    Run("UPDATE TipiDocumento SET Fattura = True WHERE Descrizione = 'preconto'");
    Run("UPDATE TipiDocumento SET Fattura = 5 WHERE OID = 2");
    EXPECT_EQ(Column("TipiDocumento", "Fattura"), (QVariantList{qint64(1), qint64(1), qint64(0), qint64(1)}));
}

TEST_F(SqlDialectStatement, Deletes)
{
    Run("DELETE FROM Ricevute WHERE AnnoFiscale = 2025");
    EXPECT_EQ(m_db.Select("Ricevute", ""), (Oids{1, 2, 3, 5}));
    Run("DELETE * FROM Ricevute WHERE Note Like 'caff*'");
    EXPECT_EQ(m_db.Select("Ricevute", ""), (Oids{1, 2, 5}));
    Run("delete Ricevute.* from Ricevute where Numero In (1, 2)");
    EXPECT_EQ(m_db.Select("Ricevute", ""), (Oids{5}));
    Run("DELETE FROM Portate");
    EXPECT_EQ(m_db.Select("Portate", ""), (Oids{}));
}

TEST_F(SqlDialectStatement, MalformedStatements)
{
    QString description;
    EXPECT_EQ(ErrorOf("UPDATE Ricevute SET Xyz = 1", &description), ComponentError::UnknownField);
    EXPECT_TRUE(description.startsWith("Campo sconosciuto: Xyz")) << description.toStdString();
    EXPECT_EQ(ErrorOf("UPDATE Ricevute SET Numero = Xyz"), ComponentError::UnknownField);
    EXPECT_EQ(ErrorOf("UPDATE Ricevute SET TipiDocumento.Descrizione = 'x'", &description),
              ComponentError::UnknownField);
    EXPECT_TRUE(description.contains("campo non modificabile")) << description.toStdString();
    EXPECT_EQ(ErrorOf("UPDATE Nessuna SET A = 1", &description), ComponentError::UnknownTable);
    EXPECT_TRUE(description.startsWith("Tabella sconosciuta: Nessuna")) << description.toStdString();
    EXPECT_EQ(ErrorOf("DELETE FROM Nessuna"), ComponentError::UnknownTable);
    EXPECT_EQ(ErrorOf("SELECT * FROM Ricevute", &description), ComponentError::Syntax);
    EXPECT_TRUE(description.startsWith("Istruzione non valida: ")) << description.toStdString();
    EXPECT_EQ(ErrorOf(""), ComponentError::Syntax);
    EXPECT_EQ(ErrorOf("UPDATE Ricevute SET Numero = 1 WHERE"), ComponentError::Syntax);
    EXPECT_EQ(ErrorOf("UPDATE Ricevute SET Numero = 1,"), ComponentError::Syntax);
    EXPECT_EQ(ErrorOf("UPDATE Ricevute SET Numero 1"), ComponentError::Syntax);
    EXPECT_EQ(ErrorOf("UPDATE Ricevute Numero = 1"), ComponentError::Syntax);
    EXPECT_EQ(ErrorOf("UPDATE Ricevute SET Numero = 1 WHERE Numero = 1 extra"), ComponentError::Syntax);
    EXPECT_EQ(ErrorOf("DELETE Ricevute WHERE Numero = 1"), ComponentError::Syntax);
    EXPECT_EQ(ErrorOf("UPDATE Ricevute SET Importo_Ricevuta = 'molto'"), ComponentError::Syntax);
    EXPECT_EQ(ErrorOf("UPDATE Ricevute SET Data = 'ieri'"), ComponentError::Syntax);
    EXPECT_EQ(m_db.Select("Ricevute", ""), (Oids{1, 2, 3, 4, 5}));
}
