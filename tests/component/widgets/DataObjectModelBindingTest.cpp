// The grid binding: the view's current row and the data object's current
// record following each other, column widths in twips, and a view over
// 100,000 records that reads only what it shows.

#include "DataObjectModelTestArchive.h"

#include "component/ComponentErrors.h"
#include "component/widgets/GridBinding.h"

#include <QApplication>
#include <QHeaderView>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableView>
#include <gtest/gtest.h>
#include <sqlite3.h>

namespace {

// Counts the statements SQLite starts and the rows it hands back on one connection.
class SqlReadCounter
{
public:
    explicit SqlReadCounter(sqlite3* db) : m_db(db)
    {
        sqlite3_trace_v2(m_db, SQLITE_TRACE_STMT | SQLITE_TRACE_ROW, &Callback, this);
    }
    ~SqlReadCounter() { sqlite3_trace_v2(m_db, 0, nullptr, nullptr); }
    SqlReadCounter(const SqlReadCounter&) = delete;
    SqlReadCounter& operator=(const SqlReadCounter&) = delete;

    int statements = 0;
    int rows = 0;

private:
    static int Callback(unsigned type, void* context, void*, void*)
    {
        auto* self = static_cast<SqlReadCounter*>(context);
        if (type == SQLITE_TRACE_STMT)
            ++self->statements;
        else if (type == SQLITE_TRACE_ROW)
            ++self->rows;
        return 0;
    }
    sqlite3* m_db;
};

void Paint(QTableView& view)
{
    QApplication::processEvents();
    (void)view.grab(); // paints every visible cell through the model
}

class BindingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        archive.InsertDishes(200);
        view.resize(640, 400);
    }

    GridTest::Archive archive;
    QTableView view;
};

TEST_F(BindingTest, CurrentRowAndCurrentRecordFollowEachOther)
{
    auto dishes = archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome"));
    GridBinding binding(&view);
    binding.SetDataObject(dishes);
    view.show();
    // Bound, the view starts on the data object's current record.
    EXPECT_EQ(view.currentIndex().row(), 0);

    // View → data object, at once.
    view.setCurrentIndex(binding.Model().index(5, 1));
    EXPECT_EQ(dishes->AbsolutePosition(), 5);
    EXPECT_EQ(dishes->GetValue(QStringLiteral("Nome")).toString(), QStringLiteral("Piatto 000006"));

    // Data object → view, once control returns to the event loop, keeping the column.
    dishes->MoveTo(120);
    dishes->MoveNext();
    EXPECT_EQ(view.currentIndex().row(), 5);
    QApplication::processEvents();
    EXPECT_EQ(view.currentIndex().row(), 121);
    EXPECT_EQ(view.currentIndex().column(), 1);
    EXPECT_TRUE(view.selectionModel()->isRowSelected(121, {}));
    EXPECT_EQ(view.selectionModel()->selectedRows().size(), 1);

    ASSERT_TRUE(dishes->FindKey(42));
    binding.FollowCurrentRecord();
    EXPECT_EQ(view.currentIndex().row(), 41);

    // A block of rows chosen for deleting stays selected while the record moves.
    view.selectionModel()->select(QItemSelection(binding.Model().index(2, 0), binding.Model().index(4, 0)),
                                  QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    dishes->MoveTo(3);
    binding.FollowCurrentRecord();
    EXPECT_EQ(view.currentIndex().row(), 3);
    EXPECT_EQ(view.selectionModel()->selectedRows().size(), 3);

    // After a filter the view is on the data object's new current record.
    dishes->SetFilter(QStringLiteral("Porzioni >= 150"));
    EXPECT_EQ(binding.Model().rowCount(), 51);
    EXPECT_EQ(view.currentIndex().row(), 0);
    EXPECT_EQ(dishes->GetValue(QStringLiteral("Porzioni")).toInt(), 150);

    // No current record: no current row.
    dishes->SetFilter(QStringLiteral("Porzioni > 1000"));
    EXPECT_FALSE(view.currentIndex().isValid());
}

TEST_F(BindingTest, MoveThatCannotSaveThePendingEditIsReported)
{
    auto categories = archive.Open(QStringLiteral("Categorie"), {}, QStringLiteral("Descrizione"));
    categories->AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Dolci")});
    categories->AddRecord({QStringLiteral("Descrizione"), QStringLiteral("Primi")});
    GridBinding binding(&view);
    QSignalSpy errors(&binding, &GridBinding::ErrorOccurred);
    binding.SetDataObject(categories);
    view.show();
    ASSERT_EQ(view.currentIndex().row(), 1); // the record added last

    // A new record that the unique index refuses is saved when the record moves.
    categories->AddNew();
    categories->SetValue(QStringLiteral("Descrizione"), QStringLiteral("Primi"));
    EXPECT_NO_THROW(view.setCurrentIndex(binding.Model().index(0, 0)));
    EXPECT_EQ(errors.count(), 0);
    QApplication::processEvents();
    ASSERT_EQ(errors.count(), 1);
    EXPECT_EQ(errors.first().at(0).toInt(), ComponentError::Duplicate);
    EXPECT_TRUE(categories->IsEditing()); // the typed values are not lost
    EXPECT_EQ(view.currentIndex().row(), 1); // the grid stays with the record
    categories->CancelUpdate();
}

TEST_F(BindingTest, ColumnWidthsInTwips)
{
    EXPECT_EQ(GridBinding::PixelsToTwips(96, 96), 1440);
    EXPECT_EQ(GridBinding::TwipsToPixels(1440, 120), 120);
    EXPECT_EQ(GridBinding::TwipsToPixels(1000, 96), 67); // 66,67 pixels
    EXPECT_EQ(GridBinding::TwipsToPixels(1440, 0), 96);  // no screen: 96 per inch

    GridBinding binding(&view);
    binding.SetDataObject(archive.Open(QStringLiteral("Piatti")));
    QSignalSpy resized(&binding, &GridBinding::ColumnResized);
    const qreal dpi = view.logicalDpiX();

    binding.SetColumnWidthTwips(QStringLiteral("nome"), 2880);
    const int nome = binding.Model().ColumnOfField(QStringLiteral("Nome"));
    EXPECT_EQ(view.columnWidth(nome), GridBinding::TwipsToPixels(2880, dpi));
    EXPECT_EQ(binding.ColumnWidthTwips(QStringLiteral("Nome")),
              GridBinding::PixelsToTwips(GridBinding::TwipsToPixels(2880, dpi), dpi));
    EXPECT_EQ(resized.count(), 0); // applying a layout is no user resize

    // A user resize is told in twips; hiding a column is not a resize.
    view.horizontalHeader()->resizeSection(nome, 150);
    ASSERT_EQ(resized.count(), 1);
    EXPECT_EQ(resized.first().at(0).toInt(), nome);
    EXPECT_EQ(resized.first().at(1).toInt(), GridBinding::PixelsToTwips(150, dpi));
    view.setColumnHidden(nome, true);
    EXPECT_EQ(resized.count(), 1);

    binding.SetColumnWidthTwips(QStringLiteral("Sparito"), 2000); // unknown field: nothing
    EXPECT_EQ(binding.ColumnWidthTwips(QStringLiteral("Sparito")), 0);
}

TEST_F(BindingTest, ColumnsKeepTheirWidthsWhileTheTableIsShown)
{
    auto dishes = archive.Open(QStringLiteral("Piatti"));
    GridBinding binding(&view);
    binding.SetDataObject(dishes);
    DataObjectModel& model = binding.Model();
    auto width = [&](const QString& field) { return view.columnWidth(model.ColumnOfField(field)); };
    // A column starts as wide as its caption, within one and two usual widths.
    const int usual = view.horizontalHeader()->defaultSectionSize();
    auto defaultWidth = [&](const QString& field) {
        return std::clamp(view.horizontalHeader()->sectionSizeHint(model.ColumnOfField(field)), usual, 2 * usual);
    };
    view.setColumnWidth(model.ColumnOfField(QStringLiteral("Nome")), 173);
    view.setColumnWidth(model.ColumnOfField(QStringLiteral("Categoria")), 91);

    dishes->SetFilter(QStringLiteral("Porzioni > 10"));
    EXPECT_EQ(width(QStringLiteral("Nome")), 173);
    // Columns move when others are hidden; each keeps its own width.
    model.SetHiddenColumns({QStringLiteral("Nome")});
    EXPECT_EQ(width(QStringLiteral("Categoria")), 91);
    EXPECT_EQ(width(QStringLiteral("Prezzo")), defaultWidth(QStringLiteral("Prezzo")));
    model.SetHiddenColumns({});
    EXPECT_EQ(width(QStringLiteral("Nome")), 173);

    // The view opened again on the same table keeps them; another table starts afresh.
    binding.SetDataObject(archive.Open(QStringLiteral("Piatti"), QStringLiteral("Porzioni > 100")));
    EXPECT_EQ(width(QStringLiteral("Categoria")), 91);
    view.setColumnWidth(0, 250);
    binding.SetDataObject(archive.Open(QStringLiteral("Categorie")));
    EXPECT_EQ(width(QStringLiteral("Descrizione")), defaultWidth(QStringLiteral("Descrizione")));
}

TEST_F(BindingTest, HundredThousandRowsReadOnlyWhatIsShown)
{
    archive.InsertDishes(99800, 201); // with the 200 of SetUp: 100,000 records
    auto dishes = archive.Open(QStringLiteral("Piatti"), {}, QStringLiteral("Nome"));
    GridBinding binding(&view);
    {
        SqlReadCounter counter(archive.engine->Db().Handle());
        binding.SetDataObject(dishes);
        view.show();
        Paint(view);
        EXPECT_EQ(binding.Model().rowCount(), 100000);
        // One count, the current record, the first page.
        EXPECT_LE(counter.statements, 4);
        EXPECT_LE(counter.rows, 2 * 64);
    }

    SqlReadCounter counter(archive.engine->Db().Handle());
    view.scrollToBottom();
    Paint(view);
    view.verticalScrollBar()->setValue(view.verticalScrollBar()->maximum() / 2);
    Paint(view);
    view.setCurrentIndex(binding.Model().index(99999, 0));
    Paint(view);
    EXPECT_EQ(dishes->GetValue(QStringLiteral("Porzioni")).toInt(), 100000);
    EXPECT_EQ(view.model()->index(99999, 0).data().toString(), QStringLiteral("Piatto 100000"));
    // The end, the middle and the current record: a few pages, no walk of the set.
    EXPECT_LE(counter.statements, 6);
    EXPECT_LE(counter.rows, 4 * 64);
}

} // namespace
