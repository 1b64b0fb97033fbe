#include "component/DatabaseObject.h"

#include "component/ComponentErrors.h"
#include "component/ComponentGlobal.h"
#include "component/ComponentInterfaces.h"
#include "component/CurrencyObject.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/DefinitionSinks.h"
#include "component/Exception.h"
#include "component/FieldValue.h"
#include "component/SchemaStore.h"
#include "component/SqlDialect.h"

#include <QLocale>
#include <cmath>

DatabaseObject::DatabaseObject(std::shared_ptr<itfDefDatabase> definition, QString applicationName,
                               itfNotifyEvent* notify, std::shared_ptr<CurrencyObject> baseCurrency)
    : m_definition(std::move(definition)), m_applicationName(std::move(applicationName)), m_notify(notify),
      m_baseCurrency(baseCurrency ? std::move(baseCurrency) : std::make_shared<EuroCurrency>()),
      m_schema(std::make_shared<Schema>())
{
}

DatabaseObject::~DatabaseObject() = default;

TableCollection DatabaseObject::Tables() { return TableCollection(shared_from_this()); }

void DatabaseObject::AttachEngine(std::shared_ptr<DatabaseEngine> engine, bool, int, int, int, itfProgress* progress)
{
    if (!engine || !engine->IsOpen())
        throw Exception(ComponentError::NotOpen, QStringLiteral("Il motore dell'archivio non ha un file aperto"));
    if (!m_definition)
        throw Exception(ComponentError::Definition, QStringLiteral("Nessuna definizione di archivio"));

    auto schema = std::make_shared<Schema>();
    DatabaseDefinition definition;
    m_definition->Define(definition);
    for (const auto& [name, tableDefinition] : definition.Tables()) {
        auto table = std::make_shared<TableDef>();
        table->name = name;
        table->definition = tableDefinition;
        TableIdentity identity(*table);
        tableDefinition->DefineIdentity(identity);
        ColumnDefiner columns(*table);
        IndexDefiner indexes(*table);
        ReferenceDefiner references(*table);
        tableDefinition->DefineStructure(columns, indexes, references);
        table->handler = tableDefinition->DefineDefaultData();
        schema->Add(std::move(table));
    }
    schema->Resolve();

    SqliteDb& db = engine->Db();
    const bool hasMetadata = SchemaStore::HasMetadata(db);
    QList<SchemaStore::TableState> states;
    bool needsWrite = !hasMetadata;
    for (const auto& table : schema->Tables()) {
        states.append(SchemaStore::Inspect(db, *table, hasMetadata));
        needsWrite = needsWrite || states.last().NeedsWrite(*table);
    }

    const auto previousSchema = engine->AttachedSchema();
    engine->SetSchema(schema);
    m_schema = schema;
    m_engine = engine;
    try {
        if (progress)
            progress->OnStart(0, schema->Count());
        if (needsWrite) {
            AtomicWrite write(*engine);
            SchemaStore::CreateMetadata(db);
            for (qsizetype i = 0; i < schema->Count(); ++i)
                if (states[i].NeedsWrite(*schema->At(i)))
                    SchemaStore::Apply(db, *schema->At(i), states[i]);
            for (qsizetype i = 0; i < schema->Count(); ++i) {
                const TableDef& table = *schema->At(i);
                const SchemaStore::TableState& state = states[i];
                const bool created = !state.exists;
                const bool newVersion = !created && !qFuzzyCompare(1.0 + state.storedVersion, 1.0 + table.version);
                if (created || newVersion) {
                    if (m_notify)
                        m_notify->OnEvent(created ? ComponentGlobal::EventTableCreated : ComponentGlobal::EventTableUpgraded,
                                          table.DisplayCaption());
                    auto records = Tables().Item(table.name).OpenDataObject(engine);
                    if (table.handler)
                        table.handler->OnUpdatedTableStruct(*records, table.version,
                                                            created ? table.version : state.storedVersion, created);
                }
                SchemaStore::StoreVersion(db, table);
                if (progress && !progress->OnProgress(0, schema->Count(), i + 1))
                    throw Exception(ComponentError::Cancelled, ComponentGlobal::MessageText(124, 0));
            }
            write.Commit();
            engine->DataChanged();
        }
        if (progress)
            progress->OnEnd(0, schema->Count());
    } catch (...) {
        if (progress)
            progress->OnEnd(0, schema->Count());
        m_engine.reset();
        engine->SetSchema(previousSchema);
        throw;
    }
}

QString DatabaseObject::SqlNumber(double value) const { return SqlDialect::NumberLiteral(value); }

QString DatabaseObject::SqlText(const QString& text) const { return SqlDialect::TextLiteral(text); }

QString DatabaseObject::FormatNumber(const QVariant& value, int code, int decimals) const
{
    if (FieldValue::IsNull(value))
        return {};
    if (code == FieldType::Currency && decimals <= 0)
        return FieldValue::Format(FieldValue::Normalize(value, code, 0, QString()), code, m_baseCurrency.get());
    if (decimals > 0) {
        const auto d = value.metaType() == QMetaType::fromType<Currency>() ? value.value<Currency>().ToDouble()
                                                                           : value.toDouble();
        return QLocale(QLocale::Italian, QLocale::Italy).toString(d, 'f', decimals);
    }
    return FieldValue::Format(FieldValue::Normalize(value, code, 0, QString()), code, m_baseCurrency.get());
}

Currency DatabaseObject::AdjustAmount(Currency amount, int, double factor) const
{
    const Currency scaled = factor == 1.0 ? amount : amount.Mul(factor);
    return scaled.Rounded(m_baseCurrency->Decimals());
}
