#pragma once
// A small archive definition that exercises the engine the way the
// restaurant's tables do: a look-up table, a priced item table, an extension
// of it that is owned by a document, and rules that keep a document total.

#include "component/ComponentGlobal.h"
#include "component/ComponentInterfaces.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DatabaseObject.h"
#include "component/DefinitionSinks.h"

#include <QStringList>
#include <QTemporaryDir>
#include <memory>

// Every callback the rules receive, in order, as "Table.Callback(detail)".
struct CallLog
{
    QStringList calls;
    void Add(const QString& entry) { calls.append(entry); }
};

struct TestOptions
{
    double itemVersion = 1.1;
    bool itemExtraColumn = false;   // a column added by a newer definition
    bool itemExtraIndex = false;
    bool failUpgrade = false;       // the item table's upgrade throws
};

class TestDefinition : public itfDefDatabase
{
public:
    TestDefinition(std::shared_ptr<CallLog> log, TestOptions options) : m_log(std::move(log)), m_options(options) {}
    void Define(DatabaseDefinition& definition) override;

private:
    std::shared_ptr<CallLog> m_log;
    TestOptions m_options;
};

// An archive in a temporary folder, attached with TestDefinition.
class TestArchive
{
public:
    explicit TestArchive(TestOptions options = {});
    // Attaches again (a new engine and database object on the same file).
    void Reopen(TestOptions options);
    void Reopen() { Reopen(m_options); }

    std::shared_ptr<DataObject> Open(const QString& table, const QString& criteria = {}, const QString& order = {},
                                     const QString& select = {});
    QString Path() const { return m_dir.filePath(QStringLiteral("Mensora.mdb")); }

    QTemporaryDir m_dir;
    std::shared_ptr<CallLog> log = std::make_shared<CallLog>();
    std::shared_ptr<DatabaseEngine> engine;
    std::shared_ptr<DatabaseObject> database;

private:
    TestOptions m_options;
};
