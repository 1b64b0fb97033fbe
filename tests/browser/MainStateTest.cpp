// What the main window keeps from run to run, the close sequence, the close
// box, the section tree's content, and the window state of other windows.

#include "MainWindowFixture.h"

#include "app/FormState.h"
#include "browser/MainGeometry.h"
#include "browser/SectionTree.h"
#include "component/DatabaseObject.h"
#include "support/UserInput.h"

#include <QCloseEvent>
#include <QDialog>
#include <QMenu>
#include <QScreen>
#include <QTest>
#include <QSignalSpy>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace {

int Stored(const QString& key)
{
    auto store = OpenSettingsStore();
    return store->value(key, -99).toString().toInt();
}

TEST(MainGeometry, FirstRunDefaultsAndRoundTrip)
{
    QTemporaryDir dir;
    QSettings store(dir.filePath(QStringLiteral("s.ini")), QSettings::IniFormat);
    const MainGeometry first = ReadMainGeometry(store);
    EXPECT_EQ(first.left, 1000);
    EXPECT_EQ(first.top, 1000);
    EXPECT_EQ(first.width, 6500);
    EXPECT_EQ(first.height, 6500);
    EXPECT_EQ(first.state, 0);
    EXPECT_EQ(first.split, 3500);

    WriteMainGeometry(store, {120, 240, 9000, 7000, 2, 2800});
    const MainGeometry back = ReadMainGeometry(store);
    EXPECT_EQ(back.left, 120);
    EXPECT_EQ(back.height, 7000);
    EXPECT_EQ(back.state, 2);
    EXPECT_EQ(back.split, 2800);
    EXPECT_EQ(store.value(QStringLiteral("Settings/MainWidth")).toString(), QStringLiteral("9000"));

    // A collapsed tree keeps the stored width; unreadable text reads as the default.
    WriteMainGeometry(store, {120, 240, 9000, 7000, 0, 0});
    EXPECT_EQ(ReadMainGeometry(store).split, 2800);
    store.setValue(QStringLiteral("Settings/MainTop"), QStringLiteral("alto"));
    EXPECT_EQ(ReadMainGeometry(store).top, 1000);
}

TEST_F(MainWindowTest, AFirstRunWindowHasTheDefaultGeometry)
{
    frmMain main;
    const int dpiX = main.logicalDpiX();
    EXPECT_EQ(main.geometry().x(), qRound(1000 * dpiX / 1440.0));
    EXPECT_EQ(main.geometry().width(), qRound(6500 * dpiX / 1440.0));
    EXPECT_EQ(main.geometry().height(), qRound(6500 * main.logicalDpiY() / 1440.0));
    EXPECT_EQ(main.SplitterLeft(), 3500);
    EXPECT_FALSE(main.isMaximized());
}

TEST_F(MainWindowTest, UnloadingSavesGeometryReleasesTheArchiveAndEnds)
{
    frmMain& main = OpenWindow();
    main.setGeometry(150, 120, 960, 640);
    QSignalSpy unloaded(&main, &frmMain::Unloaded);
    QDialog other(&main);
    other.setWindowTitle(QStringLiteral("altra"));
    other.show();

    ASSERT_TRUE(UserInput::BringToFront(main));
    UserInput::ChooseMenu(main, {QStringLiteral("&Dati"), QStringLiteral("Chiudi")});

    EXPECT_EQ(unloaded.count(), 1);
    EXPECT_TRUE(main.IsUnloaded());
    EXPECT_FALSE(main.isVisible());
    EXPECT_FALSE(other.isVisible()) << "the other windows are closed";
    EXPECT_FALSE(ArchiveSession::Instance().HasReferences());
    EXPECT_FALSE(MessageWindow().isVisible());
    const double twipsX = 1440.0 / main.logicalDpiX();
    EXPECT_EQ(Stored(QStringLiteral("Settings/MainState")), 0);
    EXPECT_EQ(Stored(QStringLiteral("Settings/MainLeft")), qRound(150 * twipsX));
    EXPECT_EQ(Stored(QStringLiteral("Settings/MainWidth")), qRound(960 * twipsX));
    EXPECT_EQ(Stored(QStringLiteral("Settings/MainSplit")), main.SplitterLeft());

    // The next run opens where this one closed.
    frmMain next;
    EXPECT_EQ(next.geometry(), QRect(150, 120, 960, 640));
    EXPECT_EQ(next.SplitterLeft(), main.SplitterLeft());
}

TEST_F(MainWindowTest, ClosingMaximizedStoresStateTwoAndTheNormalRectangle)
{
    frmMain& main = OpenWindow();
    main.setGeometry(140, 110, 800, 560);
    main.showMaximized();
    QCoreApplication::processEvents();
    ASSERT_TRUE(main.isMaximized());
    UserInput::ChooseMenu(main, {QStringLiteral("&Dati"), QStringLiteral("Chiudi")});
    ASSERT_TRUE(main.IsUnloaded());
    const double twips = 1440.0 / main.logicalDpiX();
    EXPECT_EQ(Stored(QStringLiteral("Settings/MainState")), 2);
    EXPECT_EQ(Stored(QStringLiteral("Settings/MainLeft")), qRound(140 * twips));
    EXPECT_EQ(Stored(QStringLiteral("Settings/MainWidth")), qRound(800 * twips));

    frmMain next;
    EXPECT_TRUE(next.windowState().testFlag(Qt::WindowMaximized));
    EXPECT_EQ(next.normalGeometry().size(), QSize(800, 560));
}

TEST_F(MainWindowTest, ACollapsedTreeKeepsTheStoredSplitter)
{
    {
        auto store = OpenSettingsStore();
        store->setValue(QStringLiteral("Settings/MainSplit"), QStringLiteral("4100"));
    }
    frmMain& main = OpenWindow();
    EXPECT_EQ(main.SplitterLeft(), 4100);
    ASSERT_TRUE(UserInput::BringToFront(main));
    UserInput::ClickTreeItem(*main.TreeView(), "Menù"); // a section: the tree may collapse
    UserInput::Click(*main.HideTreeButton());
    EXPECT_EQ(main.SplitterLeft(), 0);
    EXPECT_EQ(main.HideTreeButton()->text(), QStringLiteral("4"));
    EXPECT_FALSE(main.Action(QStringLiteral("mnuHideSection"))->isChecked());
    EXPECT_EQ(main.TreeView()->width(), 0);
    UserInput::ChooseMenu(main, {QStringLiteral("&Dati"), QStringLiteral("Chiudi")});
    ASSERT_TRUE(main.IsUnloaded());
    EXPECT_EQ(Stored(QStringLiteral("Settings/MainSplit")), 4100);
}

TEST_F(MainWindowTest, HideSectionCollapsesAndRestoresTheTree)
{
    frmMain& main = OpenWindow();
    ASSERT_TRUE(UserInput::BringToFront(main));
    UserInput::ClickTreeItem(*main.TreeView(), "Clienti");
    const int width = main.TreeView()->width();
    QAction* entry = main.Action(QStringLiteral("mnuHideSection"));
    UserInput::ChooseMenu(main, {QStringLiteral("&Visualizza"), QStringLiteral("&Sezione")});
    EXPECT_FALSE(entry->isChecked());
    EXPECT_FALSE(main.LayoutState().treeShown);
    EXPECT_EQ(main.HideTreeButton()->palette().color(QPalette::Button), QColor(0xFF, 0xFF, 0xC0));
    UserInput::PressShortcut(QKeySequence(Qt::CTRL | Qt::Key_S)); // its key
    EXPECT_TRUE(entry->isChecked());
    EXPECT_EQ(main.HideTreeButton()->text(), QStringLiteral("3"));
    EXPECT_EQ(main.TreeView()->width(), width);
    EXPECT_EQ(main.SplitterLeft(), 3500);
}

TEST_F(MainWindowTest, DraggingTheSplitterMovesTheTreeEdge)
{
    frmMain& main = OpenWindow();
    QWidget* handle = main.Splitter();
    const QPoint start(handle->width() / 2, handle->height() / 2);
    QTest::mousePress(handle, Qt::LeftButton, {}, start);
    QWidget* bar = main.findChild<QWidget*>(QStringLiteral("picSplitter"));
    ASSERT_NE(bar, nullptr);
    EXPECT_TRUE(bar->isVisible());
    QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(60, 0)), handle->mapToGlobal(QPointF(start + QPoint(60, 0))),
                     Qt::NoButton, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(handle, &move);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, start + QPoint(60, 0));
    EXPECT_FALSE(bar->isVisible());
    const int expected = 3500 + qRound((start.x() + 60) * 1440.0 / main.logicalDpiX());
    EXPECT_NEAR(main.SplitterLeft(), expected, 2);

    // Dropped at the left edge: the tree collapses.
    QTest::mousePress(handle, Qt::LeftButton, {}, start);
    QTest::mouseRelease(handle, Qt::LeftButton, {}, QPoint(-handle->x(), start.y()));
    EXPECT_EQ(main.SplitterLeft(), 0);
}

TEST_F(MainWindowTest, TheCloseBoxKeepsTheApplicationRunning)
{
    frmMain& main = OpenWindow();
    QSignalSpy unloaded(&main, &frmMain::Unloaded);
    main.close();
    EXPECT_EQ(unloaded.count(), 0);
    EXPECT_FALSE(main.IsUnloaded());
    EXPECT_TRUE(ArchiveSession::Instance().HasReferences());
    // Without a notification area the window is minimised, never lost.
    ASSERT_FALSE(main.HasTrayIcon());
    EXPECT_TRUE(main.isMinimized());
    // The notification area's menu: "Visualizza".
    QMenu* popUp = main.Menu(QStringLiteral("mnuPopUp"));
    popUp->popup(QPoint(50, 50));
    ASSERT_TRUE(QTest::qWaitFor([popUp] { return popUp->isVisible(); }, 2000));
    UserInput::ClickOpenMenuEntry(*popUp, QStringLiteral("&Visualizza"));
    EXPECT_FALSE(main.isMinimized());
}

TEST_F(MainWindowTest, AWindowThatRefusesToCloseCancelsTheUnload)
{
    class Stubborn : public QDialog
    {
    public:
        using QDialog::QDialog;
        void closeEvent(QCloseEvent* event) override { event->ignore(); }
    };
    frmMain& main = OpenWindow();
    Stubborn stubborn(&main);
    stubborn.setWindowTitle(QStringLiteral("Vendite"));
    stubborn.show();
    dialogs.AnswerMessage(MsgResult::Ok);
    ASSERT_TRUE(UserInput::BringToFront(main));
    UserInput::ChooseMenu(main, {QStringLiteral("&Dati"), QStringLiteral("Chiudi")});
    EXPECT_EQ(dialogs.LastCall().text,
              QStringLiteral("Impossibile chiudere l'applicazione...\r\rLa finestra \"Vendite\" non si puo' chiudere."));
    EXPECT_EQ(dialogs.LastCall().icon, MsgIcon::Exclamation);
    EXPECT_FALSE(main.IsUnloaded());
    EXPECT_TRUE(ArchiveSession::Instance().HasReferences());
    stubborn.hide();
}

TEST_F(MainWindowTest, TheTreeListsTheSixteenSectionsInOrder)
{
    frmMain& main = OpenWindow();
    struct Node { int parent; const char* key; const char* text; const char* image; };
    const Node nodes[] = {
        {0, "", "Archivio", "Article"},
        {1, "Menu", "Menù", "AnagraficElement"},
        {1, "Clienti", "Clienti", "AnagraficPerson"},
        {3, "PagamentiCliente", "Pagamenti del Cliente", "Payment"},
        {1, "Ricevute", "Ricevute", "Operation"},
        {5, "RigheRicevute", "Righe Ricevute", "Operation"},
        {0, "", "Stampe", "Report"},
        {7, "Lista Ricevute", "Lista Ricevute", "ReportElement"},
        {7, "Lista Venduto", "Lista Venduto", "ReportElement"},
        {7, "Lista Corrispettivi", "Lista Corrispettivi", "ReportElement"},
        {7, "Lista Clienti", "Lista Clienti", "ReportElement"},
        {7, "Lista Portate", "Lista Portate", "ReportElement"},
        {0, "", "Codifiche", "Archive"},
        {13, "TipiDocumento", "Tipi Documento", "Archive"},
        {13, "TipiPagamento", "Tipi Pagamento", "Archive"},
        {13, "Portate", "Tipi Portate", "Archive"},
    };
    const QTreeWidget& tree = *main.TreeView();
    for (int i = 0; i < int(std::size(nodes)); ++i) {
        const QTreeWidgetItem* node = NodeAt(tree, i + 1);
        ASSERT_NE(node, nullptr) << i + 1;
        EXPECT_EQ(NodeKey(*node), QString::fromUtf8(nodes[i].key));
        EXPECT_EQ(node->text(0), QString::fromUtf8(nodes[i].text)) << i + 1;
        EXPECT_EQ(NodeImage(*node), QString::fromLatin1(nodes[i].image));
        EXPECT_FALSE(node->icon(0).isNull());
        if (nodes[i].parent == 0)
            EXPECT_EQ(node->parent(), nullptr);
        else
            EXPECT_EQ(NodeIndex(*node->parent()), nodes[i].parent) << i + 1;
    }
    EXPECT_EQ(tree.topLevelItemCount(), 3);
    EXPECT_TRUE(NodeAt(tree, 1)->isExpanded());
    EXPECT_FALSE(NodeAt(tree, 7)->isExpanded());
    EXPECT_FALSE(NodeAt(tree, 13)->isExpanded());
    EXPECT_EQ(NodeWithKey(tree, QStringLiteral("Portate")), NodeAt(tree, 16));
}

TEST_F(MainWindowTest, ARebuildKeepsThePositionAndShowsNewCaptions)
{
    frmMain& main = OpenWindow();
    ASSERT_TRUE(UserInput::BringToFront(main));
    UserInput::ClickTreeItem(*main.TreeView(), "Tipi Pagamento");
    main.SetTreeViewNodes();
    const QTreeWidgetItem* node = SelectedNode(*main.TreeView());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(NodeIndex(*node), 15);

    // Captions come from the table definitions each time the tree is built.
    QTreeWidget tree;
    FillSectionTree(tree, [](const QString& table) { return QStringLiteral("Tabella ") + table; });
    EXPECT_EQ(NodeAt(tree, 2)->text(0), QStringLiteral("Tabella Menu"));
    EXPECT_EQ(NodeKey(*NodeAt(tree, 2)), QStringLiteral("Menu"));
    EXPECT_EQ(NodeAt(tree, 8)->text(0), QStringLiteral("Lista Ricevute"));
    EXPECT_EQ(SelectedNode(tree), nullptr);
}

TEST_F(MainWindowTest, OtherWindowsKeepTheirStateUnderTheirOwnSection)
{
    QWidget form;
    form.setObjectName(QStringLiteral("frmVendite"));
    form.setGeometry(200, 150, 500, 400);
    SaveFormState(form);
    auto store = OpenSettingsStore();
    const double twips = 1440.0 / form.logicalDpiX();
    EXPECT_EQ(store->value(QStringLiteral("frmVenditeSettings/State")).toString(), QStringLiteral("0"));
    EXPECT_EQ(store->value(QStringLiteral("frmVenditeSettings/Left")).toInt(), qRound(200 * twips));
    EXPECT_EQ(store->value(QStringLiteral("frmVenditeSettings/Width")).toInt(), qRound(500 * twips));

    QWidget again;
    again.setObjectName(QStringLiteral("frmVendite"));
    again.resize(300, 200);
    LoadFormState(again);
    EXPECT_EQ(again.geometry(), QRect(200, 150, 500, 400));

    QWidget fixed;
    fixed.setObjectName(QStringLiteral("frmVendite"));
    fixed.resize(300, 200);
    LoadFormState(fixed, std::nullopt, std::nullopt, true);
    EXPECT_EQ(fixed.size(), QSize(300, 200)) << "a fixed-size window keeps its size";
    EXPECT_EQ(fixed.pos(), QPoint(200, 150));

    // Maximised: only the state is written; the rectangle stays as it was.
    form.showMaximized();
    QCoreApplication::processEvents();
    SaveFormState(form);
    store->sync();
    EXPECT_EQ(store->value(QStringLiteral("frmVenditeSettings/State")).toString(), QStringLiteral("2"));
    EXPECT_EQ(store->value(QStringLiteral("frmVenditeSettings/Width")).toInt(), qRound(500 * twips));
    QWidget maximised;
    maximised.setObjectName(QStringLiteral("frmVendite"));
    LoadFormState(maximised);
    EXPECT_TRUE(maximised.windowState().testFlag(Qt::WindowMaximized));

    // Nothing stored: centred on the screen.
    QWidget fresh;
    fresh.setObjectName(QStringLiteral("frmNuova"));
    fresh.resize(300, 200);
    LoadFormState(fresh);
    const QRect screen = fresh.screen()->availableGeometry();
    EXPECT_EQ(fresh.geometry().center().x() / 4, screen.center().x() / 4);
}

} // namespace
