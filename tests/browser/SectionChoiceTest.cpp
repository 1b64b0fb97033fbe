// Choosing a section as a user does: a click on a tree item, the arrow keys
// in the tree, a button of a group's page, and a rebuild of the tree. Each
// must show the section chosen, never the one chosen before.

#include "MainWindowFixture.h"

#include "browser/SectionItemPage.h"
#include "browser/SectionTree.h"
#include "component/DataObject.h"
#include "support/QtPrinting.h"
#include "support/UserInput.h"

#include <QPushButton>

namespace {

// What the right side shows: the table of the grid, or the page's header.
QString Shown(const frmMain& main)
{
    if (!main.GridView()->isHidden() && main.CurrentDataObject())
        return main.CurrentDataObject()->TableName();
    if (main.SectionItems().Count() > 0)
        return main.SectionItems().Item(1)->text();
    return QString();
}

QString Chosen(const frmMain& main)
{
    const QTreeWidgetItem* node = SelectedNode(*main.TreeView());
    return node ? node->text(0) : QString();
}

QPushButton* PageButton(const frmMain& main, const QString& caption)
{
    for (int i = 2; i <= main.SectionItems().Count(); ++i)
        if (main.SectionItems().Item(i)->text() == caption)
            return main.SectionItems().Item(i);
    return nullptr;
}

TEST_F(MainWindowTest, EveryWayOfChoosingASectionShowsTheOneChosen)
{
    frmMain& main = OpenWindow();
    ASSERT_TRUE(UserInput::BringToFront(main));
    QTreeWidget& tree = *main.TreeView();
    const QString archivePage = QStringLiteral("VOCI PRINCIPALI PER LA SEZIONE ARCHIVIO :");
    ASSERT_EQ(Shown(main), archivePage);

    // Mouse clicks: the click changes the current item before the selection.
    UserInput::ClickTreeItem(tree, "Menù");
    EXPECT_EQ(Shown(main), QStringLiteral("Menu"));
    UserInput::ClickTreeItem(tree, "Clienti");
    EXPECT_EQ(Shown(main), QStringLiteral("Clienti"));
    UserInput::ClickTreeItem(tree, "Ricevute");
    EXPECT_EQ(Shown(main), QStringLiteral("Ricevute"));
    UserInput::ClickTreeItem(tree, "Archivio");
    EXPECT_EQ(Shown(main), archivePage);
    EXPECT_EQ(main.StatusMsg(), QStringLiteral(" Sezione: <Archivio>"));

    // Arrow keys in the tree, which has the focus after the click.
    UserInput::Settle();
    ASSERT_EQ(QApplication::focusWidget(), &tree);
    UserInput::PressKey(Qt::Key_Down);
    EXPECT_EQ(Chosen(main), QStringLiteral("Menù"));
    EXPECT_EQ(Shown(main), QStringLiteral("Menu"));
    UserInput::PressKey(Qt::Key_Down);
    EXPECT_EQ(Shown(main), QStringLiteral("Clienti"));
    UserInput::PressKey(Qt::Key_Up);
    EXPECT_EQ(Shown(main), QStringLiteral("Menu"));
    UserInput::PressKey(Qt::Key_Up);
    EXPECT_EQ(Shown(main), archivePage);

    // The page's buttons select their node and show its section.
    QPushButton* customers = PageButton(main, QStringLiteral("Clienti"));
    ASSERT_NE(customers, nullptr);
    UserInput::Click(*customers);
    EXPECT_EQ(Chosen(main), QStringLiteral("Clienti"));
    EXPECT_EQ(Shown(main), QStringLiteral("Clienti"));
    UserInput::ClickTreeItem(tree, "Codifiche");
    EXPECT_EQ(Shown(main), QStringLiteral("VOCI PRINCIPALI PER LA SEZIONE CODIFICHE :"));
    QPushButton* courses = PageButton(main, QStringLiteral("Tipi Portate"));
    ASSERT_NE(courses, nullptr);
    UserInput::Click(*courses);
    EXPECT_EQ(Chosen(main), QStringLiteral("Tipi Portate"));
    EXPECT_EQ(Shown(main), QStringLiteral("Portate"));
    // A click in the tree right after a page button still shows what is clicked.
    UserInput::ClickTreeItem(tree, "Tipi Documento");
    EXPECT_EQ(Shown(main), QStringLiteral("TipiDocumento"));

    // A rebuild of the tree (the archive opened again) keeps the section
    // last clicked and shows it.
    UserInput::ClickTreeItem(tree, "Pagamenti del Cliente");
    EXPECT_EQ(Shown(main), QStringLiteral("PagamentiCliente"));
    main.ReleaseDatabase();
    main.Activate();
    EXPECT_EQ(Chosen(main), QStringLiteral("Pagamenti del Cliente"));
    EXPECT_EQ(Shown(main), QStringLiteral("PagamentiCliente"));
    UserInput::ClickTreeItem(tree, "Menù");
    EXPECT_EQ(Shown(main), QStringLiteral("Menu"));
}

} // namespace
