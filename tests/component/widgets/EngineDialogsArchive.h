#pragma once
// A small archive for the engine's windows: categories, dishes with every
// column type (a hidden code, a look-up reference to the category) and sold
// rows that extend the dishes, whose amount the rules keep as price times
// quantity and which refuse a quantity of zero when stored.

#include "component/ComponentErrors.h"
#include "component/ComponentGlobal.h"
#include "component/ComponentInterfaces.h"
#include "component/Currency.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/DefinitionSinks.h"
#include "component/Exception.h"
#include "component/Table.h"

#include <QDateTime>
#include <QTemporaryDir>
#include <memory>

namespace DialogTest {

inline void AddColumn(ColumnDefiner& c, const QString& name, int type, int size = 0, int options = -100,
                      bool visible = true, const QString& description = {})
{
    c.AddColumn(name, type, size, 0, 0, options, -100, -100, visible, description, 0, 0);
}

class Categorie : public itfDefTable, public itfSetData
{
public:
    void DefineIdentity(TableIdentity& id) override { id.Caption(QStringLiteral("Categorie")); }
    void DefineStructure(ColumnDefiner& c, IndexDefiner& i, ReferenceDefiner&) override
    {
        AddColumn(c, QStringLiteral("Descrizione"), 0, 32);
        i.AddIndex(QStringLiteral("Descrizione"), true, QString());
    }
    itfSetData* DefineDefaultData() override { return this; }
};

class Piatti : public itfDefTable, public itfSetData
{
public:
    void DefineIdentity(TableIdentity& id) override { id.Caption(QStringLiteral("Piatti del giorno")); }
    void DefineStructure(ColumnDefiner& c, IndexDefiner& i, ReferenceDefiner& r) override
    {
        AddColumn(c, QStringLiteral("Nome"), 0, 30);
        AddColumn(c, QStringLiteral("Prezzo"), 20, 0, -100, true, QStringLiteral("Prezzo di vendita"));
        AddColumn(c, QStringLiteral("Ultima_Data"), 19);
        AddColumn(c, QStringLiteral("Porzioni"), 11);
        AddColumn(c, QStringLiteral("Peso"), 16);
        AddColumn(c, QStringLiteral("Disponibile"), 14);
        AddColumn(c, QStringLiteral("Codice"), 0, 8, -100, false);
        r.AddReference(QStringLiteral("Categoria"), QStringLiteral("Categorie"), false, false, QString(),
                       QStringLiteral("Descrizione"), -100, -100, -100, 0, -2, true, 0);
        i.AddIndex(QStringLiteral("Nome"), false, QString());
    }
    itfSetData* DefineDefaultData() override { return this; }
};

// A sold dish: the dish's columns, a quantity and the amount the rules keep.
class Righe : public itfDefTable, public itfSetData
{
public:
    void DefineIdentity(TableIdentity& id) override
    {
        id.Caption(QStringLiteral("Righe vendute"));
        id.BaseTable(QStringLiteral("Piatti"));
    }
    void DefineStructure(ColumnDefiner& c, IndexDefiner&, ReferenceDefiner&) override
    {
        AddColumn(c, QStringLiteral("Quantità"), 16);
        AddColumn(c, QStringLiteral("Importo"), 20, 0, 15);
    }
    itfSetData* DefineDefaultData() override { return this; }
    void OnNewRow(DataObject& ds) override { ds.SetValue(QStringLiteral("Quantità"), 1); }
    void OnUpdateField(DataObject& ds, const QString& column) override
    {
        if (column != QStringLiteral("Quantità") && column != QLatin1String("Prezzo"))
            return;
        const QVariant q = ds.GetValue(QStringLiteral("Quantità"));
        const QVariant p = ds.GetValue(QStringLiteral("Prezzo"));
        const Currency price = p.isValid() ? p.value<Currency>() : Currency();
        ds.SetValue(QStringLiteral("Importo"), QVariant::fromValue(price.Mul(q.isValid() ? q.toDouble() : 0.0)));
    }
    void OnUpdateRow(DataObject& ds) override
    {
        if (ds.GetValue(QStringLiteral("Quantità")).toDouble() == 0.0)
            throw Exception(ComponentError::InvalidValue, QStringLiteral("La quantità non può essere zero"));
    }
};

class Definition : public itfDefDatabase
{
public:
    void Define(DatabaseDefinition& d) override
    {
        d.AddTable(QStringLiteral("Categorie"), std::make_shared<Categorie>());
        d.AddTable(QStringLiteral("Piatti"), std::make_shared<Piatti>());
        d.AddTable(QStringLiteral("Righe"), std::make_shared<Righe>());
    }
};

// The archive in a temporary folder, with two categories and five dishes.
class Archive
{
public:
    Archive()
    {
        const QString path = m_dir.filePath(QStringLiteral("Mensora.mdb"));
        engine->CreateDatabaseFile(3, path);
        engine = std::make_shared<DatabaseEngine>();
        engine->OpenDatabaseFile(3, path);
        database = ComponentGlobal::CreateDatabaseObject(std::make_shared<Definition>(), QStringLiteral("MensoraTest"),
                                                         nullptr, nullptr);
        database->AttachEngine(engine);
        auto categories = Open(QStringLiteral("Categorie"));
        categories->AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Primi")});
        categories->AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Dolci")});
        auto dishes = Open(QStringLiteral("Piatti"));
        AddDish(*dishes, QStringLiteral("Tiramisù"), QStringLiteral("4,50"), QStringLiteral("Dolci"));
        AddDish(*dishes, QStringLiteral("Lasagne"), QStringLiteral("9"), QStringLiteral("Primi"));
        AddDish(*dishes, QStringLiteral("Risotto \"nero\"; al nero"), QStringLiteral("12,5"), QStringLiteral("Primi"));
        AddDish(*dishes, QStringLiteral("Panna cotta"), QStringLiteral("1234,5"), QStringLiteral("Dolci"));
        AddDish(*dishes, QStringLiteral("Pasta 50% <integrale>"), QStringLiteral("7"), QString());
    }

    std::shared_ptr<DataObject> Open(const QString& table, const QString& criteria = {}, const QString& order = {})
    {
        return database->Tables().Item(table).OpenDataObject(engine, criteria, order);
    }

    QString Path(const QString& name) const { return m_dir.filePath(name); }

    // Dishes "Piatto 001"... in one statement, priced 1,00, 2,00...
    void InsertDishes(int count)
    {
        engine->Db().Exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) "
                                         "INSERT INTO \"Piatti\" (\"Nome\", \"Prezzo\") "
                                         "SELECT printf('Piatto %03d', i), i * 10000 FROM n")
                              .arg(count));
        engine->DataChanged();
    }

    QTemporaryDir m_dir;
    std::shared_ptr<DatabaseEngine> engine = std::make_shared<DatabaseEngine>();
    std::shared_ptr<DatabaseObject> database;

private:
    static void AddDish(DataObject& dishes, const QString& name, const QString& price, const QString& category)
    {
        QVariantList values{QStringLiteral("Nome"), name, QStringLiteral("Prezzo"), price, QStringLiteral("Porzioni"), 2,
                            QStringLiteral("Ultima_Data"), QDateTime(QDate(2024, 3, 9), QTime(20, 30)),
                            QStringLiteral("Disponibile"), true, QStringLiteral("Peso"), 0.25};
        if (!category.isEmpty())
            values << QStringLiteral("Categoria") << category;
        dishes.AddRecord(values);
    }
};

} // namespace DialogTest
