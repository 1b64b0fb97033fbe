// The records related to a record of the restaurant's archive: the captions
// of the three groups, the numbering across a chain of opened data objects,
// and the records each relation opens.

#include "RestaurantArchive.h"

#include "component/ComponentErrors.h"
#include "component/Exception.h"
#include "component/RelatedItems.h"
#include "support/QtPrinting.h"

#include <gtest/gtest.h>

namespace {

using Group = RelatedItem::Group;

QStringList Captions(const DataObject& data, Group group)
{
    QStringList captions;
    for (const RelatedItem& item : RelatedItems::Of(data, group))
        captions.append(item.caption);
    return captions;
}

TEST(RelatedItems, ContainerCaptionsAgreeWithTheLinkingField)
{
    EXPECT_EQ(RelatedItems::AgreementPhrase(QStringLiteral("Portata"), false), QStringLiteral(" con stessa "));
    EXPECT_EQ(RelatedItems::AgreementPhrase(QStringLiteral("Cliente"), false), QStringLiteral(" con stesso "));
    EXPECT_EQ(RelatedItems::AgreementPhrase(QStringLiteral("Righe"), true), QStringLiteral(" con stesse "));
    EXPECT_EQ(RelatedItems::AgreementPhrase(QStringLiteral("Tavoli"), false), QStringLiteral(" con stessi "));
    EXPECT_EQ(RelatedItems::AgreementPhrase(QString::fromUtf8("Lunedì"), false), QStringLiteral(" con stessi "));
    EXPECT_EQ(RelatedItems::AgreementPhrase(QString::fromUtf8("Città"), false), QStringLiteral(" con stessa "));
    EXPECT_EQ(RelatedItems::AgreementPhrase(QStringLiteral("Tipo"), true), QStringLiteral(" con stesso "));

    RestaurantArchive archive;
    auto courses = archive.Table(QStringLiteral("Portate"));
    EXPECT_EQ(Captions(*courses, Group::Container),
              (QStringList{QString::fromUtf8("Menù con stessa Portata"), QStringLiteral("Righe Ricevute con stessa Portata")}));
    auto customers = archive.Table(QStringLiteral("Clienti"));
    EXPECT_EQ(Captions(*customers, Group::Container),
              (QStringList{QStringLiteral("Pagamenti del Cliente con stesso Cliente"), QStringLiteral("Ricevute con stesso Cliente")}))
        << "in the order the tables are defined";
    auto rows = archive.Table(QStringLiteral("RigheRicevute"));
    EXPECT_EQ(Captions(*rows, Group::Container), QStringList{QStringLiteral("Ricevute con stesse Righe")});
    EXPECT_EQ(Captions(*rows, Group::Associated), QStringList{QStringLiteral("Portata")});
    EXPECT_EQ(Captions(*rows, Group::Referred), QStringList{QStringLiteral("Tipi Portate (Portata)")});
}

class RelatedRecords : public ::testing::Test
{
protected:
    void SetUp() override
    {
        archive.Table(QStringLiteral("Clienti"))->AddRecord({QStringLiteral("Ragione_Sociale"), QStringLiteral("Rossi")});
        receipts = archive.Table(QStringLiteral("Ricevute"));
        for (int i = 0; i < 2; ++i)
            receipts->AddRecord({QStringLiteral("Cliente"), QStringLiteral("Rossi"), QStringLiteral("TipoDocumento"),
                                 QStringLiteral("Ricevuta fiscale")});
        receipts->AddRecord({QStringLiteral("Cliente"), QStringLiteral("Cliente generico"), QStringLiteral("TipoDocumento"),
                             QStringLiteral("Ricevuta fiscale")});
        auto cover = archive.Table(QStringLiteral("Menu"), QStringLiteral("Nome = 'Coperto'"));
        cover->MoveFirst();
        rows = receipts->OpenReference(QStringLiteral("Righe"));
        rows->AddRecord({QStringLiteral("OID_Menu"), cover->ValueAt(0), QStringLiteral("Quantità"), 3});
        rows->MoveFirst();
    }

    RestaurantArchive archive;
    std::shared_ptr<DataObject> receipts;
    std::shared_ptr<DataObject> rows;
};

TEST_F(RelatedRecords, TheRowsOfAReceiptNumberTheirRelationsBeforeTheReceiptsOnes)
{
    ASSERT_EQ(RelatedItems::Chain(rows), (QList<std::shared_ptr<DataObject>>{rows, receipts}));
    // The row's own referred table, then the receipt's four.
    const auto own = RelatedItems::Resolve(rows, Group::Referred, 1);
    ASSERT_TRUE(own);
    EXPECT_EQ(own->object, rows);
    const auto parents = RelatedItems::Resolve(rows, Group::Referred, 3);
    ASSERT_TRUE(parents);
    EXPECT_EQ(parents->object, receipts);
    EXPECT_EQ(parents->item.caption, QStringLiteral("Clienti (Cliente)"));
    EXPECT_FALSE(RelatedItems::Resolve(rows, Group::Referred, 6));
    EXPECT_FALSE(RelatedItems::Resolve(rows, Group::Referred, 0));

    // Choosing it opens the receipt's customer, with the receipt as parent.
    const auto customer = RelatedItems::Open(parents->object, parents->item);
    EXPECT_EQ(customer->RecordCount(), 1);
    EXPECT_EQ(customer->GetValue(QStringLiteral("Ragione_Sociale")).toString(), QStringLiteral("Cliente generico"));
    EXPECT_EQ(customer->Parent(), receipts);

    // The row's container is its receipt.
    const auto container = RelatedItems::Resolve(rows, Group::Container, 1);
    ASSERT_TRUE(container);
    const auto owner = RelatedItems::Open(container->object, container->item);
    ASSERT_EQ(owner->RecordCount(), 1);
    EXPECT_EQ(owner->ValueAt(0), receipts->ValueAt(0));
}

TEST_F(RelatedRecords, ACustomersReceiptsAndAReceiptsRows)
{
    auto customers = archive.Table(QStringLiteral("Clienti"), QStringLiteral("Ragione_Sociale = 'Rossi'"));
    customers->MoveFirst();
    const auto theirs = RelatedItems::Resolve(customers, Group::Container, 2);
    ASSERT_TRUE(theirs);
    ASSERT_EQ(theirs->item.caption, QStringLiteral("Ricevute con stesso Cliente"));
    EXPECT_EQ(RelatedItems::Open(customers, theirs->item)->RecordCount(), 2);

    const auto lines = RelatedItems::Resolve(receipts, Group::Associated, 3);
    ASSERT_TRUE(lines);
    EXPECT_EQ(lines->item.caption, QStringLiteral("Righe"));
    EXPECT_TRUE(lines->item.collection);
    EXPECT_EQ(RelatedItems::Open(receipts, lines->item)->RecordCount(), 1);

    // A receipt's empty payment reference opens no record, without failing.
    const auto payment = RelatedItems::Resolve(receipts, Group::Referred, 4);
    ASSERT_TRUE(payment);
    EXPECT_EQ(RelatedItems::Open(receipts, payment->item)->RecordCount(), 0);
}

TEST_F(RelatedRecords, NoNavigationWhileEditingOrWithoutACurrentRecord)
{
    EXPECT_TRUE(RelatedItems::NavigationAllowed(*receipts));
    receipts->SetValue(QStringLiteral("Note"), QStringLiteral("in modifica"));
    EXPECT_FALSE(RelatedItems::NavigationAllowed(*receipts));
    receipts->CancelUpdate();
    auto none = archive.Table(QStringLiteral("Ricevute"), QStringLiteral("Numero = -1"));
    EXPECT_FALSE(RelatedItems::NavigationAllowed(*none));
    try {
        RelatedItems::Open(none, RelatedItems::Of(*none, Group::Referred).first());
        ADD_FAILURE() << "opened the relations of no record";
    } catch (const Exception& error) {
        EXPECT_EQ(error.Number(), ComponentError::NoCurrentRecord);
    }
}

} // namespace
