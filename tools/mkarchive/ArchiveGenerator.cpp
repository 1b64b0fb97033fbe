#include "ArchiveGenerator.h"

#include "component/ComponentErrors.h"
#include "component/ComponentGlobal.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Exception.h"
#include "component/Sqlite.h"
#include "data/DB.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <cstdio>
#include <QElapsedTimer>
#include <QHash>
#include <random>
#include <sqlite3.h>

namespace {

struct MenuItem
{
    const char* name;
    const char* course;
    qint64 priceUnits;
    qint64 oid = 0;
    qint64 courseOid = 0;
    int order = 0;
};

QList<MenuItem> Menu()
{
    return {
        {"Bruschetta al pomodoro", "ANTIPASTI", 45000}, {"Prosciutto e melone", "ANTIPASTI", 80000},
        {"Caprese", "ANTIPASTI", 70000}, {"Antipasto della casa", "ANTIPASTI", 95000},
        {"Frittura di calamari", "ANTIPASTI", 110000}, {"Carpaccio di manzo", "ANTIPASTI", 105000},
        {"Spaghetti alla carbonara", "PRIMI", 90000}, {"Bucatini all'amatriciana", "PRIMI", 90000},
        {"Lasagne al forno", "PRIMI", 100000}, {"Risotto ai funghi porcini", "PRIMI", 120000},
        {"Tagliatelle al ragù", "PRIMI", 95000}, {"Gnocchi al pesto", "PRIMI", 85000},
        {"Penne all'arrabbiata", "PRIMI", 75000}, {"Spaghetti alle vongole", "PRIMI", 130000},
        {"Tortellini in brodo", "PRIMI", 95000}, {"Bistecca ai ferri", "SECONDI", 180000},
        {"Cotoletta alla milanese", "SECONDI", 150000}, {"Saltimbocca alla romana", "SECONDI", 140000},
        {"Branzino al forno", "SECONDI", 170000}, {"Pollo alla cacciatora", "SECONDI", 120000},
        {"Scaloppine al limone", "SECONDI", 130000}, {"Grigliata mista di pesce", "SECONDI", 220000},
        {"Ossobuco con polenta", "SECONDI", 175000}, {"Insalata mista", "VARIE", 45000},
        {"Patate al forno", "VARIE", 40000}, {"Tiramisù", "VARIE", 55000}, {"Panna cotta", "VARIE", 50000},
        {"Acqua minerale 1 l", "VARIE", 25000}, {"Vino della casa 1/2 l", "VARIE", 60000},
        {"Birra media", "VARIE", 50000}, {"Caffè", "VARIE", 15000}, {"Amaro", "VARIE", 35000},
        {"Sorbetto al limone", "VARIE", 40000}, {"Macedonia", "VARIE", 45000},
    };
}

const char* const kSurnames[] = {"Rossi", "Russo", "Ferrari", "Esposito", "Bianchi", "Romano", "Colombo", "Ricci",
                                 "Marino", "Greco", "Bruno", "Gallo", "Conti", "De Luca", "Mancini", "Costa",
                                 "Giordano", "Rizzo", "Lombardi", "Moretti"};
const char* const kNames[] = {"Mario", "Giulia", "Luca", "Francesca", "Marco", "Chiara", "Andrea", "Sara",
                              "Giuseppe", "Anna", "Paolo", "Elena", "Alessandro", "Laura", "Stefano"};
const char* const kTowns[] = {"Bologna", "Modena", "Parma", "Ferrara", "Ravenna", "Rimini", "Imola", "Cesena"};
const char* const kNotes[] = {"Tavolo 4", "Asporto", "Compleanno", "Tavolo 12", "Gruppo", "Senza glutine"};

class Raw
{
public:
    Raw(sqlite3* db, const char* sql) : m_db(db)
    {
        if (sqlite3_prepare_v2(db, sql, -1, &m_stmt, nullptr) != SQLITE_OK)
            Fail();
    }
    ~Raw() { sqlite3_finalize(m_stmt); }
    Raw(const Raw&) = delete;
    Raw& operator=(const Raw&) = delete;
    Raw& Int(int i, qint64 v) { sqlite3_bind_int64(m_stmt, i, v); return *this; }
    Raw& Real(int i, double v) { sqlite3_bind_double(m_stmt, i, v); return *this; }
    Raw& Text(int i, const QByteArray& v) { sqlite3_bind_text(m_stmt, i, v.constData(), int(v.size()), SQLITE_TRANSIENT); return *this; }
    Raw& Null(int i) { sqlite3_bind_null(m_stmt, i); return *this; }
    void Run()
    {
        const int rc = sqlite3_step(m_stmt);
        sqlite3_reset(m_stmt);
        if (rc != SQLITE_DONE && rc != SQLITE_ROW)
            Fail();
    }
    qint64 Scalar()
    {
        qint64 v = sqlite3_step(m_stmt) == SQLITE_ROW ? sqlite3_column_int64(m_stmt, 0) : 0;
        sqlite3_reset(m_stmt);
        return v;
    }

private:
    [[noreturn]] void Fail()
    {
        throw Exception(ComponentError::Sql, QStringLiteral("Generazione archivio: %1").arg(QString::fromUtf8(sqlite3_errmsg(m_db))));
    }
    sqlite3* m_db;
    sqlite3_stmt* m_stmt = nullptr;
};

void Exec(sqlite3* db, const QString& sql)
{
    char* error = nullptr;
    if (sqlite3_exec(db, sql.toUtf8().constData(), nullptr, nullptr, &error) != SQLITE_OK) {
        const QString text = QString::fromUtf8(error);
        sqlite3_free(error);
        throw Exception(ComponentError::Sql, QStringLiteral("Generazione archivio: %1").arg(text));
    }
}

QByteArray DateText(const QDateTime& t) { return t.toString(QStringLiteral("yyyy-MM-dd HH:mm:ss")).toUtf8(); }

} // namespace

GeneratorReport GenerateArchive(const QString& path, const GeneratorOptions& options)
{
    QElapsedTimer timer;
    timer.start();
    {
        // The application's own definition makes the tables, indexes and creation rows.
        auto engine = std::make_shared<DatabaseEngine>();
        engine->CreateDatabaseFile(3, path);
        engine->OpenDatabaseFile(3, path);
        auto database = ComponentGlobal::CreateDatabaseObject(std::make_shared<DB>(), QStringLiteral("mkarchive"), nullptr, nullptr);
        database->AttachEngine(engine);
    }
    SqliteDb file(path, false, 5000);
    sqlite3* db = file.Handle();
    Exec(db, QStringLiteral("PRAGMA journal_mode=DELETE; PRAGMA synchronous=OFF; PRAGMA cache_size=-65536;"));

    // Bulk loading is faster without the indexes of the big tables; they are
    // rebuilt, identical, at the end.
    QStringList indexSql;
    {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "SELECT name, sql FROM sqlite_master WHERE type='index' AND sql IS NOT NULL AND "
                               "tbl_name IN ('Ricevute','RigheRicevute','PagamentiCliente')", -1, &s, nullptr);
        QStringList names;
        while (sqlite3_step(s) == SQLITE_ROW) {
            names.append(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 0))));
            indexSql.append(QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(s, 1))));
        }
        sqlite3_finalize(s);
        for (const QString& name : names)
            Exec(db, QStringLiteral("DROP INDEX \"%1\"").arg(name));
    }

    std::mt19937_64 random(options.seed);
    auto uniform = [&](int low, int high) { return std::uniform_int_distribution<int>(low, high)(random); };
    GeneratorReport report;
    Exec(db, QStringLiteral("BEGIN"));

    QHash<QString, qint64> courses;
    {
        Raw course(db, "SELECT OID FROM Portate WHERE Descrizione = ?");
        for (const char* c : {"VARIE", "ANTIPASTI", "PRIMI", "SECONDI"})
            courses.insert(QString::fromUtf8(c), course.Text(1, QByteArray(c)).Scalar());
    }
    QList<MenuItem> menu = Menu();
    MenuItem cover{"Coperto", "VARIE", 10000};
    {
        Raw find(db, "SELECT OID, Prezzo FROM Menu WHERE Nome = 'Coperto'");
        cover.oid = find.Scalar();
        cover.courseOid = courses.value(QStringLiteral("VARIE"));
        Raw insert(db, "INSERT INTO Menu(Nome, Descrizione, Prezzo, \"Ordine_Menù\", OID_Portata) VALUES(?,?,?,?,?)");
        int order = 0;
        for (MenuItem& item : menu) {
            item.courseOid = courses.value(QString::fromUtf8(item.course));
            item.order = ++order;
            insert.Text(1, item.name).Text(2, item.name).Int(3, item.priceUnits).Int(4, item.order).Int(5, item.courseOid).Run();
            item.oid = sqlite3_last_insert_rowid(db);
        }
    }
    {
        Raw insert(db, "INSERT INTO Clienti(Ragione_Sociale, Indirizzo, CAP, Comune, Provincia, Partita_Iva, Telefono, "
                       "Cellulare, Fax, Note) VALUES(?,?,?,?,?,?,?,?,?,?)");
        for (int i = 1; i < options.customers; ++i) {
            const QByteArray name = QByteArray(kSurnames[uniform(0, 19)]) + ' ' + kNames[uniform(0, 14)];
            const QByteArray street = "Via " + QByteArray(kSurnames[uniform(0, 19)]) + ' ' + QByteArray::number(uniform(1, 200));
            insert.Text(1, name).Text(2, street).Text(3, QByteArray::number(40100 + uniform(0, 99))).Text(4, kTowns[uniform(0, 7)])
                .Text(5, "BO").Text(6, i % 5 == 0 ? QByteArray::number(10000000000LL + i) : QByteArray())
                .Text(7, "051 " + QByteArray::number(100000 + uniform(0, 899999))).Text(8, QByteArray()).Text(9, QByteArray())
                .Text(10, QByteArray()).Run();
        }
    }
    QList<qint64> documentTypes;
    {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "SELECT OID FROM TipiDocumento ORDER BY OID", -1, &s, nullptr);
        while (sqlite3_step(s) == SQLITE_ROW)
            documentTypes.append(sqlite3_column_int64(s, 0));
        sqlite3_finalize(s);
    }
    QList<qint64> paymentTypes;
    {
        sqlite3_stmt* s = nullptr;
        sqlite3_prepare_v2(db, "SELECT OID FROM TipiPagamento ORDER BY OID", -1, &s, nullptr);
        while (sqlite3_step(s) == SQLITE_ROW)
            paymentTypes.append(sqlite3_column_int64(s, 0));
        sqlite3_finalize(s);
    }

    Raw insertReceipt(db, "INSERT INTO Ricevute(OID, Importo_Ricevuta, Numero, Data, AnnoFiscale, Note, OID_TipoDocumento, "
                          "OID_Cliente) VALUES(?,?,?,?,?,?,?,?)");
    Raw insertRow(db, "INSERT INTO RigheRicevute(Nome, Descrizione, Prezzo, \"Ordine_Menù\", Importo_Riga, \"Quantità\", "
                      "OID_Portata, OID_Menu, OID_Ricevute_Righe) VALUES(?,?,?,?,?,?,?,?,?)");
    Raw insertPayment(db, "INSERT INTO PagamentiCliente(OID, DataPagamento, Importo, Note, OID_Cliente, OID_Pagamento, "
                          "OID_Ricevute_Pagamento) VALUES(?,?,?,?,?,?,?)");

    // Receipts spread evenly over the days of the period, during lunch and dinner.
    const QDate lastDay = QDate::currentDate();
    const QDate firstDay = lastDay.addYears(-options.years).addDays(1);
    const qint64 days = firstDay.daysTo(lastDay) + 1;
    QHash<quint64, qint64> numbers; // (type, year) -> last number
    qint64 receipt = 0;
    for (qint64 day = 0; day < days && receipt < options.receipts; ++day) {
        const qint64 today = (options.receipts * (day + 1)) / days - (options.receipts * day) / days;
        const QDate date = firstDay.addDays(day);
        const int serviceSeconds = 8 * 3600;
        for (qint64 k = 0; k < today; ++k) {
            ++receipt;
            int second = int((serviceSeconds * k) / std::max<qint64>(today, 1)) + uniform(0, 20);
            // 12:00-15:00 then 19:00-24:00.
            const QTime time = second < 3 * 3600 ? QTime(12, 0).addSecs(second) : QTime(19, 0).addSecs(std::min(second - 3 * 3600, 5 * 3600 - 1));
            const QDateTime when(date, time);
            const int roll = uniform(0, 99);
            const qint64 type = documentTypes[roll < 70 ? 1 : roll < 75 ? 0 : roll < 85 ? 2 : 3];
            const qint64 customer = uniform(0, 99) < 80 ? 1 : uniform(2, options.customers);
            const quint64 key = (quint64(type) << 32) | quint64(date.year());
            const qint64 number = ++numbers[key];
            QByteArray note;
            if (receipt == options.receipts - 20)
                note = "Prenotazione xyz";
            else if (uniform(0, 9) == 0)
                note = kNotes[uniform(0, 5)];

            qint64 total = 0;
            const int rowCount = uniform(1, 9);
            for (int r = 0; r < rowCount; ++r) {
                const MenuItem& item = r == 0 ? cover : menu[uniform(0, int(menu.size()) - 1)];
                const int quantity = r == 0 ? uniform(1, 6) : (uniform(0, 9) == 0 ? 2 : 1);
                const qint64 amount = item.priceUnits * quantity;
                total += amount;
                insertRow.Text(1, item.name).Text(2, item.name).Int(3, item.priceUnits).Int(4, item.order).Int(5, amount)
                    .Real(6, quantity).Int(7, item.courseOid).Int(8, item.oid).Int(9, receipt).Run();
                ++report.rows;
            }
            insertReceipt.Int(1, receipt).Int(2, total).Int(3, number).Text(4, DateText(when)).Int(5, date.year())
                .Text(6, note).Int(7, type).Int(8, customer).Run();
            const int payment = uniform(0, 9);
            insertPayment.Int(1, receipt).Text(2, DateText(when)).Int(3, total).Text(4, QByteArray()).Int(5, customer)
                .Int(6, paymentTypes[payment < 6 ? 0 : payment < 7 ? 1 : payment < 8 ? 2 : payment < 9 ? 3 : 4])
                .Int(7, receipt).Run();
            ++report.payments;
        }
    }
    report.receipts = receipt;
    Exec(db, QStringLiteral("COMMIT"));
    for (const QString& sql : indexSql)
        Exec(db, sql);
    Exec(db, QStringLiteral("ANALYZE; PRAGMA journal_mode=WAL;"));
    report.seconds = timer.elapsed() / 1000.0;
    return report;
}

QString BenchmarkArchive()
{
    QString path = qEnvironmentVariable("MENSORA_BENCH_ARCHIVE");
    if (path.isEmpty())
        path = QDir::current().filePath(QStringLiteral("bench-data/1M/Mensora.mdb"));
    if (!QFileInfo::exists(path)) {
        QDir().mkpath(QFileInfo(path).absolutePath());
        std::printf("Generazione dell'archivio di prova %s ...\n", qPrintable(path));
        const GeneratorReport r = GenerateArchive(path, GeneratorOptions{});
        std::printf("%lld ricevute, %lld righe in %.1f s\n", r.receipts, r.rows, r.seconds);
    }
    return path;
}
