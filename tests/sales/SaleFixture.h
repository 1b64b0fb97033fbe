#pragma once
// A restaurant archive with a small menu, a settings store of its own,
// scripted dialogs and the Italian locale, for the tests of the till.

#include "app/AppSettings.h"
#include "app/SaleDate.h"
#include "app/SettingsStore.h"
#include "component/Currency.h"
#include "component/DataObject.h"
#include "component/DatabaseEngine.h"
#include "component/Sqlite.h"
#include "data/RestaurantArchive.h"
#include "sales/OpenSale.h"
#include "support/ScriptedDialogs.h"

#include <QLocale>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <map>

inline Currency Money(const char* text) { return *Currency::FromDecimalText(QString::fromLatin1(text)); }

class SaleTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QLocale::setDefault(QLocale(QLocale::Italian, QLocale::Italy));
        Settings() = DefaultSettings();
        // A ticket that shows its rows and its total.
        Settings().Ticket.VBScript = QStringLiteral(
            "Function PrintTicketMask(flds, fldsCliente, fldsTipoDoc, prn, sName, bTotal)\r\n"
            "  If bTotal Then prn.TxtOut 10, 5, \"Totale \" & flds(\"Importo_Ricevuta\")\r\n"
            "  PrintTicketMask = True\r\n"
            "End Function\r\n"
            "Function PrintTicketRow(flds, prn, nRow)\r\n"
            "  prn.TxtOut 0, 5, flds(\"Quantità\") & \" \" & flds(\"Nome\")\r\n"
            "  PrintTicketRow = True\r\n"
            "End Function\r\n");
        SetSaleDate(QDate::currentDate());
        auto menu = archive.Table(QStringLiteral("Menu"));
        const struct { const char* name; const char* price; const char* course; } dishes[] = {
            {"Bruschette", "5.50", "ANTIPASTI"}, {"Carbonara", "11", "PRIMI"}, {"Lasagne", "12", "PRIMI"},
            {"Tagliata", "19", "SECONDI"},       {"Acqua", "2", "VARIE"},       {"Pane", "0", "VARIE"},
        };
        for (const auto& dish : dishes) {
            menu->AddRecord({QStringLiteral("Nome"), QString::fromLatin1(dish.name), QStringLiteral("Prezzo"),
                             QVariant::fromValue(Money(dish.price)), QStringLiteral("Portata"),
                             QString::fromLatin1(dish.course)});
            item[dish.name] = menu->ValueAt(0).toLongLong();
        }
        item["Coperto"] = archive.Table(QStringLiteral("Menu"), QStringLiteral("Nome = 'Coperto'"))->ValueAt(0).toLongLong();
    }

    void TearDown() override { QLocale::setDefault(QLocale::c()); }

    // A sale ready to start: loaded, its default document type stored.
    std::unique_ptr<OpenSale> NewSale(const char* documentType = "Ricevuta fiscale")
    {
        SetDefault(QStringLiteral("TipoDocDefault"), Key(QStringLiteral("TipiDocumento"), documentType));
        auto sale = std::make_unique<OpenSale>(archive.database, archive.engine);
        EXPECT_EQ(sale->Load(), OpenSale::LoadResult::Ready);
        return sale;
    }

    std::unique_ptr<OpenSale> StartedSale(const char* documentType = "Ricevuta fiscale")
    {
        auto sale = NewSale(documentType);
        EXPECT_TRUE(sale->Add_Vendita());
        return sale;
    }

    qint64 Key(const QString& table, const char* description)
    {
        auto data = archive.Table(table, QStringLiteral("Descrizione = '%1'").arg(QString::fromLatin1(description)));
        EXPECT_FALSE(data->IsEmptySet()) << description;
        return data->IsEmptySet() ? 0 : data->ValueAt(0).toLongLong();
    }

    void SetDefault(const QString& key, const QVariant& value)
    {
        auto store = OpenSettingsStore();
        store->setValue(QStringLiteral("Ricevute/") + key, value.toString());
        store->sync();
    }

    QString Default(const QString& key) { return OpenSettingsStore()->value(QStringLiteral("Ricevute/") + key).toString(); }

    // What another session sees of the archive (only what was committed):
    // the first column of the first row of a query.
    QVariant Committed(const QString& sql)
    {
        SqliteDb reader(archive.Path(), false, 1000);
        Statement query(reader, sql);
        return query.Step() ? query.Column(0) : QVariant();
    }

    // Makes the archive refuse the commit of any sale with a payment: a
    // deferred constraint that fails only when the transaction commits.
    void RefuseCommitsWithPayments()
    {
        SqliteDb& db = archive.engine->Db();
        db.Exec(QStringLiteral("PRAGMA foreign_keys=ON"));
        db.Exec(QStringLiteral("CREATE TABLE trap_parent(id INTEGER PRIMARY KEY)"));
        db.Exec(QStringLiteral("CREATE TABLE trap(ref INTEGER REFERENCES trap_parent(id) DEFERRABLE INITIALLY DEFERRED)"));
        db.Exec(QStringLiteral("CREATE TRIGGER trap_payment AFTER INSERT ON PagamentiCliente BEGIN INSERT INTO trap VALUES (-1); END"));
    }

    static Currency Total(OpenSale& sale)
    {
        return sale.ReceiptData()->GetValue(QStringLiteral("Importo_Ricevuta")).value<Currency>();
    }

    // Quantity of the row of a menu item in the open sale (0 when none).
    double QuantityOf(OpenSale& sale, const char* name)
    {
        auto rows = sale.RowsData();
        if (!rows->FindFirst(QStringLiteral("OID_Menu = %1").arg(item.at(name))))
            return 0;
        return rows->GetValue(QStringLiteral("Quantità")).toDouble();
    }

    RestaurantArchive archive;
    QTemporaryDir dir;
    ScopedSettingsFile store{dir.filePath(QStringLiteral("Mensora.ini"))};
    ScriptedDialogs dialogs;
    ScopedDialogService useDialogs{dialogs};
    std::map<std::string, qint64> item;
};
