// Captions at the first-run geometry and at the default column widths: a
// caption that does not fit wraps, grows its control or is elided at its
// end, but is never cut on both sides.

#include "MainWindowFixture.h"

#include "browser/DateSelection.h"
#include "browser/SectionItemPage.h"
#include "support/QtPrinting.h"
#include "support/UserInput.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QPushButton>
#include <QRegularExpression>

namespace {

// A main window as a first run opens it: no stored geometry.
frmMain& FirstRun(std::unique_ptr<frmMain>& window)
{
    window = std::make_unique<frmMain>();
    window->show();
    window->Activate();
    return *window;
}

TEST_F(MainWindowTest, TheSectionPageHeaderWrapsWithinAFirstRunWindow)
{
    CreateArchiveFile();
    frmMain& main = FirstRun(window);
    ASSERT_EQ(main.width(), qRound(6500 * main.logicalDpiX() / 1440.0)) << "the first-run width";
    QPushButton* header = main.SectionItems().Item(1);
    ASSERT_NE(header, nullptr);
    EXPECT_LE(header->geometry().right(), main.centralWidget()->width()) << "the header ends within the window";
    // Every word fits its width, and the lines they wrap into its height.
    const QFontMetrics metrics(header->font());
    for (const QString& word : header->text().split(u' ', Qt::SkipEmptyParts))
        EXPECT_LE(metrics.horizontalAdvance(word), header->width()) << word.toStdString();
    const QRect lines = metrics.boundingRect(QRect(0, 0, header->width() - 8, 10000), Qt::AlignCenter | Qt::TextWordWrap,
                                             header->text());
    EXPECT_LE(lines.height(), header->height());
    // The buttons start below it.
    EXPECT_GT(main.SectionItems().Item(2)->y(), header->geometry().bottom());
}

TEST_F(MainWindowTest, GridCaptionsFitOrGrowTheirControl)
{
    frmMain& main = OpenWindow();
    CurrentDateSelection().SelectMonth(QDateTime(QDate(2026, 11, 10), QTime(12, 0)));
    ASSERT_TRUE(UserInput::BringToFront(main));
    UserInput::ClickTreeItem(*main.TreeView(), "Ricevute");

    // The date button is as wide as its caption where the strip has room.
    QToolButton* date = main.DateButton();
    EXPECT_EQ(date->text(), QStringLiteral("Ricevuta  < novembre 2026 >"));
    EXPECT_GE(date->width(), date->sizeHint().width());

    // At the default widths a column is as wide as its caption, up to twice
    // the usual width (beyond, the caption is elided at its end).
    QHeaderView& header = *main.GridView()->horizontalHeader();
    for (int column = 0; column < header.count(); ++column)
        EXPECT_GE(header.sectionSize(column), std::min(header.sectionSizeHint(column), 2 * header.defaultSectionSize()))
            << main.GridView()->model()->headerData(column, Qt::Horizontal).toString().toStdString();

    // In a window too narrow for it, the date button keeps within the strip.
    main.resize(430, main.height());
    QCoreApplication::processEvents();
    EXPECT_GE(date->x(), main.HideTreeButton()->geometry().right()) << "it never covers the hide button";
    EXPECT_LE(date->geometry().right(), main.centralWidget()->width());
}

} // namespace
