#include "TestArchive.h"

#include "component/ComponentErrors.h"
#include "component/Currency.h"
#include "component/Exception.h"
#include "component/Table.h"

namespace {

void AddCol(ColumnDefiner& c, const QString& name, int type, int size = 0)
{
    c.AddColumn(name, type, size, 0, 0, -100, -100, -100, true, QString(), 0, 0);
}

class LoggingTable : public itfDefTable, public itfSetData
{
public:
    LoggingTable(QString name, std::shared_ptr<CallLog> log) : m_name(std::move(name)), m_log(std::move(log)) {}
    itfSetData* DefineDefaultData() override { return this; }
    void OnUpdatedTableStruct(DataObject&, double version, double oldVersion, bool created) override
    {
        m_log->Add(QStringLiteral("%1.OnUpdatedTableStruct(%2,%3,%4)")
                       .arg(m_name).arg(version).arg(oldVersion).arg(created ? QStringLiteral("created") : QStringLiteral("existing")));
    }
    void OnNewRow(DataObject&) override { m_log->Add(m_name + QStringLiteral(".OnNewRow")); }
    void OnUpdateRow(DataObject&) override { m_log->Add(m_name + QStringLiteral(".OnUpdateRow")); }
    void OnDeleteRow(DataObject&) override { m_log->Add(m_name + QStringLiteral(".OnDeleteRow")); }
    void OnBeforeUpdateField(DataObject&, const QString& column, QVariant&, bool&) override
    {
        m_log->Add(m_name + QStringLiteral(".OnBeforeUpdateField(") + column + u')');
    }
    void OnUpdateField(DataObject&, const QString& column) override
    {
        m_log->Add(m_name + QStringLiteral(".OnUpdateField(") + column + u')');
    }
    void OnBeforeUpdateReference(DataObject&, const QString& reference, DataObject* row, bool, bool) override
    {
        m_log->Add(QStringLiteral("%1.OnBeforeUpdateReference(%2,%3)").arg(m_name, reference, row ? QStringLiteral("row") : QStringLiteral("none")));
    }
    void OnUpdateReference(DataObject&, const QString& reference, DataObject* row, bool, bool) override
    {
        m_log->Add(QStringLiteral("%1.OnUpdateReference(%2,%3)").arg(m_name, reference, row ? QStringLiteral("row") : QStringLiteral("none")));
    }

protected:
    QString m_name;
    std::shared_ptr<CallLog> m_log;
};

class Categorie : public LoggingTable
{
public:
    using LoggingTable::LoggingTable;
    void DefineIdentity(TableIdentity& id) override { id.Caption(QStringLiteral("Categorie di articoli")); }
    void DefineStructure(ColumnDefiner& c, IndexDefiner& i, ReferenceDefiner&) override
    {
        AddCol(c, QStringLiteral("Descrizione"), 0, 32);
        i.AddIndex(QStringLiteral("Descrizione"), true, QString());
    }
    void OnUpdatedTableStruct(DataObject& ds, double version, double oldVersion, bool created) override
    {
        LoggingTable::OnUpdatedTableStruct(ds, version, oldVersion, created);
        if (created) {
            ds.AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Bevande")});
            ds.AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Dolci")});
        }
    }
};

class Articoli : public LoggingTable
{
public:
    Articoli(QString name, std::shared_ptr<CallLog> log, TestOptions options)
        : LoggingTable(std::move(name), std::move(log)), m_options(options) {}
    void DefineIdentity(TableIdentity& id) override
    {
        id.Caption(QStringLiteral("Articoli"));
        id.Version(m_options.itemVersion);
    }
    void DefineStructure(ColumnDefiner& c, IndexDefiner& i, ReferenceDefiner& r) override
    {
        AddCol(c, QStringLiteral("Nome"), 0, 20);
        AddCol(c, QStringLiteral("Prezzo"), 20);
        AddCol(c, QStringLiteral("Ordine"), 11);
        if (m_options.itemExtraColumn)
            AddCol(c, QStringLiteral("Codice"), 0, 8);
        r.AddReference(QStringLiteral("Categoria"), QStringLiteral("Categorie"), false, false, QString(),
                       QStringLiteral("Descrizione"), -100, -100, -100, 0, -2, true, 0);
        i.AddIndex(QStringLiteral("Nome"), false, QString());
        if (m_options.itemExtraIndex)
            i.AddIndex(QStringLiteral("Ordine"), false, QStringLiteral("PerOrdine"));
    }

    void OnUpdatedTableStruct(DataObject& ds, double version, double oldVersion, bool created) override
    {
        LoggingTable::OnUpdatedTableStruct(ds, version, oldVersion, created);
        if (m_options.failUpgrade && !created)
            throw Exception(ComponentError::Sql, QStringLiteral("aggiornamento fallito"));
    }

private:
    TestOptions m_options;
};

// Extends Articoli: a sold item with quantity and amount.
class Righe : public LoggingTable
{
public:
    using LoggingTable::LoggingTable;
    void DefineIdentity(TableIdentity& id) override
    {
        id.Caption(QStringLiteral("Righe"));
        id.BaseTable(QStringLiteral("Articoli"));
        id.Version(1.0);
    }
    void DefineStructure(ColumnDefiner& c, IndexDefiner&, ReferenceDefiner&) override
    {
        AddCol(c, QStringLiteral("Importo"), 20);
        AddCol(c, QStringLiteral("Quantità"), 16);
    }
    void OnNewRow(DataObject& ds) override
    {
        LoggingTable::OnNewRow(ds);
        ds.SetValue(QStringLiteral("Quantità"), 1);
    }
    void OnUpdateField(DataObject& ds, const QString& column) override
    {
        LoggingTable::OnUpdateField(ds, column);
        if (column != QStringLiteral("Quantità") && column != QLatin1String("Prezzo"))
            return;
        const QVariant q = ds.GetValue(QStringLiteral("Quantità"));
        const QVariant p = ds.GetValue(QStringLiteral("Prezzo"));
        if (!q.isValid() || !p.isValid() || p.value<Currency>() <= Currency())
            return;
        const Currency amount = ds.Database().AdjustAmount(p.value<Currency>().Mul(q.toDouble()), 0, 1.0);
        ds.SetValue(QStringLiteral("Importo"), QVariant::fromValue(amount));
    }
};

// Owns its rows and keeps their total.
class Documenti : public LoggingTable
{
public:
    using LoggingTable::LoggingTable;
    void DefineIdentity(TableIdentity& id) override { id.Version(1.0); }
    void DefineStructure(ColumnDefiner& c, IndexDefiner& i, ReferenceDefiner& r) override
    {
        AddCol(c, QStringLiteral("Numero"), 11);
        AddCol(c, QStringLiteral("Data"), 17);
        AddCol(c, QStringLiteral("Totale"), 20);
        AddCol(c, QStringLiteral("Note"), 0, 10);
        r.AddReference(QStringLiteral("Righe"), QStringLiteral("Righe"), true, true, QString(), QStringLiteral("Nome"),
                       -100, -100, -100, 0, -2, true, 0);
        r.AddReference(QStringLiteral("Categoria"), QStringLiteral("Categorie"), false, false, QString(),
                       QStringLiteral("Descrizione"), -100, -100, -100, 0, -2, true, 0);
        i.AddIndex(QStringLiteral("Numero"), true, QStringLiteral("NumCat")).AddIndexColumn(QStringLiteral("Categoria"));
    }
    void OnNewRow(DataObject& ds) override
    {
        LoggingTable::OnNewRow(ds);
        ds.SetValue(QStringLiteral("Totale"), 0);
    }
    void OnBeforeUpdateReference(DataObject& ds, const QString& reference, DataObject* row, bool d, bool m) override
    {
        LoggingTable::OnBeforeUpdateReference(ds, reference, row, d, m);
        if (reference != QLatin1String("Righe"))
            return;
        if (!row)
            ds.SetValue(QStringLiteral("Totale"), 0);
        else
            ds.SetValue(QStringLiteral("Totale"), QVariant::fromValue(ds.GetValue(QStringLiteral("Totale")).value<Currency>() -
                                                                      Amount(*row)));
    }
    void OnUpdateReference(DataObject& ds, const QString& reference, DataObject* row, bool d, bool m) override
    {
        LoggingTable::OnUpdateReference(ds, reference, row, d, m);
        if (reference != QLatin1String("Righe"))
            return;
        if (!row)
            ds.SetValue(QStringLiteral("Totale"), ds.OpenReference(QStringLiteral("Righe"))->Aggregate(QStringLiteral("Importo"), 0));
        else
            ds.SetValue(QStringLiteral("Totale"), QVariant::fromValue(ds.GetValue(QStringLiteral("Totale")).value<Currency>() +
                                                                      Amount(*row)));
    }

private:
    static Currency Amount(DataObject& row)
    {
        const QVariant v = row.GetValue(QStringLiteral("Importo"));
        return v.isValid() ? v.value<Currency>() : Currency();
    }
};

} // namespace

void TestDefinition::Define(DatabaseDefinition& d)
{
    d.AddTable(QStringLiteral("Categorie"), std::make_shared<Categorie>(QStringLiteral("Categorie"), m_log));
    d.AddTable(QStringLiteral("Articoli"), std::make_shared<Articoli>(QStringLiteral("Articoli"), m_log, m_options));
    d.AddTable(QStringLiteral("Righe"), std::make_shared<Righe>(QStringLiteral("Righe"), m_log));
    d.AddTable(QStringLiteral("Documenti"), std::make_shared<Documenti>(QStringLiteral("Documenti"), m_log));
}

TestArchive::TestArchive(TestOptions options) : m_options(options)
{
    engine = std::make_shared<DatabaseEngine>();
    engine->CreateDatabaseFile(3, Path());
    Reopen(options);
}

void TestArchive::Reopen(TestOptions options)
{
    m_options = options;
    database.reset();
    engine = std::make_shared<DatabaseEngine>();
    engine->OpenDatabaseFile(3, Path());
    database = ComponentGlobal::CreateDatabaseObject(std::make_shared<TestDefinition>(log, options),
                                                     QStringLiteral("MensoraTest"), nullptr, nullptr);
    database->AttachEngine(engine);
}

std::shared_ptr<DataObject> TestArchive::Open(const QString& table, const QString& criteria, const QString& order,
                                              const QString& select)
{
    return database->Tables().Item(table).OpenDataObject(engine, criteria, order, {}, select);
}
