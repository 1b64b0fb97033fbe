#pragma once
// Currencies of the archive: the base currency amounts are stored in, and an
// optional conversion currency shown beside it.

#include "component/Currency.h"

#include <QString>

class CurrencyObject
{
public:
    virtual ~CurrencyObject() = default;
    // 0: the singular name; -1 (or any other index): the name used in captions.
    virtual QString Name(int index = -1) const = 0;
    virtual int Decimals() const = 0;
    virtual QString Symbol() const = 0;
    // An amount of the base currency expressed in this currency.
    virtual Currency FromBase(Currency amount) const = 0;
};

// The euro as base currency.
class EuroCurrency : public CurrencyObject
{
public:
    QString Name(int) const override { return QStringLiteral("Euro"); }
    int Decimals() const override { return 2; }
    QString Symbol() const override { return QStringLiteral("€"); }
    Currency FromBase(Currency amount) const override { return amount; }
};

// The former currency when the base is the euro: euro times 1936.27.
class ConversionCurrencyForEuro : public CurrencyObject
{
public:
    QString Name(int index) const override { return index == 0 ? QStringLiteral("Lira") : QStringLiteral("Lire"); }
    int Decimals() const override { return 0; }
    QString Symbol() const override { return QStringLiteral("L."); }
    Currency FromBase(Currency amount) const override;
};

// The euro when the base is the former currency: amount divided by 1936.27.
class ConversionCurrencyForOther : public CurrencyObject
{
public:
    QString Name(int) const override { return QStringLiteral("Euro"); }
    int Decimals() const override { return 2; }
    QString Symbol() const override { return QStringLiteral("€"); }
    Currency FromBase(Currency amount) const override;
};

constexpr double kEuroRate = 1936.27;
