// The real-input helper must reach widgets the way a user does; if it did
// not (a menu entry triggered while disabled, a click that misses its item),
// every window test built on it would pass for the wrong reason.

#include "support/UserInput.h"

#include <QLineEdit>
#include <QMainWindow>
#include <QToolBar>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <gtest/gtest.h>

namespace
{

struct Window
{
    Window()
    {
        QMenu* file = main.menuBar()->addMenu(QStringLiteral("&File"));
        open = file->addAction(QStringLiteral("&Apri"));
        locked = file->addAction(QStringLiteral("&Bloccato"));
        locked->setEnabled(false);
        QMenu* more = file->addMenu(QStringLiteral("Altr&o"));
        nested = more->addAction(QStringLiteral("&Dentro"));
        QToolBar* bar = main.addToolBar(QStringLiteral("bar"));
        tool = bar->addAction(QStringLiteral("Strumento"));
        toolBar = bar;
        auto* area = new QWidget;
        auto* layout = new QVBoxLayout(area);
        tree = new QTreeWidget;
        auto* root = new QTreeWidgetItem(tree, {QStringLiteral("Archivio")});
        new QTreeWidgetItem(root, {QStringLiteral("Menù")});
        new QTreeWidgetItem(root, {QStringLiteral("Clienti")});
        edit = new QLineEdit;
        layout->addWidget(tree);
        layout->addWidget(edit);
        main.setCentralWidget(area);
        for (QAction* a : {open, locked, nested, tool})
            QObject::connect(a, &QAction::triggered, [this, a] { triggered << a->text(); });
        main.resize(500, 400);
    }
    QMainWindow main;
    QAction* open;
    QAction* locked;
    QAction* nested;
    QAction* tool;
    QToolBar* toolBar;
    QTreeWidget* tree;
    QLineEdit* edit;
    QStringList triggered;
};

} // namespace

TEST(UserInputTest, MenusToolbarTreeAndKeysReachTheWidgets)
{
    Window w;
    ASSERT_TRUE(UserInput::BringToFront(w.main));

    UserInput::ChooseMenu(w.main, {"&File", "&Apri"});
    UserInput::ChooseMenu(w.main, {"File", "Bloccato"});
    UserInput::ChooseMenu(w.main, {"File", "Altro", "Dentro"});
    UserInput::ClickToolButton(*w.toolBar, w.tool);
    EXPECT_EQ(w.triggered, (QStringList{"&Apri", "&Dentro", "Strumento"}));
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);

    w.triggered.clear();
    UserInput::ChooseMenuByKeys(w.main, 'F', 'A');
    EXPECT_EQ(w.triggered, QStringList{"&Apri"});

    // A click makes the clicked item current and selected, in that order.
    QStringList seen;
    QObject::connect(w.tree, &QTreeWidget::itemSelectionChanged, [&] {
        const auto items = w.tree->selectedItems();
        seen << (items.isEmpty() ? QString() : items.first()->text(0));
    });
    UserInput::ClickTreeItem(*w.tree, "Clienti");
    UserInput::ClickTreeItem(*w.tree, "Menù");
    EXPECT_EQ(seen, (QStringList{"Clienti", "Menù"}));
    EXPECT_EQ(w.tree->currentItem()->text(0), "Menù");

    UserInput::Click(*w.edit);
    EXPECT_TRUE(w.edit->hasFocus());
    UserInput::TypeText(QStringLiteral("D'Angelo è 1,5"));
    UserInput::PressKey(Qt::Key_Backspace);
    EXPECT_EQ(w.edit->text(), "D'Angelo è 1,");
}
