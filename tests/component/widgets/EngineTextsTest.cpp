// The texts the engine's windows read and write: values typed the Italian
// way, order strings, the search criteria, the grid layout file and the
// fields a filter offers.
#include "EngineDialogsArchive.h"

#include "component/FieldText.h"
#include "component/FilterFields.h"
#include "component/GridLayout.h"
#include "component/OrderText.h"
#include "component/SelectionSearch.h"
#include "component/SqlDialect.h"
#include "support/QtPrinting.h"

#include <QFile>
#include <gtest/gtest.h>

TEST(FieldText, EditTextIsItalianWithoutGrouping)
{
    EXPECT_EQ(FieldText::EditText(QVariant::fromValue(Currency::FromUnits(12345000)), FieldType::Currency),
              QStringLiteral("1234,50"));
    EXPECT_EQ(FieldText::EditText(QVariant::fromValue(Currency::FromUnits(-5)), FieldType::Currency),
              QStringLiteral("0,00"));
    EXPECT_EQ(FieldText::EditText(QVariant(1234.25), FieldType::Double), QStringLiteral("1234,25"));
    EXPECT_EQ(FieldText::EditText(QVariant(3.0), FieldType::Double), QStringLiteral("3"));
    EXPECT_EQ(FieldText::EditText(QVariant(qint64(123456)), FieldType::Long), QStringLiteral("123456"));
    EXPECT_EQ(FieldText::EditText(QVariant(true), FieldType::Boolean), QStringLiteral("Sì"));
    EXPECT_EQ(FieldText::EditText(QVariant(QDateTime(QDate(2024, 3, 9), QTime(0, 0))), FieldType::Date),
              QStringLiteral("09/03/2024"));
    EXPECT_EQ(FieldText::EditText(QVariant(QDateTime(QDate(2024, 3, 9), QTime(20, 5))), FieldType::DateTime),
              QStringLiteral("09/03/2024 20:05:00"));
    EXPECT_EQ(FieldText::EditText(QVariant(), FieldType::Currency), QString());
}

TEST(FieldText, ParseTakesWhatACashierTypes)
{
    EXPECT_EQ(FieldText::Parse(QStringLiteral("1.234,5"), FieldType::Currency, 0, QStringLiteral("Prezzo")).value<Currency>(),
              Currency::FromUnits(12345000));
    EXPECT_EQ(FieldText::Parse(QStringLiteral(" 12,5 "), FieldType::Double, 0, QStringLiteral("Peso")).toDouble(), 12.5);
    EXPECT_EQ(FieldText::Parse(QStringLiteral("7"), FieldType::Long, 0, QStringLiteral("N")).toLongLong(), 7);
    EXPECT_EQ(FieldText::Parse(QStringLiteral("31/12/2023"), FieldType::Date, 0, QStringLiteral("Data")).toDateTime(),
              QDateTime(QDate(2023, 12, 31), QTime(0, 0)));
    // Empty is Null, except that a yes/no field is then No; a text keeps its blanks.
    EXPECT_FALSE(FieldText::Parse(QString(), FieldType::Text, 10, QStringLiteral("Nome")).isValid());
    EXPECT_FALSE(FieldText::Parse(QStringLiteral("  "), FieldType::Currency, 0, QStringLiteral("Prezzo")).isValid());
    EXPECT_EQ(FieldText::Parse(QStringLiteral("  "), FieldType::Text, 10, QStringLiteral("Nome")).toString(),
              QStringLiteral("  "));
    EXPECT_EQ(FieldText::Parse(QString(), FieldType::Boolean, 0, QStringLiteral("Disponibile")), QVariant(false));

    auto errorOf = [](const QString& text, int type, int size) {
        try {
            FieldText::Parse(text, type, size, QStringLiteral("Campo"));
        } catch (const Exception& e) {
            return e.Number();
        }
        return 0;
    };
    EXPECT_EQ(errorOf(QStringLiteral("dodici"), FieldType::Currency, 0), ComponentError::InvalidValue);
    EXPECT_EQ(errorOf(QStringLiteral("31/02/2023"), FieldType::Date, 0), ComponentError::InvalidValue);
    EXPECT_EQ(errorOf(QStringLiteral("troppo lungo"), FieldType::Text, 5), ComponentError::TextTooLong);
}

TEST(FieldText, NumbersAreReadAsTheGridShowsThemOrRefused)
{
    const auto amount = [](const char* text) {
        return FieldText::Parse(QString::fromUtf8(text), FieldType::Currency, 0, QStringLiteral("Prezzo")).value<Currency>();
    };
    // The point groups thousands, as the grid shows them; the comma is the decimal separator.
    EXPECT_EQ(amount("1.500"), Currency::FromUnits(15000000));
    EXPECT_EQ(amount("1.500,50"), Currency::FromUnits(15005000));
    EXPECT_EQ(amount("1.234.567,8"), Currency::FromUnits(12345678000));
    EXPECT_EQ(amount("-1.500"), Currency::FromUnits(-15000000));
    EXPECT_EQ(amount("1500,5"), Currency::FromUnits(15005000));
    EXPECT_EQ(amount(",5"), Currency::FromUnits(5000));
    // A point that groups nothing can only be a decimal point.
    EXPECT_EQ(amount("1.5"), Currency::FromUnits(15000));
    EXPECT_EQ(amount("12.50"), Currency::FromUnits(125000));
    EXPECT_EQ(amount("0.500"), Currency::FromUnits(5000));
    // Quantities alike.
    EXPECT_EQ(FieldText::Parse(QStringLiteral("1.500"), FieldType::Double, 0, QStringLiteral("Quantità")).toDouble(), 1500.0);
    EXPECT_EQ(FieldText::Parse(QStringLiteral("2,25"), FieldType::Double, 0, QStringLiteral("Quantità")).toDouble(), 2.25);
    EXPECT_EQ(FieldText::Parse(QStringLiteral("1.500"), FieldType::Long, 0, QStringLiteral("Coperti")).toLongLong(), 1500);
    EXPECT_EQ(FieldText::Parse(QStringLiteral("3,00"), FieldType::Long, 0, QStringLiteral("Coperti")).toLongLong(), 3);

    // Anything that could mean two numbers, and decimals in a whole number,
    // are refused with a message that says how to write it.
    for (const char* ambiguous : {"1.50,5", "1,500.50", "1.2.3", "1.500.5", "1,5,0", "1.5000,1", "0.500.000", ".", "-", "1 500"}) {
        try {
            FieldText::Parse(QString::fromUtf8(ambiguous), FieldType::Currency, 0, QStringLiteral("Prezzo"));
            ADD_FAILURE() << ambiguous << " was read as a number";
        } catch (const Exception& e) {
            EXPECT_EQ(e.Number(), ComponentError::InvalidValue);
            EXPECT_EQ(e.Description(), QStringLiteral("Valore non valido per il campo «Prezzo»: «%1» non è un importo. "
                                                      "Scrivere i decimali dopo la virgola e, se si vuole, il punto per "
                                                      "le migliaia: 1.500,50").arg(QString::fromUtf8(ambiguous)));
        }
    }
    EXPECT_THROW(FieldText::Parse(QStringLiteral("1,5"), FieldType::Long, 0, QStringLiteral("Coperti")), Exception)
        << "a whole number is not rounded";
}

TEST(OrderText, ParsesAndFormatsCombinedOrders)
{
    const QList<OrderText::Term> terms =
        OrderText::Parse(QStringLiteral(" Nome , Prezzo desc,[Ultima Data] DESC, Menu.Ordine_Menù ASC,,"));
    ASSERT_EQ(terms.size(), 4);
    EXPECT_EQ(terms[0].field, QStringLiteral("Nome"));
    EXPECT_FALSE(terms[0].descending);
    EXPECT_EQ(terms[1].field, QStringLiteral("Prezzo"));
    EXPECT_TRUE(terms[1].descending);
    EXPECT_EQ(terms[2].field, QStringLiteral("Ultima Data"));
    EXPECT_TRUE(terms[2].descending);
    EXPECT_EQ(terms[3].field, QStringLiteral("Menu.Ordine_Menù"));
    EXPECT_FALSE(terms[3].descending);

    EXPECT_EQ(OrderText::Format(terms.mid(0, 3)), QStringLiteral("Nome, Prezzo DESC, [Ultima Data] DESC"));
    // One ascending field says so, or a caller that toggles a plain name
    // would turn the user's ascending choice into descending.
    EXPECT_EQ(OrderText::Format({{QStringLiteral("Nome"), false}}), QStringLiteral("Nome ASC"));
    EXPECT_EQ(OrderText::Format({{QStringLiteral("Nome"), true}}), QStringLiteral("Nome DESC"));
    EXPECT_EQ(OrderText::Format({}), QString());

    EXPECT_TRUE(OrderText::Names(terms[3], QStringLiteral("Ordine_Menù"), QStringLiteral("menu")));
    EXPECT_FALSE(OrderText::Names(terms[3], QStringLiteral("Ordine_Menù"), QStringLiteral("Portate")));
    EXPECT_TRUE(OrderText::Names(terms[0], QStringLiteral("NOME"), QStringLiteral("Piatti")));
}

TEST(SelectionSearch, FindsThePrefixWithWildcardsTakenLiterally)
{
    DialogTest::Archive archive;
    auto dishes = archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome"));
    EXPECT_EQ(StartsWithCriteria(QStringLiteral("Nome"), QStringLiteral("it's")),
              QStringLiteral("[Nome] Like 'it''s*'"));
    ASSERT_TRUE(dishes->FindFirst(StartsWithCriteria(QStringLiteral("Nome"), QStringLiteral("pan"))));
    EXPECT_EQ(dishes->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Panna cotta"));
    ASSERT_TRUE(dishes->FindFirst(StartsWithCriteria(QStringLiteral("Nome"), QStringLiteral("Pasta 50%"))));
    EXPECT_EQ(dishes->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Pasta 50% <integrale>"));
    EXPECT_FALSE(dishes->FindFirst(StartsWithCriteria(QStringLiteral("Nome"), QStringLiteral("Pa*cotta"))));
    EXPECT_FALSE(dishes->FindFirst(StartsWithCriteria(QStringLiteral("Nome"), QStringLiteral("P?nna"))));
    // A reference searches its display value.
    ASSERT_TRUE(dishes->FindFirst(StartsWithCriteria(QStringLiteral("Categoria"), QStringLiteral("dol"))));
    EXPECT_EQ(dishes->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Panna cotta"));
}

TEST(GridLayout, KeepsOneSectionPerTableInTheFile)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Mensora.INI"));
    {
        GridLayout dishes(path, QStringLiteral("Piatti"));
        EXPECT_EQ(dishes.FieldSequence(), QString());
        EXPECT_EQ(dishes.FieldWidth(QStringLiteral("Nome")), 0);
        dishes.SetFieldSequence(QStringLiteral(" Nome, Prezzo ,,nome,Ordine_Menù"));
        EXPECT_EQ(dishes.FieldSequence(), QStringLiteral("Nome,Prezzo,Ordine_Menù"));
        dishes.SetFieldWidth(QStringLiteral("Nome"), 2880);
        dishes.SetFieldWidth(QStringLiteral("Ordine_Menù"), 900);
        dishes.Save();
        GridLayout rows(path, QStringLiteral("Righe"));
        rows.SetFieldWidth(QStringLiteral("Quantità"), 600);
        rows.Save();
    }
    GridLayout dishes(path, QStringLiteral("Piatti"));
    EXPECT_EQ(dishes.SequenceFields(), (QStringList{"Nome", "Prezzo", QStringLiteral("Ordine_Menù")}));
    EXPECT_EQ(dishes.FieldWidth(QStringLiteral("nome")), 2880);
    EXPECT_EQ(dishes.FieldWidth(QStringLiteral("Ordine_Menù")), 900);
    EXPECT_EQ(dishes.FieldWidths().size(), 2);

    // Reset and save clears this table's section and leaves the other one.
    dishes.Reset();
    dishes.Save();
    EXPECT_EQ(GridLayout(path, QStringLiteral("Piatti")).FieldSequence(), QString());
    EXPECT_EQ(GridLayout(path, QStringLiteral("Piatti")).FieldWidths().size(), 0);
    EXPECT_EQ(GridLayout(path, QStringLiteral("Righe")).FieldWidth(QStringLiteral("Quantità")), 600);

    // A width of 0 forgets the field's width.
    GridLayout rows(path, QStringLiteral("Righe"));
    rows.SetFieldWidth(QStringLiteral("Quantità"), 0);
    EXPECT_EQ(rows.FieldWidths().size(), 0);
}

TEST(GridLayout, AFileThatCannotBeWrittenIsAnError)
{
    QTemporaryDir dir;
    QFile blocker(dir.filePath(QStringLiteral("file")));
    ASSERT_TRUE(blocker.open(QIODevice::WriteOnly));
    blocker.close();
    const QString path = dir.filePath(QStringLiteral("file/Mensora.INI"));
    GridLayout layout(path, QStringLiteral("Piatti"));
    layout.SetFieldSequence(QStringLiteral("Nome"));
    try {
        layout.Save();
        FAIL() << "saved into a missing folder";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Number(), ComponentError::Io);
        EXPECT_TRUE(e.Description().contains(path));
    }
}

TEST(FilterFields, ColumnsThenReferencesWithTheirDisplayType)
{
    DialogTest::Archive archive;
    const QList<FilterField> fields = FilterFieldsOf(*archive.database, QStringLiteral("Righe"));
    QStringList names;
    for (const FilterField& f : fields)
        names << f.name;
    EXPECT_EQ(names, (QStringList{"Nome", "Prezzo", "Ultima_Data", "Porzioni", "Peso", "Disponibile", "Codice",
                                  QStringLiteral("Quantità"), "Importo", "Categoria"}));
    EXPECT_EQ(fields[1].caption, QStringLiteral("Prezzo di vendita"));
    EXPECT_EQ(fields[2].caption, QStringLiteral("Ultima Data"));
    EXPECT_EQ(fields.last().type, FieldType::Text);
    EXPECT_EQ(fields.last().size, 32);
    EXPECT_THROW(FilterFieldsOf(*archive.database, QStringLiteral("Assente")), Exception);
}
