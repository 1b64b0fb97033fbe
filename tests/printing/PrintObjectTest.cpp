// The print object's moves across columns, lines of tickets, pages and row
// slots, and what it draws where.

#include "printing/EscPosTarget.h"
#include "printing/RecordingTarget.h"
#include "printing/clsScriptPrinter.h"

#include <gtest/gtest.h>

namespace {

TicketGeometry Geometry(float height, float width, qint16 columns = 1)
{
    TicketGeometry g;
    g.height = height;
    g.width = width;
    g.columns = columns;
    g.rowsTop = 30.0f;
    g.rowsDim = 5.0f;
    g.rowsBottom = 50.0f;
    return g;
}

struct Recorded
{
    std::shared_ptr<TicketRecord> record = std::make_shared<TicketRecord>();
    clsScriptPrinter printer;

    explicit Recorded(const TicketGeometry& geometry) { printer.SetPrinter(std::make_unique<RecordingTarget>(record), geometry); }
};

} // namespace

TEST(PrintObject, TicketsFillTheColumnsThenTheNextLineThenTheNextPage)
{
    Recorded r(Geometry(100.0f, 70.0f, 2));
    EXPECT_EQ(r.printer.ColumnOffset(), 0.0f);
    r.printer.NextTicket();
    EXPECT_EQ(r.printer.ColumnOffset(), 70.0f);
    EXPECT_EQ(r.printer.TicketOffset(), 0.0f);
    r.printer.NextTicket();
    EXPECT_EQ(r.printer.ColumnOffset(), 0.0f);
    EXPECT_EQ(r.printer.TicketOffset(), 100.0f);
    r.printer.NextTicket();
    EXPECT_EQ(r.printer.ColumnOffset(), 70.0f);
    EXPECT_EQ(r.printer.ColumnIndex(), 1);

    // A4 is 297 mm: a third line at 200 would end at 300, so a new page.
    EXPECT_EQ(r.record->pages, 1);
    r.printer.NextTicket();
    EXPECT_EQ(r.printer.TicketOffset(), 0.0f);
    EXPECT_EQ(r.record->pages, 2);
    EXPECT_EQ(r.record->lines.count(QStringLiteral("NewPage")), 1);
}

TEST(PrintObject, ThePageBreakCountsTheTopMargin)
{
    // Two lines of 140 mm fit 297 mm, but not below a top margin of 20 mm.
    TicketGeometry g = Geometry(140.0f, 100.0f);
    Recorded plain(g);
    plain.printer.NextTicket();
    EXPECT_EQ(plain.printer.TicketOffset(), 140.0f);
    g.top = 20.0f;
    Recorded margin(g);
    margin.printer.NextTicket();
    EXPECT_EQ(margin.printer.TicketOffset(), 0.0f);
    EXPECT_EQ(margin.record->pages, 2);
}

TEST(PrintObject, ColumnsOfZeroCountAsOneAndZeroSizesMeanThePrintableArea)
{
    Recorded r(Geometry(0.0f, 0.0f, 0));
    EXPECT_EQ(r.printer.Geometry().columns, 1);
    EXPECT_EQ(r.printer.Geometry().height, 297.0f);
    EXPECT_EQ(r.printer.Geometry().width, 210.0f);
    r.printer.NextTicket();
    EXPECT_EQ(r.printer.ColumnOffset(), 0.0f);
    EXPECT_EQ(r.record->pages, 2) << "a whole-page ticket takes a page each";
}

TEST(PrintObject, LastRowTellsWhenTheNextRowNoLongerFits)
{
    Recorded r(Geometry(100.0f, 70.0f));
    r.printer.SetRowPrinting(true);
    EXPECT_FALSE(r.printer.LastRow()) << "a ticket just started";
    r.printer.NextTicketRow();
    EXPECT_EQ(r.printer.RowOffset(), 5.0f);
    EXPECT_FALSE(r.printer.LastRow());
    r.printer.NextTicketRow();
    EXPECT_EQ(r.printer.RowOffset(), 10.0f);
    EXPECT_TRUE(r.printer.LastRow()) << "30 + 10 + 2 x 5 = 50 reaches the bottom";
    r.printer.NextTicketRow();
    EXPECT_EQ(r.printer.ColumnIndex(), 0);
    EXPECT_EQ(r.printer.TicketOffset(), 100.0f) << "the fourth row goes to a new ticket";

    // Switching between mask and rows puts the slot back to the first.
    r.printer.SetRowPrinting(true);
    EXPECT_EQ(r.printer.RowOffset(), 10.0f) << "the same value changes nothing";
    r.printer.SetRowPrinting(false);
    EXPECT_EQ(r.printer.RowOffset(), 0.0f);
}

TEST(PrintObject, PositionsAreRelativeToTheTicketOrToTheRowSlot)
{
    TicketGeometry g = Geometry(100.0f, 70.0f, 2);
    g.top = 3.0f;
    g.left = 7.0f;
    Recorded r(g);
    r.printer.TxtOut(2.0f, 5.0f, QStringLiteral("Da Mario"));
    r.printer.NextTicket();
    r.printer.SetRowPrinting(true);
    r.printer.NextTicketRow();
    r.printer.TxtOut(0.0f, 1.0f, QStringLiteral("riga"));
    r.printer.BoxOut(1.0f, 2.0f, 4.0f, 60.0f);
    EXPECT_FLOAT_EQ(r.printer.CurX(), 77.0f);
    EXPECT_FLOAT_EQ(r.printer.CurY(), 3.0f + 30.0f + 5.0f);
    r.printer.SetFont(12, true, false, QStringLiteral("Courier New"));
    r.printer.SetFont(9, false, true, QString());
    EXPECT_EQ(r.printer.Font().name, QStringLiteral("Courier New")) << "an empty name keeps the font";
    EXPECT_TRUE(r.printer.EndTickets());
    const QStringList expected = {
        QStringLiteral("TxtOut 5.00 12.00 Da Mario"),
        QStringLiteral("NextTicket"),
        QStringLiteral("TxtOut 38.00 78.00 riga"),
        QStringLiteral("BoxOut 39.00 79.00 4.00 60.00"),
        QStringLiteral("SetFont 12 True False Courier New"),
        QStringLiteral("SetFont 9 False True Courier New"),
        QStringLiteral("EndTickets"),
    };
    EXPECT_EQ(r.record->lines, expected);
    EXPECT_EQ(r.printer.ColumnOffset(), 0.0f) << "the end of the job puts the position back";
}

TEST(PrintObject, TextAtTheTicketsTopCornerLiesInsideTheTicket)
{
    // The text's top, not its baseline, sits at the position: drawn at
    // (0, 0) of a ticket 10 mm down the page, nothing of it lies above.
    std::vector<TicketOp> ops(2);
    ops[0].kind = TicketOp::Kind::Font;
    ops[0].font.size = 10;
    ops[1].kind = TicketOp::Kind::Text;
    ops[1].rect = QRectF(0.0, 10.0, 0.0, 0.0);
    ops[1].text = QStringLiteral("ÈÀ Tagliatelle");
    const QImage image = EscPosTarget::Render(ops, QPointF(0.0, 0.0), 30.0, 576);
    int top = -1, bottom = -1;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelIndex(x, y) == 1) {
                if (top < 0)
                    top = y;
                bottom = y;
            }
    ASSERT_GE(top, 0);
    EXPECT_GE(top, int(10.0 * EscPosTarget::DotsPerMm) - 1);
    // A 10 pt line is about 4 mm from ascent to descent.
    EXPECT_LT(bottom, int((10.0 + 5.0) * EscPosTarget::DotsPerMm));
}
