#pragma once
// A restaurant's archive with a small menu in three courses, receipts made
// the way the till makes them, and the print object on a recording target.

#include "data/RestaurantArchive.h"

#include "app/AppSettings.h"
#include "component/Currency.h"
#include "printing/RecordingTarget.h"
#include "printing/clsScriptPrinter.h"

#include <QDateTime>
#include <utility>
#include <vector>

class TicketArchive
{
public:
    TicketArchive()
    {
        AddDish("Acqua", "1,50", "VARIE");
        AddDish("Tagliatelle al ragù", "9", "PRIMI");
        AddDish("Bruschetta", "4", "ANTIPASTI");
        AddDish("Tiramisù", "5", "VARIE");
        AddDish("Risotto", "11", "PRIMI");
        AddDish("Tagliata", "16,50", "SECONDI");
    }

    void AddDish(const char* name, const char* price, const char* course)
    {
        auto menu = archive.Table(QStringLiteral("Menu"));
        menu->AddRecord({QStringLiteral("Nome"), QString::fromUtf8(name), QStringLiteral("Prezzo"), QString::fromUtf8(price),
                         QStringLiteral("Portata"), QString::fromUtf8(course),
                         QStringLiteral("Descrizione"), QStringLiteral("Piatto ") + QString::fromUtf8(name)});
        m_dishes.emplace_back(QString::fromUtf8(name), menu->ValueAt(0));
    }

    // A receipt with one row per dish named, in that order; quantities 1
    // unless given as "2x Name".
    std::shared_ptr<DataObject> Receipt(const std::vector<const char*>& dishes,
                                        const QString& type = QStringLiteral("Ricevuta fiscale"))
    {
        auto receipts = archive.Table(QStringLiteral("Ricevute"));
        receipts->AddRecord({QStringLiteral("Cliente"), QStringLiteral("Cliente generico"), QStringLiteral("Data"),
                             QDateTime(QDate(2026, 3, 14), QTime(21, 30)), QStringLiteral("TipoDocumento"), type});
        auto rows = receipts->OpenReference(QStringLiteral("Righe"));
        for (const char* entry : dishes) {
            QString name = QString::fromUtf8(entry);
            int quantity = 1;
            if (name.size() > 2 && name[0].isDigit() && name[1] == u'x') {
                quantity = name[0].digitValue();
                name = name.mid(3);
            }
            rows->AddRecord({QStringLiteral("OID_Menu"), Dish(name), QStringLiteral("Quantità"), quantity});
        }
        receipts->Requery();
        receipts->FindKey(receipts->ValueAt(0));
        return receipts;
    }

    QVariant Dish(const QString& name) const
    {
        for (const auto& [dish, oid] : m_dishes)
            if (dish == name)
                return oid;
        return {};
    }

    // A print object on a new recording target.
    std::unique_ptr<clsScriptPrinter> Printer(const TicketGeometry& geometry = TicketGeometry())
    {
        record = std::make_shared<TicketRecord>();
        auto printer = std::make_unique<clsScriptPrinter>();
        printer->SetPrinter(std::make_unique<RecordingTarget>(record), geometry);
        return printer;
    }

    RestaurantArchive archive;
    std::shared_ptr<TicketRecord> record;

private:
    std::vector<std::pair<QString, QVariant>> m_dishes;
};

// The settings of the run for the lifetime of a test, given back after it.
class ScopedSettings
{
public:
    ScopedSettings() : m_saved(Settings()) {}
    ~ScopedSettings() { Settings() = m_saved; }

private:
    AppSettings m_saved;
};
