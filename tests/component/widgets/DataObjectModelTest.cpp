// The grid model over a data object: columns, captions, Italian display
// texts, hidden fields and sequences, conversion columns, resets when the
// data object reads its set again, and read failures that reach the caller.

#include "DataObjectModelTestArchive.h"

#include "component/ComponentErrors.h"
#include "component/Currency.h"
#include "component/CurrencyObject.h"
#include "component/widgets/DataObjectModel.h"

#include <QAbstractItemModelTester>
#include <QDateTime>
#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

// Fails the test on any complaint of the model tester.
class ModelTesterWarnings
{
public:
    ModelTesterWarnings() { s_messages.clear(); m_previous = qInstallMessageHandler(&Handler); }
    ~ModelTesterWarnings() { qInstallMessageHandler(m_previous); }
    static QStringList& Messages() { return s_messages; }

private:
    static void Handler(QtMsgType, const QMessageLogContext& context, const QString& message)
    {
        if (context.category && QLatin1String(context.category) == QLatin1String("qt.modeltest"))
            s_messages.append(message);
    }
    static inline QStringList s_messages;
    QtMessageHandler m_previous = nullptr;
};

QStringList Headers(const DataObjectModel& model)
{
    QStringList headers;
    for (int c = 0; c < model.columnCount(); ++c)
        headers.append(model.headerData(c, Qt::Horizontal).toString());
    return headers;
}

QString Text(const DataObjectModel& model, int row, const QString& field)
{
    return model.data(model.index(row, model.ColumnOfField(field))).toString();
}

class ModelTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        auto categories = archive.Open(QStringLiteral("Categorie"));
        categories->AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Primi")});
        categories->AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Dolci")});
        auto dishes = archive.Open(QStringLiteral("Piatti"));
        dishes->AddRecord({QStringLiteral("Nome"), QStringLiteral("Lasagne"), QStringLiteral("Prezzo"),
                           QVariant::fromValue(Currency::FromUnits(12345000)), QStringLiteral("Ultima_Data"),
                           QDateTime(QDate(2026, 3, 5), QTime(0, 0)), QStringLiteral("Porzioni"), 12,
                           QStringLiteral("Peso"), 0.25, QStringLiteral("Disponibile"), true, QStringLiteral("Codice"),
                           QStringLiteral("L1"), QStringLiteral("Categoria"), QStringLiteral("Primi")});
        dishes->AddRecord({QStringLiteral("Nome"), QStringLiteral("Tiramisù"), QStringLiteral("Prezzo"),
                           QVariant::fromValue(Currency::FromUnits(45000)), QStringLiteral("Disponibile"), false,
                           QStringLiteral("Categoria"), QStringLiteral("Dolci")});
        dishes->AddRecord({QStringLiteral("Nome"), QStringLiteral("Acqua"), QStringLiteral("Ultima_Data"),
                           QDateTime(QDate(2025, 12, 31), QTime(20, 15, 0))});
    }

    GridTest::Archive archive;
};

TEST_F(ModelTest, ShowsVisibleFieldsWithCaptionsAndItalianTexts)
{
    ModelTesterWarnings warnings;
    DataObjectModel model(archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome")));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);

    // OID, the hidden code and the reference's key column are not shown.
    EXPECT_EQ(Headers(model), (QStringList{QStringLiteral("Nome"), QStringLiteral("Prezzo di vendita"),
                                           QStringLiteral("Ultima Data"), QStringLiteral("Porzioni"),
                                           QStringLiteral("Peso"), QStringLiteral("Disponibile"),
                                           QStringLiteral("Categoria")}));
    ASSERT_EQ(model.rowCount(), 3);
    // Rows in the data object's order: Acqua, Lasagne, Tiramisù.
    EXPECT_EQ(Text(model, 0, QStringLiteral("Nome")), QStringLiteral("Acqua"));
    EXPECT_EQ(Text(model, 0, QStringLiteral("Ultima_Data")), QStringLiteral("31/12/2025 20:15:00"));
    EXPECT_EQ(Text(model, 0, QStringLiteral("Prezzo")), QString());
    EXPECT_EQ(Text(model, 1, QStringLiteral("Prezzo")), QStringLiteral("1.234,50"));
    EXPECT_EQ(Text(model, 1, QStringLiteral("Ultima_Data")), QStringLiteral("05/03/2026"));
    EXPECT_EQ(Text(model, 1, QStringLiteral("Porzioni")), QStringLiteral("12"));
    EXPECT_EQ(Text(model, 1, QStringLiteral("Peso")), QStringLiteral("0,25"));
    EXPECT_EQ(Text(model, 1, QStringLiteral("Categoria")), QStringLiteral("Primi"));
    EXPECT_EQ(Text(model, 2, QStringLiteral("Prezzo")), QStringLiteral("4,50"));
    EXPECT_EQ(Text(model, 2, QStringLiteral("Categoria")), QStringLiteral("Dolci"));

    const QModelIndex price = model.index(1, model.ColumnOfField(QStringLiteral("Prezzo")));
    EXPECT_EQ(price.data(Qt::EditRole).value<Currency>(), Currency::FromUnits(12345000));
    EXPECT_EQ(price.data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_FALSE(model.index(1, 0).data(Qt::TextAlignmentRole).isValid());
    EXPECT_FALSE(price.flags() & Qt::ItemIsEditable);

    // Yes/no fields are a read-only check box without text.
    const int available = model.ColumnOfField(QStringLiteral("Disponibile"));
    EXPECT_EQ(model.index(1, available).data(Qt::CheckStateRole).toInt(), int(Qt::Checked));
    EXPECT_EQ(model.index(2, available).data(Qt::CheckStateRole).toInt(), int(Qt::Unchecked));
    EXPECT_FALSE(model.index(1, available).data(Qt::DisplayRole).isValid());
    EXPECT_FALSE(model.index(1, available).flags() & Qt::ItemIsUserCheckable);
    EXPECT_FALSE(price.data(Qt::CheckStateRole).isValid());

    EXPECT_TRUE(warnings.Messages().isEmpty()) << warnings.Messages().join(u'\n').toStdString();
}

TEST_F(ModelTest, HiddenColumnsAndFieldSequenceChooseTheColumns)
{
    DataObjectModel model(archive.Open(QStringLiteral("Piatti")));
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);

    model.SetHiddenColumns({QStringLiteral("oid"), QStringLiteral("ULTIMA_DATA"), QStringLiteral("Peso")});
    EXPECT_EQ(Headers(model), (QStringList{QStringLiteral("Nome"), QStringLiteral("Prezzo di vendita"),
                                           QStringLiteral("Porzioni"), QStringLiteral("Disponibile"),
                                           QStringLiteral("Categoria")}));
    EXPECT_EQ(model.ColumnOfField(QStringLiteral("Peso")), -1);
    EXPECT_EQ(resets.count(), 1);

    // A sequence gives exactly its fields in its order; unknown names and
    // repeats are skipped, a field hidden by default may be asked for, and
    // the hidden list still applies.
    model.SetFieldSequence({QStringLiteral("Categoria"), QStringLiteral("Codice"), QStringLiteral("Sparito"),
                            QStringLiteral(" nome "), QStringLiteral("Peso"), QStringLiteral("Categoria")});
    EXPECT_EQ(Headers(model), (QStringList{QStringLiteral("Categoria"), QStringLiteral("Codice"), QStringLiteral("Nome")}));
    EXPECT_EQ(model.FieldNameOfColumn(0), QStringLiteral("Categoria"));
    EXPECT_EQ(model.FieldNameOfColumn(2), QStringLiteral("Nome"));
    EXPECT_EQ(model.FieldIndexOfColumn(2), model.GetDataObject()->FieldIndex(QStringLiteral("Nome")));
    EXPECT_EQ(model.ColumnOfField(QStringLiteral("Nome")), 2);
    EXPECT_EQ(model.FieldNameOfColumn(3), QString());
    EXPECT_EQ(model.FieldIndexOfColumn(-1), -1);

    model.SetFieldSequence({});
    model.SetHiddenColumns({});
    EXPECT_EQ(model.columnCount(), 7);
}

TEST_F(ModelTest, ConversionColumnFollowsEachCurrencyColumn)
{
    // The flag alone adds nothing while the archive has no conversion currency.
    DataObjectModel plain(archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome"), true));
    EXPECT_EQ(plain.columnCount(), 7);

    archive.database->SetConversionCurrency(std::make_shared<ConversionCurrencyForEuro>());
    DataObjectModel unconverted(archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome")));
    EXPECT_EQ(unconverted.columnCount(), 7);

    ModelTesterWarnings warnings;
    DataObjectModel model(archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome"), true));
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    ASSERT_EQ(model.columnCount(), 8);
    const int price = model.ColumnOfField(QStringLiteral("Prezzo"));
    const int converted = price + 1;
    EXPECT_EQ(model.headerData(converted, Qt::Horizontal).toString(), QStringLiteral("Prezzo di vendita (Lire)"));
    EXPECT_TRUE(model.IsConversionColumn(converted));
    EXPECT_FALSE(model.IsConversionColumn(price));
    EXPECT_EQ(model.FieldNameOfColumn(converted), QStringLiteral("Prezzo"));
    EXPECT_EQ(model.headerData(converted + 1, Qt::Horizontal).toString(), QStringLiteral("Ultima Data"));

    // 1.234,50 euro × 1936,27 = 2.390.325,315 lire, shown without decimals.
    EXPECT_EQ(model.index(1, converted).data().toString(), QStringLiteral("2.390.325"));
    EXPECT_EQ(model.index(1, converted).data(Qt::EditRole).value<Currency>(),
              Currency::FromUnits(12345000).MulExact(Currency::FromUnits(19362700)));
    EXPECT_EQ(model.index(1, price).data().toString(), QStringLiteral("1.234,50"));
    EXPECT_EQ(model.index(0, converted).data().toString(), QString()); // no price, no conversion
    EXPECT_EQ(model.index(1, converted).data(Qt::TextAlignmentRole).toInt(), int(Qt::AlignRight | Qt::AlignVCenter));
    EXPECT_FALSE(model.index(1, converted).flags() & Qt::ItemIsEditable);

    // Hiding the amount hides its conversion too.
    model.SetHiddenColumns({QStringLiteral("Prezzo")});
    EXPECT_EQ(model.columnCount(), 6);
    EXPECT_TRUE(warnings.Messages().isEmpty()) << warnings.Messages().join(u'\n').toStdString();
}

TEST_F(ModelTest, ResetsWhenTheDataObjectReadsItsSetAgain)
{
    ModelTesterWarnings warnings;
    auto dishes = archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome"));
    DataObjectModel model(dishes);
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    QSignalSpy aboutToReset(&model, &QAbstractItemModel::modelAboutToBeReset);
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);

    dishes->SetFilter(QStringLiteral("Nome Like 'L*'"));
    EXPECT_EQ(aboutToReset.count(), 1);
    EXPECT_EQ(resets.count(), 1);
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_EQ(Text(model, 0, QStringLiteral("Nome")), QStringLiteral("Lasagne"));

    dishes->SetFilter({});
    dishes->SetSort(QStringLiteral("Nome DESC"));
    EXPECT_EQ(resets.count(), 3);
    EXPECT_EQ(Text(model, 0, QStringLiteral("Nome")), QStringLiteral("Tiramisù"));

    // Rows added elsewhere appear at the caller's Refresh (or a requery).
    archive.InsertDishes(5);
    EXPECT_EQ(model.rowCount(), 3);
    model.Refresh();
    EXPECT_EQ(model.rowCount(), 8);
    dishes->AddRecord({QStringLiteral("Nome"), QStringLiteral("Zuppa")});
    dishes->Requery();
    EXPECT_EQ(model.rowCount(), 9);
    EXPECT_EQ(Text(model, 0, QStringLiteral("Nome")), QStringLiteral("Zuppa"));
    EXPECT_TRUE(warnings.Messages().isEmpty()) << warnings.Messages().join(u'\n').toStdString();
}

TEST_F(ModelTest, ReplacingOrDroppingTheDataObject)
{
    ModelTesterWarnings warnings;
    auto dishes = archive.Open(QStringLiteral("Piatti"));
    DataObjectModel model;
    QAbstractItemModelTester tester(&model, QAbstractItemModelTester::FailureReportingMode::Warning);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 0);
    EXPECT_EQ(model.RowOfCurrentRecord(), -1);
    EXPECT_FALSE(model.MoveToRow(0));

    model.SetDataObject(dishes);
    EXPECT_EQ(model.rowCount(), 3);
    // Views read the old columns while the reset begins.
    QStringList before;
    QObject::connect(&model, &QAbstractItemModel::modelAboutToBeReset, &model, [&] { before = Headers(model); });
    model.SetDataObject(archive.Open(QStringLiteral("Categorie")));
    EXPECT_EQ(before.size(), 7);
    EXPECT_EQ(Headers(model), QStringList{QStringLiteral("Descrizione")});
    EXPECT_EQ(model.rowCount(), 2);

    // The replaced data object no longer reaches the model.
    QSignalSpy resets(&model, &QAbstractItemModel::modelReset);
    QSignalSpy moves(&model, &DataObjectModel::CurrentRecordChanged);
    dishes->SetFilter(QStringLiteral("Nome = 'Acqua'"));
    dishes->MoveLast();
    EXPECT_EQ(resets.count(), 0);
    EXPECT_EQ(moves.count(), 0);

    model.SetDataObject(nullptr);
    EXPECT_EQ(model.rowCount(), 0);
    EXPECT_EQ(model.columnCount(), 0);
    EXPECT_FALSE(model.data(model.index(0, 0)).isValid());
    EXPECT_TRUE(warnings.Messages().isEmpty()) << warnings.Messages().join(u'\n').toStdString();
}

TEST_F(ModelTest, RowsAreBookmarksOfTheCurrentRecord)
{
    auto dishes = archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome"));
    DataObjectModel model(dishes);
    QSignalSpy moves(&model, &DataObjectModel::CurrentRecordChanged);

    EXPECT_TRUE(model.MoveToRow(2));
    EXPECT_EQ(dishes->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Tiramisù"));
    EXPECT_EQ(model.RowOfCurrentRecord(), 2);
    EXPECT_GE(moves.count(), 1);
    EXPECT_FALSE(model.MoveToRow(3));
    EXPECT_FALSE(model.MoveToRow(-1));

    ASSERT_TRUE(dishes->FindFirst(QStringLiteral("Nome = 'Lasagne'")));
    EXPECT_EQ(model.RowOfCurrentRecord(), 1);
    dishes->MoveLast();
    dishes->MoveNext();
    EXPECT_EQ(model.RowOfCurrentRecord(), -1); // past the last record
}

TEST_F(ModelTest, ReadFailureIsReportedOnceAndShowsNoRows)
{
    auto dishes = archive.Open(QStringLiteral("Piatti"));
    DataObjectModel model(dishes);
    QSignalSpy failures(&model, &DataObjectModel::ReadFailed);
    ASSERT_EQ(model.rowCount(), 3);

    // The table vanishes under the data object (another session, a damaged file).
    archive.engine->Db().Exec(QStringLiteral("DROP TABLE \"Piatti\""));
    archive.engine->Refresh();
    EXPECT_FALSE(model.data(model.index(0, 0)).isValid());
    EXPECT_FALSE(model.data(model.index(1, 0)).isValid());
    EXPECT_EQ(failures.count(), 0); // not from inside the call that met it
    QCoreApplication::processEvents();
    ASSERT_EQ(failures.count(), 1);
    EXPECT_EQ(failures.first().at(0).toInt(), ComponentError::Sql);
    EXPECT_FALSE(failures.first().at(1).toString().isEmpty());

    model.Refresh();
    EXPECT_EQ(model.rowCount(), 0);
    QCoreApplication::processEvents();
    EXPECT_EQ(failures.count(), 2);
}

} // namespace
