#pragma once
// A restaurant archive in a folder of its own, opened as the application
// opens it, with the records a test needs made through the table rules.

#include "component/ComponentGlobal.h"
#include "component/Currency.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Sqlite.h"
#include "component/Table.h"
#include "data/DB.h"

#include <QCryptographicHash>
#include <QDateTime>
#include <QFile>
#include <QTemporaryDir>

inline Currency Money(const char* text) { return *Currency::FromDecimalText(QString::fromLatin1(text)); }

// The bytes of a file, summed up.
inline QByteArray FileDigest(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return QCryptographicHash::hash(file.readAll(), QCryptographicHash::Sha256);
}

class MaintenanceArchive
{
public:
    explicit MaintenanceArchive(const QString& name = QStringLiteral("Mensora.mdb")) : m_name(name)
    {
        DatabaseEngine creator;
        creator.CreateDatabaseFile(3, Path());
        Open();
    }

    void Open()
    {
        database.reset();
        engine = std::make_shared<DatabaseEngine>();
        engine->OpenDatabaseFile(3, Path());
        database = ComponentGlobal::CreateDatabaseObject(std::make_shared<DB>(), QStringLiteral("Mensora"), nullptr, nullptr);
        database->AttachEngine(engine);
    }

    void Close()
    {
        database.reset();
        engine.reset();
    }

    QString Path() const { return m_dir.filePath(m_name); }
    QString Folder() const { return m_dir.path(); }

    std::shared_ptr<DataObject> Table(const QString& name, const QString& criteria = {}, const QString& order = {})
    {
        return database->Tables().Item(name).OpenDataObject(engine, criteria, order);
    }

    void Exec(const QString& sql) { engine->Db().Exec(sql); }

    QVariant Value(const QString& sql)
    {
        Statement s(engine->Db(), sql);
        return s.Step() ? s.Column(0) : QVariant();
    }
    qint64 Count(const QString& table) { return Value(QStringLiteral("SELECT count(*) FROM \"%1\"").arg(table)).toLongLong(); }
    QStringList Texts(const QString& sql) { return TextsOf(engine->Db(), sql); }
    static QStringList TextsOf(SqliteDb& db, const QString& sql)
    {
        QStringList texts;
        Statement s(db, sql);
        while (s.Step()) {
            QStringList row;
            for (int i = 0; i < s.ColumnCount(); ++i)
                row.append(s.IsNull(i) ? QStringLiteral("NULL") : s.Column(i).toString());
            texts.append(row.join(u'|'));
        }
        return texts;
    }
    // Every table's rows, for comparing whole archives.
    QStringList Dump() { return DumpOf(engine->Db()); }
    static QStringList DumpOf(SqliteDb& db)
    {
        QStringList all;
        for (const char* table : {"TipiPagamento", "TipiDocumento", "Portate", "Clienti", "PagamentiCliente", "Menu",
                                  "RigheRicevute", "Ricevute"})
            for (const QString& row : TextsOf(db, QStringLiteral("SELECT * FROM \"%1\" ORDER BY OID").arg(QLatin1String(table))))
                all.append(QString::fromLatin1(table) + u':' + row);
        return all;
    }
    static QStringList DumpOf(const QString& path)
    {
        SqliteDb db(path, false, 1000);
        return DumpOf(db);
    }

    QVariant AddMenuItem(const QString& name, const QVariant& price, const QString& course)
    {
        auto menu = Table(QStringLiteral("Menu"));
        menu->AddRecord({QStringLiteral("Nome"), name, QStringLiteral("Descrizione"), name, QStringLiteral("Prezzo"), price,
                         QStringLiteral("Portata"), course});
        return menu->ValueAt(0);
    }

    QVariant AddCourse(const QString& name, int order)
    {
        auto courses = Table(QStringLiteral("Portate"));
        courses->AddRecord({QStringLiteral("Descrizione"), name, QStringLiteral("Ordine_Di_Stampa"), order});
        return courses->ValueAt(0);
    }

    QVariant AddCustomer(const QString& name, const QString& town)
    {
        auto customers = Table(QStringLiteral("Clienti"));
        customers->AddRecord({QStringLiteral("Ragione_Sociale"), name, QStringLiteral("Comune"), town});
        return customers->ValueAt(0);
    }

    struct Sold
    {
        QVariant item;
        double quantity = 1;
    };
    // A receipt as the till makes it: rows copied from the menu, then the
    // payment of its total.
    QVariant AddReceipt(const QString& type, const QDateTime& when, const QVariant& customer, const QList<Sold>& rows,
                        const QString& payment = QStringLiteral("Contanti"))
    {
        auto receipts = Table(QStringLiteral("Ricevute"));
        receipts->AddRecord({QStringLiteral("Cliente"), customer, QStringLiteral("Data"), when,
                             QStringLiteral("TipoDocumento"), type});
        const QVariant oid = receipts->ValueAt(0);
        auto lines = receipts->OpenReference(QStringLiteral("Righe"));
        for (const Sold& sold : rows) {
            lines->AddRecord({QStringLiteral("OID_Menu"), sold.item});
            if (sold.quantity != 1) {
                lines->SetValue(QStringLiteral("Quantità"), sold.quantity);
                lines->SaveRecord();
            }
        }
        receipts->Requery();
        receipts->FindKey(oid);
        auto payments = Table(QStringLiteral("PagamentiCliente"));
        payments->AddRecord({QStringLiteral("DataPagamento"), when, QStringLiteral("Importo"),
                             receipts->GetValue(QStringLiteral("Importo_Ricevuta")), QStringLiteral("Cliente"),
                             receipts->GetValue(QStringLiteral("OID_Cliente")), QStringLiteral("Pagamento"), payment});
        receipts->SetReference(QStringLiteral("Pagamento"), payments->ValueAt(0));
        receipts->SaveRecord();
        return oid;
    }

    std::shared_ptr<DatabaseEngine> engine;
    std::shared_ptr<DatabaseObject> database;

private:
    QTemporaryDir m_dir;
    QString m_name;
};
