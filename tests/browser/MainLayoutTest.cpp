// The main window's layout over twips, the splitter bar, the section item
// page's columns, the previewed keys and the deferred commands.

#include "browser/DeferredCommand.h"
#include "browser/KeyPreview.h"
#include "browser/MainLayout.h"
#include "browser/SectionItemPage.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <gtest/gtest.h>

namespace {

MainLayoutInput Window(int width = 9000, int height = 6000)
{
    MainLayoutInput in;
    in.windowWidth = width;
    in.innerWidth = width;
    in.innerHeight = height;
    in.toolbarHeight = 600;
    in.statusHeight = 300;
    in.titleHeight = 360;
    in.splitterWidth = 60;
    in.treeLeft = 80;
    in.splitterLeft = 3500;
    in.hideButtonWidth = 330;
    in.buttonInset = 30;
    return in;
}

TEST(LayoutMainWindow, ShareTheWidthBetweenTreeAndGrid)
{
    MainLayoutState state;
    const MainLayoutResult r = LayoutMainWindow(3500, Window(), state);
    ASSERT_TRUE(r.applied);
    EXPECT_EQ(r.splitterLeft, 3500);
    EXPECT_EQ(r.tree, QRect(80, 600 + 360 + 60, 3420, 6000 - (600 + 360 + 300) - 60));
    EXPECT_EQ(r.splitter, QRect(3500, r.tree.y(), 60, r.tree.height()));
    EXPECT_EQ(r.grid, QRect(3560, r.tree.y(), 9000 - (3420 + 220), r.tree.height()));
    EXPECT_EQ(r.title0, QRect(80, 600, 3420, 360));
    EXPECT_EQ(r.hideButton, QRect(3580, 630, 330, 300));
    EXPECT_EQ(r.title1.left(), 3580 + 330 + 10);
    EXPECT_EQ(r.title1.right() + 1, r.grid.right() + 1) << "no date or grid button: the title takes the rest";
    EXPECT_EQ(r.hideCaption, QStringLiteral("3"));
    EXPECT_TRUE(r.sectionChecked);
    EXPECT_EQ(r.windowWidth, 9000);
}

TEST(LayoutMainWindow, BarsAndButtonsTakeTheirRoom)
{
    MainLayoutInput in = Window();
    in.toolbarHeight = 0;
    in.statusHeight = 0;
    in.dateSelWidth = 2700;
    in.gridSettingWidth = 330;
    MainLayoutState state;
    const MainLayoutResult r = LayoutMainWindow(3500, in, state);
    EXPECT_EQ(r.tree.y(), 360 + 60);
    EXPECT_EQ(r.tree.y() + r.tree.height(), 6000) << "the tree reaches the bottom without a status bar";
    EXPECT_EQ(r.gridSetting.right() + 1, r.grid.right() + 1);
    EXPECT_EQ(r.dateSel.right() + 1, r.gridSetting.left());
    EXPECT_EQ(r.title1.right() + 1, r.dateSel.left());
}

TEST(LayoutMainWindow, ANarrowWindowIsWidenedTo3000)
{
    MainLayoutState state;
    const MainLayoutResult r = LayoutMainWindow(2500, Window(2000), state);
    EXPECT_EQ(r.windowWidth, 3000);
    EXPECT_EQ(r.splitterLeft, 2000) << "the splitter keeps 1000 from the widened right edge";
    EXPECT_EQ(r.grid.width(), 3000 - (1920 + 220));
}

TEST(LayoutMainWindow, ATreeBetween500And1500IsWidenedTo1500AndTheRightEdgeIsKept)
{
    MainLayoutState state;
    EXPECT_EQ(LayoutMainWindow(501, Window(), state).splitterLeft, 1500);
    EXPECT_EQ(LayoutMainWindow(1499, Window(), state).splitterLeft, 1500);
    EXPECT_EQ(LayoutMainWindow(1501, Window(), state).splitterLeft, 1501);
    EXPECT_EQ(LayoutMainWindow(8500, Window(), state).splitterLeft, 8000);
    EXPECT_EQ(state.savedTreeWidth, 0);
    EXPECT_TRUE(state.treeShown);
}

TEST(LayoutMainWindow, DraggingToTheLeftEdgeCollapsesAndMinusOneRestores)
{
    MainLayoutState state;
    state.hideButtonColor = QColor(Qt::gray);
    MainLayoutInput in = Window();
    in.splitterLeft = 4200;

    const MainLayoutResult collapsed = LayoutMainWindow(300, in, state);
    EXPECT_EQ(collapsed.splitterLeft, 0);
    EXPECT_EQ(collapsed.tree.width(), 0);
    EXPECT_EQ(collapsed.grid.left(), 60);
    EXPECT_EQ(collapsed.grid.width(), 9000 - 220);
    EXPECT_EQ(collapsed.hideCaption, QStringLiteral("4"));
    EXPECT_FALSE(collapsed.sectionChecked);
    EXPECT_FALSE(state.treeShown);
    EXPECT_EQ(state.savedTreeWidth, 4200);
    EXPECT_EQ(state.hideButtonColor, QColor(0xFF, 0xFF, 0xC0));
    ASSERT_TRUE(state.savedHideButtonColor.has_value());
    EXPECT_EQ(*state.savedHideButtonColor, QColor(Qt::gray));

    // Laid out again while collapsed (a resize): the saved width stays.
    in.splitterLeft = 0;
    EXPECT_EQ(LayoutMainWindow(0, in, state).splitterLeft, 0);
    EXPECT_EQ(state.savedTreeWidth, 4200);

    const MainLayoutResult restored = LayoutMainWindow(-1, in, state);
    EXPECT_EQ(restored.splitterLeft, 4200);
    EXPECT_EQ(restored.hideCaption, QStringLiteral("3"));
    EXPECT_TRUE(restored.sectionChecked);
    EXPECT_EQ(state.savedTreeWidth, 0);
    EXPECT_EQ(state.hideButtonColor, QColor(Qt::gray));
}

TEST(LayoutMainWindow, ADropAtTheLeftEdgeOfACollapsedTreeRestoresIt)
{
    MainLayoutState state;
    MainLayoutInput in = Window();
    in.splitterLeft = 2500;
    LayoutMainWindow(0, in, state);
    in.splitterLeft = 0;
    const MainLayoutResult r = LayoutMainWindow(500, in, state);
    EXPECT_EQ(r.splitterLeft, 2500);
    EXPECT_TRUE(state.treeShown);
    EXPECT_EQ(state.savedTreeWidth, 0) << "a width restored once is not restored again later";
}

TEST(LayoutMainWindow, RestoringWithNoSavedWidthShowsTheFirstRunWidth)
{
    MainLayoutState state;
    state.treeShown = false;
    EXPECT_EQ(LayoutMainWindow(-1, Window(), state).splitterLeft, 3500);
}

TEST(LayoutMainWindow, NothingHappensWhileMinimizedOrHidden)
{
    MainLayoutState state;
    MainLayoutInput in = Window(1000);
    in.minimized = true;
    EXPECT_FALSE(LayoutMainWindow(0, in, state).applied);
    in.minimized = false;
    in.visible = false;
    EXPECT_FALSE(LayoutMainWindow(0, in, state).applied);
    EXPECT_TRUE(state.treeShown);
    EXPECT_EQ(state.savedTreeWidth, 0);
}

TEST(LayoutMainWindow, TheSplitterBarStaysAwayFromBothEdges)
{
    EXPECT_EQ(SplitterBarLeft(3500, 150, 9000), 3650);
    EXPECT_EQ(SplitterBarLeft(3500, -3400, 9000), 500);
    EXPECT_EQ(SplitterBarLeft(3500, 6000, 9000), 8500);
}

TEST(SectionItemPage, ButtonsRunDownAColumnAndWrapWhenTheWindowIsShort)
{
    const QSize button(3300, 690);
    const SectionItemGeometry tall = LayoutSectionItems(3500, 1020, 12000, 9000, button, 3);
    EXPECT_EQ(tall.header, QRect(3900, 1170, 12000 - 3900 - 800, 345));
    ASSERT_EQ(tall.items.size(), 3);
    EXPECT_EQ(tall.items[0], QRect(QPoint(3900, 1170 + 345 + 150), button));
    EXPECT_EQ(tall.items[1].top(), tall.items[0].top() + 690 + 150);
    EXPECT_EQ(tall.items[2].left(), 3900);

    // Room for two buttons a column: the third starts a column to the right,
    // level with the first.
    const int height = tall.items[1].bottom() + 1 + 150 + 1;
    const SectionItemGeometry shortPage = LayoutSectionItems(3500, 1020, 12000, height + 600, button, 5);
    ASSERT_EQ(shortPage.items.size(), 5);
    EXPECT_EQ(shortPage.items[2].left(), 3900 + 3300 + 400);
    EXPECT_EQ(shortPage.items[2].top(), shortPage.items[0].top());
    EXPECT_EQ(shortPage.items[4].left(), 3900 + 2 * (3300 + 400));

    // Too short for even one: one button a column, never an empty column.
    const SectionItemGeometry tiny = LayoutSectionItems(3500, 1020, 12000, 1500, button, 2);
    EXPECT_EQ(tiny.items[0].left(), 3900);
    EXPECT_EQ(tiny.items[1].left(), 3900 + 3700);

    EXPECT_TRUE(LayoutSectionItems(3500, 1020, 12000, 9000, button, 0).header.isNull());
    EXPECT_EQ(LayoutSectionItems(3500, 1020, 6500, 9000, button, 1).header.width(), 6500 - 3900 - 150)
        << "a narrow window: the header ends within it, never beyond its edge";
    EXPECT_EQ(LayoutSectionItems(3500, 1020, 20000, 9000, button, 1).header.width(), 20000 - 3900 - 800);

    // A header whose caption wraps into more lines pushes the buttons down.
    int askedWidth = 0;
    const SectionItemGeometry wrapped = LayoutSectionItems(3500, 1020, 6500, 9000, button, 1, [&askedWidth](int width) {
        askedWidth = width;
        return 900;
    });
    EXPECT_EQ(askedWidth, 6500 - 3900 - 150);
    EXPECT_EQ(wrapped.header.height(), 900);
    EXPECT_EQ(wrapped.items[0].top(), 1170 + 900 + 150);
}

TEST(KeyPreview, KeysAndTheirCommands)
{
    const auto none = Qt::NoModifier;
    const auto all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    EXPECT_EQ(PreviewKey(Qt::Key_R, all, false), PreviewCommand::EuroConversion);
    EXPECT_EQ(PreviewKey(Qt::Key_R, Qt::ShiftModifier | Qt::ControlModifier, false), PreviewCommand::None);
    EXPECT_EQ(PreviewKey(Qt::Key_Insert, none, false), PreviewCommand::NewRecord);
    EXPECT_EQ(PreviewKey(Qt::Key_Plus, Qt::KeypadModifier, false), PreviewCommand::NewRecord);
    EXPECT_EQ(PreviewKey(Qt::Key_Insert, Qt::ShiftModifier, false), PreviewCommand::None) << "Shift+Ins is the menu's";
    EXPECT_EQ(PreviewKey(Qt::Key_Delete, none, false), PreviewCommand::DeleteRecord);
    EXPECT_EQ(PreviewKey(Qt::Key_Return, none, false), PreviewCommand::EditRecord);
    EXPECT_EQ(PreviewKey(Qt::Key_Enter, Qt::KeypadModifier, false), PreviewCommand::EditRecord);
    for (int key : {int(Qt::Key_A), int(Qt::Key_7), int(Qt::Key_Space), int(Qt::Key_Period), int(Qt::Key_Comma),
                    int(Qt::Key_Minus), int(Qt::Key_Escape), int(Qt::Key_Backspace)}) {
        EXPECT_EQ(PreviewKey(key, none, true), PreviewCommand::TypeToSearch) << key;
        EXPECT_EQ(PreviewKey(key, none, false), PreviewCommand::None) << key;
    }
    EXPECT_EQ(PreviewKey(Qt::Key_Asterisk, Qt::KeypadModifier, true), PreviewCommand::TypeToSearch);
    EXPECT_EQ(PreviewKey(Qt::Key_A, Qt::ControlModifier, true), PreviewCommand::None);
    // Accented letters by what they type: "è" alone, "É" with Shift; never with Ctrl or Alt, never "€".
    EXPECT_EQ(PreviewKey(Qt::Key_Egrave, none, true, QString::fromUtf8("è")), PreviewCommand::TypeToSearch);
    EXPECT_EQ(PreviewKey(Qt::Key_Eacute, Qt::ShiftModifier, true, QString::fromUtf8("É")), PreviewCommand::TypeToSearch);
    EXPECT_EQ(PreviewKey(Qt::Key_Egrave, none, false, QString::fromUtf8("è")), PreviewCommand::None);
    EXPECT_EQ(PreviewKey(Qt::Key_Egrave, Qt::ControlModifier, true, QString::fromUtf8("è")), PreviewCommand::None);
    EXPECT_EQ(PreviewKey(Qt::Key_E, Qt::AltModifier, true, QString::fromUtf8("€")), PreviewCommand::None);
    EXPECT_EQ(PreviewKey(Qt::Key_F3, none, true), PreviewCommand::None);
}

TEST(DeferredCommand, OneCommandAtATimeFromTheTag)
{
    EXPECT_EQ(ParseDeferredName(QStringLiteral("mnuRefItem(3)")).name, QStringLiteral("mnuRefItem"));
    EXPECT_EQ(ParseDeferredName(QStringLiteral("mnuRefItem(3)")).index, 3);
    EXPECT_EQ(ParseDeferredName(QStringLiteral("mnuFilterComplex")).index, -1);

    DeferredCommand tmFunc;
    QStringList ran;
    bool busyInside = false;
    tmFunc.Register(QStringLiteral("mnuFilterComplex"), [&](int index) {
        busyInside = tmFunc.IsBusy();
        ran.append(QStringLiteral("filter %1").arg(index));
        // A tick while this command runs does nothing and leaves the tag.
        tmFunc.Post(QStringLiteral("mnuContItem(2)"));
        tmFunc.Tick();
        EXPECT_EQ(tmFunc.Tag(), QStringLiteral("mnuContItem(2)"));
    });
    tmFunc.Register(QStringLiteral("mnuContItem"), [&](int index) { ran.append(QStringLiteral("cont %1").arg(index)); });

    tmFunc.Post(QStringLiteral("mnuFilterComplex"));
    EXPECT_TRUE(tmFunc.IsPending());
    tmFunc.Tick();
    EXPECT_TRUE(busyInside);
    EXPECT_FALSE(tmFunc.IsBusy());
    EXPECT_EQ(ran, QStringList{QStringLiteral("filter -1")});
    EXPECT_TRUE(tmFunc.IsPending()) << "the command posted meanwhile waits for the next tick";
    // The timer runs it once control returns to the event loop.
    QElapsedTimer waited;
    waited.start();
    while (tmFunc.IsPending() && waited.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    EXPECT_EQ(ran.last(), QStringLiteral("cont 2"));
    EXPECT_TRUE(tmFunc.Tag().isEmpty());
    EXPECT_FALSE(tmFunc.IsPending());

    tmFunc.Post(QStringLiteral("mnuUnknown"));
    tmFunc.Tick();
    EXPECT_EQ(ran.size(), 2) << "a tag that names no command does nothing";
}

} // namespace
