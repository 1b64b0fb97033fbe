#include "maintenance/EuroConversion.h"

#include "component/ComponentErrors.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/Sqlite.h"
#include "component/SqlDialect.h"
#include "component/Table.h"

#include <cmath>
#include <sqlite3.h>

using SqlDialect::QuoteName;

namespace {

const QString kRows = QStringLiteral("RigheRicevute");
const QString kRowPrice = QStringLiteral("Prezzo");
const QString kRowQuantity = QStringLiteral("Quantità");
const QString kRowAmount = QStringLiteral("Importo_Riga");
const QString kReceipts = QStringLiteral("Ricevute");
const QString kReceiptTotal = QStringLiteral("Importo_Ricevuta");
const QString kReceiptRows = QStringLiteral("OID_Ricevute_Righe");
const QString kPayments = QStringLiteral("PagamentiCliente");
const QString kPaymentAmount = QStringLiteral("Importo");
const QString kReceiptPayment = QStringLiteral("OID_Ricevute_Pagamento");
const QString kReceiptsSeen = QStringLiteral("temp.mensora_euro_receipts");

bool HasColumn(const TableDef& table, const QString& column, int type)
{
    const PhysicalColumn* p = table.FindPhysical(column);
    return p && (type < 0 || p->type == type);
}

// Whole currency units of an SQL value; false for null or a non-number.
bool UnitsOf(sqlite3_value* value, qint64& units)
{
    switch (sqlite3_value_numeric_type(value)) {
    case SQLITE_INTEGER:
        units = sqlite3_value_int64(value);
        return true;
    case SQLITE_FLOAT: {
        const double d = std::nearbyint(sqlite3_value_double(value));
        if (!std::isfinite(d) || std::fabs(d) >= 9.2e18)
            return false;
        units = qint64(d);
        return true;
    }
    default:
        return false;
    }
}

// mensora_euro(units): the amount in euro.
void EuroFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    qint64 units = 0;
    if (!UnitsOf(argv[0], units)) {
        sqlite3_result_null(context);
        return;
    }
    try {
        sqlite3_result_int64(context, EuroConversion::ToEuro(Currency::FromUnits(units)).Units());
    } catch (const Exception& e) {
        sqlite3_result_error(context, e.Description().toUtf8().constData(), -1);
    }
}

// mensora_row_amount(price units, quantity): the row amount the row rule gives.
void RowAmountFunction(sqlite3_context* context, int, sqlite3_value** argv)
{
    qint64 units = 0;
    if (!UnitsOf(argv[0], units) || sqlite3_value_type(argv[1]) == SQLITE_NULL) {
        sqlite3_result_null(context);
        return;
    }
    const auto* database = static_cast<const DatabaseObject*>(sqlite3_user_data(context));
    try {
        const Currency product = Currency::FromUnits(units).Mul(sqlite3_value_double(argv[1]));
        sqlite3_result_int64(context, database->AdjustAmount(product, 0, 1.0).Units());
    } catch (const Exception& e) {
        sqlite3_result_error(context, e.Description().toUtf8().constData(), -1);
    }
}

// The two functions, for the lifetime of a conversion.
class ConversionFunctions
{
public:
    ConversionFunctions(sqlite3* db, const DatabaseObject& database) : m_db(db)
    {
        const int flags = SQLITE_UTF8 | SQLITE_DETERMINISTIC;
        sqlite3_create_function_v2(db, "mensora_euro", 1, flags, nullptr, EuroFunction, nullptr, nullptr, nullptr);
        sqlite3_create_function_v2(db, "mensora_row_amount", 2, flags, const_cast<DatabaseObject*>(&database),
                                   RowAmountFunction, nullptr, nullptr, nullptr);
    }
    ~ConversionFunctions()
    {
        sqlite3_create_function_v2(m_db, "mensora_euro", 1, SQLITE_UTF8, nullptr, nullptr, nullptr, nullptr, nullptr);
        sqlite3_create_function_v2(m_db, "mensora_row_amount", 2, SQLITE_UTF8, nullptr, nullptr, nullptr, nullptr, nullptr);
    }
    ConversionFunctions(const ConversionFunctions&) = delete;
    ConversionFunctions& operator=(const ConversionFunctions&) = delete;

private:
    sqlite3* m_db;
};

QString Euro(const QString& column) { return QStringLiteral("mensora_euro(%1)").arg(QuoteName(column)); }

} // namespace

Currency EuroConversion::Rate() { return Currency::FromUnits(19362700); }

Currency EuroConversion::ToEuro(Currency amount) { return amount.DivExact(Rate(), Currency::Halves::AwayFromZero); }

EuroConversion::EuroConversion(DatabaseObject& database) : m_database(database) { Plan(); }

void EuroConversion::Plan()
{
    const Schema& schema = m_database.GetSchema();
    const auto rows = schema.Find(kRows);
    const auto receipts = schema.Find(kReceipts);
    const auto payments = schema.Find(kPayments);
    const bool rowRule = rows && HasColumn(*rows, kRowPrice, FieldType::Currency)
                         && HasColumn(*rows, kRowAmount, FieldType::Currency) && HasColumn(*rows, kRowQuantity, -1);
    // The totals follow the rows only when the rows are converted first.
    m_receiptRule = rowRule && receipts && payments && HasColumn(*receipts, kReceiptTotal, FieldType::Currency)
                    && HasColumn(*rows, kReceiptRows, -1) && HasColumn(*payments, kReceiptPayment, -1)
                    && HasColumn(*payments, kPaymentAmount, FieldType::Currency)
                    && schema.Tables().indexOf(rows) < schema.Tables().indexOf(receipts);

    TableCollection tables = m_database.Tables();
    for (int t = 0; t < tables.Count(); ++t) {
        const Table table = tables.Item(t);
        const QString name = table.Name();
        TableWork work{name, {}, {}};
        QStringList assignments;
        for (int c = 0; c < table.ColumnCount(); ++c) {
            const ColumnInfo column = table.Column(c);
            if (column.type != FieldType::Currency)
                continue;
            work.columns.append(column.name);
            QString value = Euro(column.name);
            if (rowRule && name == kRows && column.name == kRowAmount) {
                value = QStringLiteral("CASE WHEN %1 > 0 AND %2 IS NOT NULL AND %3 IS mensora_row_amount(%1, %2) "
                                       "THEN mensora_row_amount(%4, %2) ELSE %5 END")
                            .arg(QuoteName(kRowPrice), QuoteName(kRowQuantity), QuoteName(kRowAmount),
                                 Euro(kRowPrice), Euro(kRowAmount));
            } else if (m_receiptRule && name == kReceipts && column.name == kReceiptTotal) {
                value = QStringLiteral("CASE WHEN \"OID\" IN (SELECT oid FROM %1) THEN (SELECT coalesce(sum(w.%2), 0) "
                                       "FROM %3 w WHERE w.%4 = %5.\"OID\") ELSE %6 END")
                            .arg(kReceiptsSeen, QuoteName(kRowAmount), QuoteName(kRows), QuoteName(kReceiptRows),
                                 QuoteName(kReceipts), Euro(kReceiptTotal));
            }
            assignments.append(QuoteName(column.name) + QStringLiteral(" = ") + value);
        }
        if (assignments.isEmpty())
            continue;
        work.statement = QStringLiteral("UPDATE %1 SET %2 WHERE \"OID\" BETWEEN ?1 AND ?2")
                             .arg(QuoteName(name), assignments.join(QStringLiteral(", ")));
        m_work.push_back(std::move(work));
    }
}

bool EuroConversion::Run(const RangeProgress& progress)
{
    DatabaseEngine& engine = *m_database.Engine();
    if (!engine.InTransaction())
        throw Exception(ComponentError::Transaction, QStringLiteral("La conversione richiede una transazione aperta"));
    SqliteDb& db = engine.Db();
    ConversionFunctions functions(db.Handle(), m_database);

    std::vector<RangeStep> steps;
    if (m_receiptRule) {
        // Before anything changes: the receipts whose total is the sum of
        // their rows, with their only payment when it paid exactly that.
        db.Exec(QStringLiteral("DROP TABLE IF EXISTS %1; CREATE TABLE %1(oid INTEGER PRIMARY KEY, payment INTEGER)")
                    .arg(kReceiptsSeen));
        const auto [first, last] = OidBounds(db, QuoteName(kReceipts));
        steps.push_back({QStringLiteral(
                             "INSERT INTO %1(oid, payment) SELECT r.\"OID\", (SELECT CASE WHEN count(*) = 1 AND "
                             "max(p.%2) = r.%3 THEN max(p.\"OID\") END FROM %4 p WHERE p.%5 = r.\"OID\") FROM %6 r "
                             "WHERE r.\"OID\" BETWEEN ?1 AND ?2 AND r.%3 = (SELECT coalesce(sum(w.%7), 0) FROM %8 w "
                             "WHERE w.%9 = r.\"OID\")")
                             .arg(kReceiptsSeen, QuoteName(kPaymentAmount), QuoteName(kReceiptTotal),
                                  QuoteName(kPayments), QuoteName(kReceiptPayment), QuoteName(kReceipts),
                                  QuoteName(kRowAmount), QuoteName(kRows), QuoteName(kReceiptRows)),
                         first, last});
    }
    for (const TableWork& work : m_work) {
        const auto [first, last] = OidBounds(db, QuoteName(work.table));
        steps.push_back({work.statement, first, last});
    }
    if (m_receiptRule) {
        const auto [first, last] = OidBounds(db, QuoteName(kReceipts));
        steps.push_back({QStringLiteral("UPDATE %1 SET %2 = (SELECT r.%3 FROM %4 r WHERE r.\"OID\" = %1.%5) WHERE "
                                        "\"OID\" IN (SELECT payment FROM %6 WHERE oid BETWEEN ?1 AND ?2 AND payment "
                                        "IS NOT NULL)")
                             .arg(QuoteName(kPayments), QuoteName(kPaymentAmount), QuoteName(kReceiptTotal),
                                  QuoteName(kReceipts), QuoteName(kReceiptPayment), kReceiptsSeen),
                         first, last});
    }
    const bool finished = RunRangeSteps(db, steps, progress);
    if (m_receiptRule)
        db.Exec(QStringLiteral("DROP TABLE IF EXISTS %1").arg(kReceiptsSeen));
    engine.DataChanged();
    return finished;
}
