#pragma once
// A small archive for the grid tests: dishes with every column type, a
// hidden code column and a look-up reference to their category, in a
// temporary folder.

#include "component/ComponentGlobal.h"
#include "component/ComponentInterfaces.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/DefinitionSinks.h"
#include "component/Table.h"

#include <QTemporaryDir>
#include <memory>

namespace GridTest {

inline void AddCol(ColumnDefiner& c, const QString& name, int type, int size = 0, bool visible = true,
                   const QString& description = {})
{
    c.AddColumn(name, type, size, 0, 0, -100, -100, -100, visible, description, 0, 0);
}

class Categorie : public itfDefTable, public itfSetData
{
public:
    void DefineIdentity(TableIdentity& id) override { id.Caption(QStringLiteral("Categorie")); }
    void DefineStructure(ColumnDefiner& c, IndexDefiner& i, ReferenceDefiner&) override
    {
        AddCol(c, QStringLiteral("Descrizione"), 0, 32);
        i.AddIndex(QStringLiteral("Descrizione"), true, QString());
    }
    itfSetData* DefineDefaultData() override { return this; }
};

class Piatti : public itfDefTable, public itfSetData
{
public:
    void DefineIdentity(TableIdentity& id) override { id.Caption(QStringLiteral("Piatti")); }
    void DefineStructure(ColumnDefiner& c, IndexDefiner& i, ReferenceDefiner& r) override
    {
        AddCol(c, QStringLiteral("Nome"), 0, 30);
        AddCol(c, QStringLiteral("Prezzo"), 20, 0, true, QStringLiteral("Prezzo di vendita"));
        AddCol(c, QStringLiteral("Ultima_Data"), 17);
        AddCol(c, QStringLiteral("Porzioni"), 11);
        AddCol(c, QStringLiteral("Peso"), 16);
        AddCol(c, QStringLiteral("Disponibile"), 14);
        AddCol(c, QStringLiteral("Codice"), 0, 8, false);
        r.AddReference(QStringLiteral("Categoria"), QStringLiteral("Categorie"), false, false, QString(),
                       QStringLiteral("Descrizione"), -100, -100, -100, 0, -2, true, 0);
        i.AddIndex(QStringLiteral("Nome"), false, QString());
    }
    itfSetData* DefineDefaultData() override { return this; }
};

class Definition : public itfDefDatabase
{
public:
    void Define(DatabaseDefinition& d) override
    {
        d.AddTable(QStringLiteral("Categorie"), std::make_shared<Categorie>());
        d.AddTable(QStringLiteral("Piatti"), std::make_shared<Piatti>());
    }
};

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
    }

    std::shared_ptr<DataObject> Open(const QString& table, const QString& criteria = {}, const QString& order = {},
                                     bool currencyConversion = false)
    {
        return database->Tables().Item(table).OpenDataObject(engine, criteria, order, {}, {}, currencyConversion);
    }

    // Dishes `first`..`first` + `count` - 1: named "Piatto 000001"..., priced
    // 1,00, 2,00..., with as many portions as their number; one statement,
    // which is one transaction.
    void InsertDishes(int count, int first = 1)
    {
        engine->Db().Exec(QStringLiteral("WITH RECURSIVE n(i) AS (SELECT %1 UNION ALL SELECT i + 1 FROM n WHERE i < %2) ")
                              .arg(first)
                              .arg(first + count - 1) +
                          QStringLiteral("INSERT INTO \"Piatti\" (\"Nome\", \"Prezzo\", \"Porzioni\", \"Disponibile\") "
                                         "SELECT printf('Piatto %06d', i), i * 10000, i, i % 2 FROM n"));
        engine->DataChanged();
    }

    QTemporaryDir m_dir;
    std::shared_ptr<DatabaseEngine> engine = std::make_shared<DatabaseEngine>();
    std::shared_ptr<DatabaseObject> database;
};

} // namespace GridTest
