#pragma once
// The restaurant's archive in a temporary folder, opened as the application
// opens it.

#include "component/ComponentGlobal.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/Table.h"
#include "data/DB.h"

#include <QTemporaryDir>

class RestaurantArchive
{
public:
    RestaurantArchive()
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
        database = ComponentGlobal::CreateDatabaseObject(std::make_shared<DB>(), QStringLiteral("mensora"), nullptr, nullptr);
        database->AttachEngine(engine);
    }

    std::shared_ptr<DataObject> Table(const QString& name, const QString& criteria = {}, const QString& order = {})
    {
        return database->Tables().Item(name).OpenDataObject(engine, criteria, order);
    }

    QString Path() const { return m_dir.filePath(QStringLiteral("Mensora.mdb")); }

    std::shared_ptr<DatabaseEngine> engine;
    std::shared_ptr<DatabaseObject> database;

private:
    QTemporaryDir m_dir;
};
