#pragma once
// The open archive: the definitions replayed on attach, the tables, the
// currencies and the engine's helpers for numbers, texts and amounts.

#include "component/Currency.h"
#include "component/Schema.h"
#include "component/Table.h"

#include <QString>
#include <memory>

class DatabaseEngine;
class CurrencyObject;
class itfDefDatabase;
class itfNotifyEvent;
class itfProgress;

class DatabaseObject : public std::enable_shared_from_this<DatabaseObject>
{
public:
    static constexpr int StateClosed = 0;
    static constexpr int StateOpen = 5;

    DatabaseObject(std::shared_ptr<itfDefDatabase> definition, QString applicationName, itfNotifyEvent* notify,
                   std::shared_ptr<CurrencyObject> baseCurrency);
    ~DatabaseObject();

    // Replays the definition on the engine's file: every table is registered,
    // created when missing, given its missing columns and indexes, and handed
    // to its rules (OnUpdatedTableStruct) when created or at a new version.
    void AttachEngine(std::shared_ptr<DatabaseEngine> engine, bool create = true, int reserved1 = 0,
                      int reserved2 = 0, int reserved3 = 0, itfProgress* progress = nullptr);
    int State() const { return m_engine ? StateOpen : StateClosed; }
    std::shared_ptr<DatabaseEngine> Engine() const { return m_engine; }

    TableCollection Tables();
    const Schema& GetSchema() const { return *m_schema; }
    std::shared_ptr<const Schema> SchemaPtr() const { return m_schema; }
    const QString& ApplicationName() const { return m_applicationName; }
    itfNotifyEvent* NotifySink() const { return m_notify; }

    std::shared_ptr<CurrencyObject> BaseCurrency() const { return m_baseCurrency; }
    std::shared_ptr<CurrencyObject> ConversionCurrency() const { return m_conversionCurrency; }
    void SetConversionCurrency(std::shared_ptr<CurrencyObject> currency) { m_conversionCurrency = std::move(currency); }

    // A number as a literal of the query dialect ("1936.27").
    QString SqlNumber(double value) const;
    // A text as a quoted literal of the query dialect.
    QString SqlText(const QString& text) const;
    // Display text of a value: code 20 currency (base currency decimals),
    // 16 decimal, 11 whole number; `decimals` > 0 overrides the decimals.
    QString FormatNumber(const QVariant& value, int code, int decimals) const;
    // An amount times `factor`, rounded to the base currency's decimals
    // (halves away from zero).
    Currency AdjustAmount(Currency amount, int mode, double factor) const;

private:
    std::shared_ptr<itfDefDatabase> m_definition;
    QString m_applicationName;
    itfNotifyEvent* m_notify;
    std::shared_ptr<CurrencyObject> m_baseCurrency;
    std::shared_ptr<CurrencyObject> m_conversionCurrency;
    std::shared_ptr<Schema> m_schema;
    std::shared_ptr<DatabaseEngine> m_engine;
};
