// Fiscal year, numbering per document type and year, row amounts and the
// receipt total, whichever object edits them; unique keys refused whole.

#include "RestaurantArchive.h"

#include "component/ComponentErrors.h"
#include "component/Currency.h"
#include "support/Money.h"
#include "component/Exception.h"

#include <QDateTime>
#include <gtest/gtest.h>

namespace {

class ReceiptRules : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto menu = archive.Table(QStringLiteral("Menu"));
        menu->AddRecord({QStringLiteral("Nome"), QStringLiteral("Lasagne"), QStringLiteral("Prezzo"), 10,
                         QStringLiteral("Portata"), QStringLiteral("PRIMI")});
        lasagne = menu->ValueAt(0);
        menu->AddRecord({QStringLiteral("Nome"), QStringLiteral("Vino"), QStringLiteral("Prezzo"), QStringLiteral("5,50"),
                         QStringLiteral("Portata"), QStringLiteral("VARIE")});
        wine = menu->ValueAt(0);
        receipts = archive.Table(QStringLiteral("Ricevute"));
    }

    std::shared_ptr<DataObject> NewReceipt(const QString& type, const QDateTime& date)
    {
        receipts->AddRecord({QStringLiteral("Cliente"), QStringLiteral("Cliente generico"), QStringLiteral("Data"), date,
                             QStringLiteral("TipoDocumento"), type});
        return receipts;
    }

    RestaurantArchive archive;
    std::shared_ptr<DataObject> receipts;
    QVariant lasagne;
    QVariant wine;
};

TEST_F(ReceiptRules, NewReceiptHasDefaultsAndNoNumberUntilItHasAType)
{
    receipts->AddNew();
    EXPECT_EQ(receipts->GetValue(QStringLiteral("Importo_Ricevuta")).value<Currency>(), Currency());
    EXPECT_EQ(receipts->GetValue(QStringLiteral("Note")).toString(), QString());
    EXPECT_LE(receipts->GetValue(QStringLiteral("Data")).toDateTime().secsTo(QDateTime::currentDateTime()), 5);
    EXPECT_EQ(receipts->GetValue(QStringLiteral("AnnoFiscale")).toLongLong(), QDate::currentDate().year());
    EXPECT_FALSE(receipts->GetValue(QStringLiteral("Numero")).isValid());
    receipts->SetValue(QStringLiteral("TipoDocumento"), QStringLiteral("Preconto"));
    EXPECT_EQ(receipts->GetValue(QStringLiteral("Numero")).toLongLong(), 1);
    receipts->SaveRecord();
}

TEST_F(ReceiptRules, NumbersRunPerDocumentTypeAndFiscalYear)
{
    const QDateTime march(QDate(2026, 3, 10), QTime(20, 15));
    EXPECT_EQ(NewReceipt(QStringLiteral("Ricevuta fiscale"), march)->GetValue(QStringLiteral("Numero")).toLongLong(), 1);
    EXPECT_EQ(NewReceipt(QStringLiteral("Ricevuta fiscale"), march)->GetValue(QStringLiteral("Numero")).toLongLong(), 2);
    EXPECT_EQ(NewReceipt(QStringLiteral("Fattura"), march)->GetValue(QStringLiteral("Numero")).toLongLong(), 1);
    EXPECT_EQ(NewReceipt(QStringLiteral("Ricevuta fiscale"), march.addYears(-1))->GetValue(QStringLiteral("Numero")).toLongLong(), 1);

    // Changing the type renumbers within the new type.
    receipts->SetValue(QStringLiteral("TipoDocumento"), QStringLiteral("Fattura"));
    receipts->SaveRecord();
    EXPECT_EQ(receipts->GetValue(QStringLiteral("Numero")).toLongLong(), 1);
    EXPECT_EQ(receipts->GetValue(QStringLiteral("AnnoFiscale")).toLongLong(), 2025);

    // Deleting the highest number makes it the next one given.
    auto last = archive.Table(QStringLiteral("Ricevute"), QStringLiteral("Numero = 2 AND AnnoFiscale = 2026"));
    last->DeleteRecord();
    EXPECT_EQ(NewReceipt(QStringLiteral("Ricevuta fiscale"), march)->GetValue(QStringLiteral("Numero")).toLongLong(), 2);
}

TEST_F(ReceiptRules, NewYearRenumbersAndADateInTheSameYearDoesNot)
{
    NewReceipt(QStringLiteral("Ricevuta fiscale"), QDateTime(QDate(2027, 1, 5), QTime(12, 0)));
    NewReceipt(QStringLiteral("Ricevuta fiscale"), QDateTime(QDate(2026, 12, 30), QTime(12, 0)));
    auto receipt = NewReceipt(QStringLiteral("Ricevuta fiscale"), QDateTime(QDate(2026, 12, 31), QTime(23, 50)));
    EXPECT_EQ(receipt->GetValue(QStringLiteral("Numero")).toLongLong(), 2);

    receipt->SetValue(QStringLiteral("Data"), QDateTime(QDate(2026, 12, 20), QTime(9, 0)));
    EXPECT_EQ(receipt->GetValue(QStringLiteral("Numero")).toLongLong(), 2) << "same year, same number";

    receipt->SetValue(QStringLiteral("Data"), QDateTime(QDate(2027, 1, 1), QTime(0, 10)));
    receipt->SaveRecord();
    EXPECT_EQ(receipt->GetValue(QStringLiteral("AnnoFiscale")).toLongLong(), 2027);
    EXPECT_EQ(receipt->GetValue(QStringLiteral("Numero")).toLongLong(), 2);
}

TEST_F(ReceiptRules, RowAmountsAndTotalFollowTheRows)
{
    auto receipt = NewReceipt(QStringLiteral("Ricevuta fiscale"), QDateTime::currentDateTime());
    auto rows = receipt->OpenReference(QStringLiteral("Righe"), QStringLiteral("RigheRicevute.OID"));
    rows->AddRecord({QStringLiteral("OID_Menu"), lasagne});
    const QVariant first = rows->ValueAt(0);
    EXPECT_EQ(rows->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Lasagne"));
    EXPECT_EQ(rows->GetValue(QStringLiteral("Portata")).toString(), QStringLiteral("PRIMI"));
    rows->AddRecord({QStringLiteral("OID_Menu"), wine});
    const QVariant second = rows->ValueAt(0);
    EXPECT_EQ(receipt->GetValue(QStringLiteral("Importo_Ricevuta")).value<Currency>(), Money("15.50"));

    ASSERT_TRUE(rows->FindKey(first));
    rows->SetValue(QStringLiteral("Quantità"), 2);
    rows->SaveRecord();
    EXPECT_EQ(receipt->GetValue(QStringLiteral("Importo_Ricevuta")).value<Currency>(), Money("25.50"));

    receipt->SetReference(QStringLiteral("Righe"), second, true);
    EXPECT_EQ(receipt->GetValue(QStringLiteral("Importo_Ricevuta")).value<Currency>(), Money("20"));
    EXPECT_EQ(rows->RecordCount(), 1);
}

TEST_F(ReceiptRules, RowAmountIsPriceTimesQuantityUnlessThePriceIsZero)
{
    auto receipt = NewReceipt(QStringLiteral("Preconto"), QDateTime::currentDateTime());
    auto rows = receipt->OpenReference(QStringLiteral("Righe"));
    rows->AddRecord({QStringLiteral("OID_Menu"), lasagne});
    rows->SetValue(QStringLiteral("Prezzo"), 4);
    rows->SetValue(QStringLiteral("Quantità"), 2.5);
    rows->SaveRecord();
    EXPECT_EQ(rows->GetValue(QStringLiteral("Importo_Riga")).value<Currency>(), Money("10"));

    rows->SetValue(QStringLiteral("Prezzo"), 0);
    rows->SetValue(QStringLiteral("Quantità"), 7);
    rows->SaveRecord();
    EXPECT_EQ(rows->GetValue(QStringLiteral("Importo_Riga")).value<Currency>(), Money("10")) << "a price of 0 keeps the amount";
    EXPECT_EQ(receipt->GetValue(QStringLiteral("Importo_Ricevuta")).value<Currency>(), Money("10"));

    // A row edited through the archive's own view keeps the receipt right too.
    auto anyRow = archive.Table(QStringLiteral("RigheRicevute"));
    anyRow->SetValue(QStringLiteral("Prezzo"), QStringLiteral("1,15"));
    anyRow->SetValue(QStringLiteral("Quantità"), 3);
    anyRow->SaveRecord();
    receipt->Requery();
    EXPECT_EQ(receipt->GetValue(QStringLiteral("Importo_Ricevuta")).value<Currency>(), Money("3.45"));
}

TEST_F(ReceiptRules, DeletingAReceiptDeletesItsRowsAndPayments)
{
    auto receipt = NewReceipt(QStringLiteral("Ricevuta fiscale"), QDateTime::currentDateTime());
    receipt->OpenReference(QStringLiteral("Righe"))->AddRecord({QStringLiteral("OID_Menu"), wine});
    auto payments = archive.Table(QStringLiteral("PagamentiCliente"));
    payments->AddRecord({QStringLiteral("Importo"), receipt->GetValue(QStringLiteral("Importo_Ricevuta")),
                         QStringLiteral("Cliente"), QStringLiteral("Cliente generico"), QStringLiteral("Pagamento"),
                         QStringLiteral("Contanti")});
    receipt->SetReference(QStringLiteral("Pagamento"), payments->ValueAt(0));
    receipt->SaveRecord();
    receipt->DeleteRecord();
    EXPECT_EQ(archive.Table(QStringLiteral("RigheRicevute"))->RecordCount(), 0);
    EXPECT_EQ(archive.Table(QStringLiteral("PagamentiCliente"))->RecordCount(), 0);
}

TEST_F(ReceiptRules, DuplicatesAreRefusedWholeByTheUniqueIndexes)
{
    auto expectDuplicate = [](const std::function<void()>& action) {
        try {
            action();
            ADD_FAILURE() << "a duplicate was accepted";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Number(), ComponentError::Duplicate) << e.Description().toStdString();
        }
    };
    auto courses = archive.Table(QStringLiteral("Portate"));
    expectDuplicate([&] { courses->AddRecord({QStringLiteral("Descrizione"), QStringLiteral("primi")}); });
    EXPECT_EQ(courses->RecordCount(), 4);
    auto types = archive.Table(QStringLiteral("TipiPagamento"));
    expectDuplicate([&] { types->AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Contanti")}); });
    auto documents = archive.Table(QStringLiteral("TipiDocumento"));
    expectDuplicate([&] { documents->AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Preconto")}); });

    auto customers = archive.Table(QStringLiteral("Clienti"));
    customers->AddRecord({QStringLiteral("Ragione_Sociale"), QStringLiteral("Cliente generico")});
    EXPECT_EQ(customers->RecordCount(), 2) << "two customers may share a name";
    EXPECT_FALSE(customers->GetValue(QStringLiteral("Telefono")).isNull());

    auto payments = archive.Table(QStringLiteral("PagamentiCliente"));
    const QDateTime when(QDate(2026, 5, 1), QTime(13, 0));
    payments->AddRecord({QStringLiteral("DataPagamento"), when, QStringLiteral("Importo"), 12, QStringLiteral("Cliente"),
                         QStringLiteral("Cliente generico"), QStringLiteral("Pagamento"), QStringLiteral("Contanti")});
    expectDuplicate([&] {
        payments->AddRecord({QStringLiteral("DataPagamento"), when, QStringLiteral("Importo"), 12, QStringLiteral("Cliente"),
                             payments->GetValue(QStringLiteral("OID_Cliente")), QStringLiteral("Pagamento"),
                             QStringLiteral("Assegno")});
    });
    EXPECT_EQ(payments->RecordCount(), 1);

    // A renumbering that collides rolls back the receipt whole.
    const QDateTime day(QDate(2026, 6, 1), QTime(12, 0));
    NewReceipt(QStringLiteral("Fattura"), day);
    auto receipt = NewReceipt(QStringLiteral("Preconto"), day);
    receipt->SetValue(QStringLiteral("TipoDocumento"), QStringLiteral("Fattura"));
    receipt->SetValue(QStringLiteral("Numero"), 1);
    expectDuplicate([&] { receipt->SaveRecord(); });
    receipt->CancelUpdate();
    EXPECT_EQ(receipt->GetValue(QStringLiteral("TipoDocumento")).toString(), QStringLiteral("Preconto"));
}

TEST_F(ReceiptRules, NewRecordsGetTheirDefaults)
{
    auto documents = archive.Table(QStringLiteral("TipiDocumento"));
    documents->AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Scontrino")});
    EXPECT_EQ(documents->GetValue(QStringLiteral("Fattura")).toBool(), false);
    EXPECT_EQ(documents->GetValue(QStringLiteral("Ricevuta_Fiscale")).toBool(), false);

    auto customers = archive.Table(QStringLiteral("Clienti"));
    customers->AddNew();
    EXPECT_FALSE(customers->GetValue(QStringLiteral("Ragione_Sociale")).isValid());
    for (const char* column : {"Indirizzo", "CAP", "Comune", "Provincia", "Partita_Iva", "Telefono", "Fax", "Cellulare", "Note"})
        EXPECT_EQ(customers->GetValue(QString::fromLatin1(column)), QVariant(QString())) << column;
    customers->CancelUpdate();

    auto payments = archive.Table(QStringLiteral("PagamentiCliente"));
    payments->AddNew();
    EXPECT_LE(payments->GetValue(QStringLiteral("DataPagamento")).toDateTime().secsTo(QDateTime::currentDateTime()), 5);
    EXPECT_EQ(payments->GetValue(QStringLiteral("Note")).toString(), QString());
}

} // namespace
